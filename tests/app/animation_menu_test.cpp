#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include "app/animation_menu.h"
#include "app/main_form.h"
#include "app/number_dialog.h"
#include "app/playback_timer.h"
#include "app/tool_bar_panels.h"
#include "editing/animation_control.h"
#include "editing/rg_editor.h"
#include "editing/tool_manager.h"
#include "scene/rg_bone.h"
#include "tests/app/qt_test_environment.h"

namespace {

class AnimationMenu : public ::testing::Test {
protected:
    AnimationMenu() : form((EnsureQtApplication(), editor)) {}
    TAnimationMenu& menu() { return form.AnimationMenu(); }
    QStringList MenuTitles() {
        QStringList titles;
        for (QAction* a : form.menuBar()->actions())
            if (a->isVisible()) titles << a->text();
        return titles;
    }

    rgEditor editor;
    TMainForm form;
};

TEST_F(AnimationMenu, ShowsAtTheAnimationLevelOnly) {
    EXPECT_EQ(MenuTitles(), (QStringList{"&File", "&Edit", "&Scripts", "&Mesh", "S&keleton",
                                         "&Windows", "&Help"}));
    form.ToolPanels().LevelCombo->setCurrentIndex(1);
    EXPECT_EQ(MenuTitles(),
              (QStringList{"&File", "&Edit", "&Scripts", "&Animation", "&Windows", "&Help"}));
    QStringList items;
    for (QAction* a : menu().AnimationMenu->actions()) items << a->text();
    EXPECT_EQ(items, (QStringList{"Play Speed", "Set Framerate", "Keyframe Interpolation", "",
                                  "Auto Keyframing", ""}));
    form.ToolPanels().LevelCombo->setCurrentIndex(0);
    EXPECT_FALSE(menu().AnimationMenu->menuAction()->isVisible());
}

TEST_F(AnimationMenu, ItemsSetTheAnimationSettings) {
    const rgState& state = editor.state();
    EXPECT_TRUE(menu().N12->isChecked());
    EXPECT_TRUE(menu().N241->isChecked());
    EXPECT_TRUE(menu().Spline1->isChecked());
    EXPECT_FALSE(menu().AutoKeyframing1->isChecked());

    const struct {
        QAction* item;
        float speed, rate;
        int mode;
    } steps[] = {{menu().N141, 0.25f, 24, 2}, {menu().N41, 4, 24, 2},
                 {menu().N122, 4, 12, 2},     {menu().N301, 4, 30, 2},
                 {menu().Linear1, 4, 30, 1},  {menu().Constant1, 4, 30, 0}};
    for (const auto& s : steps) {
        s.item->trigger();
        EXPECT_TRUE(s.item->isChecked()) << s.item->objectName().toStdString();
        EXPECT_EQ(state.playSpeed, s.speed);
        EXPECT_EQ(state.framesPerSecond, s.rate);
        EXPECT_EQ(state.interpolation, s.mode);
    }
    menu().AutoKeyframing1->trigger();
    EXPECT_TRUE(state.autoKeyframing);
    menu().AutoKeyframing1->trigger();
    EXPECT_FALSE(state.autoKeyframing);

    // Custom: -5 gives 1; a cancelled dialog keeps the rate and the tick.
    double answer = -5;
    double asked = 0;
    menu().askFrameRate = [&](double current) {
        asked = current;
        return answer;
    };
    menu().Custom1->trigger();
    EXPECT_EQ(asked, 30);
    EXPECT_EQ(state.framesPerSecond, 1);
    EXPECT_TRUE(menu().Custom1->isChecked());
    menu().N251->trigger();
    answer = 25;  // what the dialog hands back on Cancel
    menu().Custom1->trigger();
    EXPECT_EQ(state.framesPerSecond, 25);
    EXPECT_TRUE(menu().N251->isChecked());

    // Settings a script changed show when the menu opens, except the rate.
    editor.animation().SetPlaySpeed(2);
    editor.animation().SetInterpolation(kInterpSpline);
    editor.animation().SetAutoKeyframing(true);
    editor.animation().SetFrameRate(30);
    emit menu().AnimationMenu->aboutToShow();
    EXPECT_TRUE(menu().N21->isChecked());
    EXPECT_FALSE(menu().N41->isChecked());
    EXPECT_TRUE(menu().Spline1->isChecked());
    EXPECT_TRUE(menu().AutoKeyframing1->isChecked());
    EXPECT_TRUE(menu().N251->isChecked());
    EXPECT_EQ(state.playSpeed, 2);  // showing ticks runs no command
}

TEST_F(AnimationMenu, PlaybackRunsFromTheEventLoopAndLocksTheLevel) {
    form.ToolPanels().LevelCombo->setCurrentIndex(1);
    rgBone* joint = editor.scene().CreateBone();
    editor.scene().GetRootNode()->AttachChild(joint);
    matrix44 far;
    far.translate(48, 0, 0);
    joint->SetKey(1, matrix44());
    joint->SetKey(48, far);
    editor.animation().Play();
    EXPECT_TRUE(form.Playback().IsRunning());
    EXPECT_GE(form.Playback().IntervalMs(), 1);
    EXPECT_LE(form.Playback().IntervalMs(), 50);
    EXPECT_FALSE(form.ToolPanels().LevelCombo->isEnabled());

    QElapsedTimer clock;
    clock.start();
    while (editor.state().currentFrame < 3 && clock.elapsed() < 5000) QTest::qWait(10);
    EXPECT_GE(editor.state().currentFrame, 3);  // 24 frames a second from the wall clock
    EXPECT_GT(joint->GetOffsetMatrix().pos_component().x, 0);

    editor.animation().Stop();
    EXPECT_FALSE(form.Playback().IsRunning());
    EXPECT_TRUE(form.ToolPanels().LevelCombo->isEnabled());
    const float x = joint->GetOffsetMatrix().pos_component().x;
    QTest::qWait(100);
    EXPECT_EQ(joint->GetOffsetMatrix().pos_component().x, x);
}

TEST(NumberDialog, ReadsAPointWhateverTheLocaleAndCancelKeepsThePreset) {
    EnsureQtApplication();
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const auto answer = [](const char* text, bool confirm) {
        QTimer::singleShot(0, [text, confirm] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            auto* box = dialog->findChild<QDoubleSpinBox*>();
            ASSERT_NE(box, nullptr);
            box->selectAll();
            QTest::keyClicks(box, text);
            QTest::keyClick(box, confirm ? Qt::Key_Return : Qt::Key_Escape);
        });
    };
    answer("12.5", true);
    EXPECT_EQ(GetFloat(nullptr, 24, ""), 12.5);
    answer("7", false);
    EXPECT_EQ(GetFloat(nullptr, 24, ""), 24);
    QLocale::setDefault(saved);
}

}  // namespace
