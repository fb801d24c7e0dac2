#pragma once

#include <QDockWidget>
#include <QTimer>
#include <deque>
#include <functional>
#include <string>

class QLineEdit;
class QPlainTextEdit;
class QToolButton;
class rgConsoleModel;

// "Console": everything scripts print, a one-line prompt that runs Lua
// statements, with the history on Up and Down, and a Stop for a script that
// runs too long. It shows the console model (which also writes
// "console.log"); lines arrive while a script runs and are shown in one go.
class TConsoleForm : public QDockWidget {
    Q_OBJECT
public:
    // Lines longer than this show cut; the log keeps them whole.
    static constexpr int kMaxShownLineLength = 2000;

    explicit TConsoleForm(rgConsoleModel& model, QWidget* parent = nullptr);
    ~TConsoleForm() override;

    // What Enter runs the command with (the script server); what Stop asks
    // (the script server's stop); whether a script is still running.
    std::function<void(const std::string& chunk)> run;
    std::function<void()> stop;
    std::function<bool()> scriptRunning;

    // Shows it and brings it to the front.
    void ShowConsole();
    // Shows the lines that arrived since the last time.
    void FlushOutput();
    // A script is running: Stop is enabled until it has ended.
    void ScriptBusy();

    void EditKeyDown(int key);
    void StopBtnClick();

    QPlainTextEdit* Memo = nullptr;
    QLineEdit* Edit = nullptr;
    QToolButton* StopBtn = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowAllLines();
    void Append(const std::string& line);

    rgConsoleModel& model_;
    std::deque<std::string> pending_;
    QTimer flushTimer_;
    QTimer stopTimer_;
};

// A line as the console shows it: cut after kMaxShownLineLength bytes (at a
// character boundary) with a note of how much more there is.
QString ShownConsoleLine(const std::string& line);
