#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "app/about_form.h"
#include "app/export_mesh_form.h"
#include "app/number_dialog.h"
#include "tests/app/qt_test_environment.h"
#include "widgets/color_picker_button.h"
#include "widgets/float_spin_edit.h"

namespace {

// Whatever the locale, "." is the separator and text is refused.
TEST(SmallDialogs, NumberDialogReadsNumbersAndRefusesText) {
    EnsureQtApplication();
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TGetFloatForm dialog;
    const struct {
        const char* typed;
        Qt::Key key;
        double expected;
    } cases[] = {
        {"12.5", Qt::Key_Return, 12.5}, {"-3", Qt::Key_Enter, -3},
        {"abc", Qt::Key_Return, 24},    {"2,5", Qt::Key_Return, 25},  // the comma is refused
        {"7", Qt::Key_Escape, 24},      {"", Qt::Key_Return, 24},
        {"1e3", Qt::Key_Return, 1000},  {"0.0001", Qt::Key_Return, 0.0001},
    };
    for (const auto& c : cases) {
        QTimer::singleShot(0, [&] {
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_EQ(dialog.windowTitle(), "Frame Rate");
            EXPECT_EQ(dialog.FloatSpinEdit1->text(), "24");
            QTest::keyClick(dialog.FloatSpinEdit1, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(dialog.FloatSpinEdit1, c.typed);
            QTest::keyClick(dialog.FloatSpinEdit1, c.key);
        });
        EXPECT_DOUBLE_EQ(dialog.GetFloat(24, "Frame Rate"), c.expected) << c.typed;
    }
    QTimer::singleShot(0, [&] { dialog.Cancel_btn->click(); });
    EXPECT_EQ(dialog.GetFloat(30, ""), 30);
    EXPECT_EQ(dialog.Ok_btn->text(), "Ok");
    EXPECT_EQ(dialog.FloatSpinEdit1->singleStep(), 1.0);
    QLocale::setDefault(saved);
}

// The frame boxes pass what was typed on; Export keeps it within the frames.
TEST(SmallDialogs, ExportOptionsTakeAnyWholeFrameNumbers) {
    EnsureQtApplication();
    TExportMeshForm options;
    rgExportOptions chosen;
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(options.windowTitle(), "Mesh Export");
        options.AnimChecker->click();
        for (QSpinBox* box : {options.StartEdit, options.EndEdit}) {
            box->setFocus();
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        }
        QTest::keyClicks(options.StartEdit, "-5x");
        QTest::keyClicks(options.EndEdit, "99999.5");
        options.OkBtn->click();
    });
    ASSERT_TRUE(options.Ask(48, chosen));
    EXPECT_TRUE(chosen.animation);
    EXPECT_EQ(chosen.firstFrame, -5);
    EXPECT_EQ(chosen.lastFrame, 999995);
    QTimer::singleShot(0, [&] { QTest::keyClick(&options, Qt::Key_Escape); });
    EXPECT_FALSE(options.Ask(48, chosen));
}

TEST(SmallDialogs, AboutBoxNamesTheVersionAndClosesWithOkOrEscape) {
    EnsureQtApplication();
    TAboutForm about;
    EXPECT_EQ(about.windowTitle(), "About Kinemo");
    EXPECT_EQ(about.ProductName->text(), "Kinemo 1.3.4");
    EXPECT_TRUE(about.ProductName->font().bold());
    EXPECT_EQ(about.ProductName->font().pixelSize(), 24);
    EXPECT_TRUE(about.Libraries->text().contains("Lua 5.1"));
    QTimer::singleShot(0, [&] { QTest::keyClick(&about, Qt::Key_Escape); });
    about.Execute();
    QTimer::singleShot(0, [&] { about.OkBtn->click(); });
    about.Execute();
    EXPECT_FALSE(about.isVisible());
}

TEST(ColorPicker, PaletteAndMoreColors) {
    EnsureQtApplication();
    TColorPickerButton picker;
    std::vector<QColor> chosen;
    QObject::connect(&picker, &TColorPickerButton::ColorChosen,
                     [&](const QColor& c) { chosen.push_back(c); });
    picker.SetColor(QColor(1, 2, 3, 4));
    EXPECT_EQ(picker.Color(), QColor(1, 2, 3));  // no alpha
    EXPECT_TRUE(chosen.empty());                 // showing is not choosing
    EXPECT_EQ(TColorPickerButton::Palette().size(), 40u);
    EXPECT_EQ(TColorPickerButton::Palette()[31], QColor(192, 192, 192));
    picker.PaletteCellClick(31);
    EXPECT_EQ(picker.Color(), QColor(192, 192, 192));
    picker.askMoreColors = [](const QColor& current, QWidget*) {
        EXPECT_EQ(current, QColor(192, 192, 192));
        return QColor();  // cancelled
    };
    picker.MoreColorsClick();
    picker.askMoreColors = [](const QColor&, QWidget*) { return QColor(10, 20, 30); };
    picker.MoreColorsClick();
    EXPECT_EQ(chosen, (std::vector<QColor>{QColor(192, 192, 192), QColor(10, 20, 30)}));
    const QList<QAction*> items = picker.Popup()->actions();
    EXPECT_EQ(items.last()->text(), "More Colors ...");
}

}  // namespace
