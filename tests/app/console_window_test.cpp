#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>

#include "app/console_form.h"
#include "app/main_menus.h"
#include "app/progress_form.h"
#include "app/script_pump.h"
#include "tests/app/editor_windows_fixture.h"

namespace {

class ConsoleWindow : public EditorWindowsTest {
protected:
    ConsoleWindow() {
        form().ShowConsole();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form()));
        form().Edit->setFocus();
    }
    TConsoleForm& form() { return *windows.ConsoleForm; }
    // Types a statement and presses Enter, as the user does.
    void Enter(const QString& statement) {
        QTest::keyClicks(form().Edit, statement);
        QTest::keyClick(form().Edit, Qt::Key_Return);
    }
    QStringList MemoLines() { return form().Memo->toPlainText().split('\n'); }
    QString LastLine() { return MemoLines().last(); }
};

TEST_F(ConsoleWindow, RunsTypedStatementsAndShowsTheirOutputAndErrors) {
    EXPECT_EQ(form().windowTitle(), "Console");
    EXPECT_EQ(MemoLines().first(), "Welcome to Lua 5.1");
    EXPECT_TRUE(form().Memo->font().fixedPitch());
    Enter("print(1, 'a', nil)");
    EXPECT_EQ(MemoLines().mid(MemoLines().size() - 4),
              (QStringList{"print(1, 'a', nil)", "1", "a", "nil"}));
    EXPECT_TRUE(form().Edit->text().isEmpty());

    // A syntax error is echoed, reported, and the console comes forward.
    form().hide();
    Enter("x = = 1");
    EXPECT_TRUE(form().isVisible());
    EXPECT_TRUE(MemoLines().contains("x = = 1"));
    EXPECT_TRUE(LastLine().contains("unexpected symbol")) << LastLine().toStdString();
    Enter("error('broken')");
    EXPECT_TRUE(LastLine().contains("broken"));
    EXPECT_EQ(console.History().size(), 3u);

    // Both console menu items show the window's state.
    main.Menus().Refresh();
    for (const char* id : {"Scripts.Console", "Windows.ScriptConsole"}) {
        QAction* item = main.Menus().commands().Action(id);
        ASSERT_NE(item, nullptr) << id;
        EXPECT_TRUE(item->isChecked()) << id;
    }
    main.Menus().commands().Action("Scripts.Console")->trigger();
    EXPECT_FALSE(form().isVisible());
    main.Menus().Refresh();
    EXPECT_FALSE(main.Menus().commands().Action("Windows.ScriptConsole")->isChecked());
    SaveShot(form().grab().toImage(), "console");
}

TEST_F(ConsoleWindow, HistoryKeysWalkTheCommandsAndEscapeClears) {
    QTest::keyClick(form().Edit, Qt::Key_Up);  // empty history: nothing
    EXPECT_TRUE(form().Edit->text().isEmpty());
    for (const char* c : {"a = 1", "b = 2", "c = 3"}) Enter(c);
    QString ups;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(form().Edit, Qt::Key_Up);
        ups += form().Edit->text().left(1);
        EXPECT_EQ(form().Edit->selectedText(), form().Edit->text());
    }
    EXPECT_EQ(ups, "cbaa");
    QString downs;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(form().Edit, Qt::Key_Down);
        downs += form().Edit->text().left(1);
    }
    EXPECT_EQ(downs, "bcc");
    QTest::keyClick(form().Edit, Qt::Key_Escape);
    EXPECT_TRUE(form().Edit->text().isEmpty());
}

TEST_F(ConsoleWindow, KeepsTheLast450LinesAfterEnterAndLogsEverything) {
    Enter("for i = 1, 600 do print('line ' .. i) end");
    EXPECT_EQ(form().Memo->document()->blockCount(), 450);
    EXPECT_EQ(LastLine(), "line 600");
    Enter("print('a\\nb')");  // a line break inside is a line of its own
    EXPECT_EQ(MemoLines().mid(MemoLines().size() - 2), (QStringList{"a", "b"}));
    QFile log(scratch.filePath("console.log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(text.startsWith("Welcome to Lua 5.1\n\n"));
    EXPECT_TRUE(text.contains("line 1\nline 2\n"));  // trimmed from the window, not the log
    EXPECT_TRUE(text.endsWith("print('a\\nb')\na\nb\n"));
}

// A megabyte in one line, and a script that never returns: the console
// stays usable, Stop ends the script, and nothing else takes input meanwhile.
TEST_F(ConsoleWindow, StaysUsableWithHugeOutputAndEndlessScripts) {
    Enter("print(string.rep('x', 1048576))");
    EXPECT_LT(LastLine().size(), TConsoleForm::kMaxShownLineLength + 100);
    EXPECT_TRUE(LastLine().endsWith("(1046576 more characters in console.log)"))
        << LastLine().right(60).toStdString();
    QFile log(scratch.filePath("console.log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains(QByteArray(1048576, 'x')));

    EXPECT_FALSE(form().StopBtn->isEnabled());  // nothing runs
    bool stopWasEnabled = false, typedWhileRunning = false, undoWhileRunning = false;
    int linesWhileRunning = 0;
    QTimer::singleShot(400, [&] {
        // We are inside the running script's pump now.
        stopWasEnabled = form().StopBtn->isEnabled();
        linesWhileRunning = form().Memo->document()->blockCount();
        const QString running = form().Edit->text();
        QTest::keyClicks(form().Edit, "nope");
        typedWhileRunning = form().Edit->text() != running;
        const int steps = editor.undo.Count();
        QTest::keyClick(&main, Qt::Key_Z, Qt::ControlModifier);
        undoWhileRunning = editor.undo.Count() != steps;
        QTest::mouseClick(form().StopBtn, Qt::LeftButton);
    });
    editor.PushUndo("Before");
    const int before = form().Memo->document()->blockCount();
    Enter("print('started') while true do end");
    EXPECT_TRUE(stopWasEnabled);
    EXPECT_GT(linesWhileRunning, before);  // output shows while the script runs
    EXPECT_FALSE(typedWhileRunning);
    EXPECT_FALSE(undoWhileRunning);
    EXPECT_TRUE(LastLine().contains("the script was stopped")) << LastLine().toStdString();
    EXPECT_EQ(editor.undo.Count(), 1);

    Enter("print(6 * 7)");
    EXPECT_EQ(LastLine(), "42");
    QTest::qWait(300);
    EXPECT_FALSE(form().StopBtn->isEnabled());  // off again once nothing runs
}

class ProgressWindow : public EditorWindowsTest {
protected:
    TProgressForm& form() { return *windows.ProgressForm; }
};

// A script that works for a while moves the gauge on screen as it goes,
// and the window is gone when it ends.
TEST_F(ProgressWindow, ScriptsMoveTheGaugeWhileTheyRun) {
    EXPECT_EQ(form().windowTitle(), "Working ...");
    EXPECT_FALSE(form().windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(form().Gauge->size(), QSize(209, 20));
    EXPECT_EQ(form().Gauge->minimum(), 0);
    EXPECT_EQ(form().Gauge->maximum(), 100);

    struct PaintRecorder : QObject {
        std::vector<QString> painted;
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::Paint)
                painted.push_back(static_cast<QProgressBar*>(watched)->text());
            return false;
        }
    } recorder;
    form().Gauge->installEventFilter(&recorder);
    ASSERT_TRUE(Run(R"(
        ProgressWindowMinMax(0, 50)
        ProgressWindowShow()
        for i = 0, 50 do
          ProgressWindowSet(i)
          local t = os.clock() while os.clock() - t < 0.01 do end
        end
    )"));
    form().Gauge->removeEventFilter(&recorder);
    // Painted at many positions on the way, not once at the end.
    std::vector<QString> distinct;
    for (const QString& t : recorder.painted)
        if (distinct.empty() || distinct.back() != t) distinct.push_back(t);
    EXPECT_GE(distinct.size(), 10u);
    EXPECT_EQ(recorder.painted.back(), "100%");
    EXPECT_FALSE(form().isVisible());  // hidden after the run

    // Out of range: the nearest end; a maximum below the minimum is the minimum.
    form().SetRange(10, 20);
    form().SetPosition(99);
    EXPECT_EQ(form().Gauge->value(), 20);
    form().SetPosition(-5);
    EXPECT_EQ(form().Gauge->value(), 10);
    form().SetRange(30, 5);
    EXPECT_EQ(form().Gauge->maximum(), 30);

    // A failing script leaves no progress window behind.
    EXPECT_FALSE(Run("ProgressWindowShow() error('failed')"));
    EXPECT_FALSE(form().isVisible());
}

}  // namespace
