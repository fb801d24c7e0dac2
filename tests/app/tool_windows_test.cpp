#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cstdlib>
#include <functional>
#include <numbers>

#include "animation/ik_solver.h"
#include "app/joint_limits_form.h"
#include "app/key_info_form.h"
#include "app/key_timeline_view.h"
#include "app/keyframe_form.h"
#include "app/main_form.h"
#include "app/tool_bar_panels.h"
#include "app/tool_options_form.h"
#include "app/tool_windows.h"
#include "editing/rg_editor.h"
#include "editing/rg_object_prop.h"
#include "editing/tool_manager.h"
#include "scene/rg_bone.h"
#include "scene/rg_mesh.h"
#include "scene/rg_scene.h"
#include "tests/app/qt_test_environment.h"
#include "widgets/float_spin_edit.h"
#include "widgets/int_edit.h"
#include "widgets/page_control.h"

namespace {

matrix44 At(float x) {
    matrix44 m;
    m.translate(x, 0, 0);
    return m;
}

// The main window over a scene of a mesh and an arm: shoulder (0, 0, 0) ->
// elbow (0, 2, 0) -> hand (2, 2, 0).
class ToolWindows : public ::testing::Test {
protected:
    ToolWindows() : form((EnsureQtApplication(), editor)) {
        mesh = editor.scene().CreateMesh();
        mesh->SetName("Tube");
        editor.scene().GetRootNode()->AttachChild(mesh);
        shoulder = AddJoint(nullptr, {0, 0, 0});
        elbow = AddJoint(shoulder, {0, 2, 0});
        hand = AddJoint(elbow, {2, 0, 0});
        form.resize(1000, 700);
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        Settle();
    }
    rgBone* AddJoint(rgBone* parent, vector3 at) {
        rgBone* joint = editor.scene().CreateBone();
        joint->GetLocalMatrix().translate(at.x, at.y, at.z);
        (parent ? static_cast<rgSceneNode*>(parent) : editor.scene().GetRootNode())
            ->AttachChild(joint);
        return joint;
    }
    static void Settle() {
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    }
    // KINEMO_SCREENSHOTS=folder keeps a picture of the window, to look at.
    static void Keep(QWidget* window, const char* name) {
        if (const char* folder = std::getenv("KINEMO_SCREENSHOTS")) {
            Settle();
            window->grab().save(QString("%1/%2.png").arg(folder, name));
        }
    }
    // Runs `act` once `dialog` is up (modally), then closes it unless `act` did.
    static void WhileOpen(QDialog* dialog, std::function<void()> act) {
        QTimer::singleShot(0, dialog, [dialog, act] {
            act();
            if (dialog->isVisible()) dialog->reject();
        });
    }
    // Types into a field and presses Enter.
    static void Enter(QWidget* field, const QString& text) {
        if (auto* spin = qobject_cast<QAbstractSpinBox*>(field)) spin->selectAll();
        if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }
    void Level(int level) {
        form.ToolPanels().LevelCombo->setCurrentIndex(level);
        Settle();
    }

    TToolWindows& windows() { return form.ToolWindows(); }
    TToolOptionsForm& options() { return *windows().ToolOptions; }
    TKeyframeForm& keyframer() { return *windows().Keyframer; }
    rgToolManager& tools() { return editor.tools(); }

    rgEditor editor;
    TMainForm form;
    rgMesh* mesh;
    rgBone* shoulder;
    rgBone* elbow;
    rgBone* hand;
};

TEST_F(ToolWindows, ToolOptionsPagesFollowTheActiveTool) {
    using B = rgToolButton;
    const QStringList select{"Select"};
    EXPECT_EQ(options().PageControl->VisibleCaptions(), select);
    elbow->SetSelected(true);
    const struct {
        B button;
        int level;
        QStringList pages;
        const char* current;
    } cases[] = {
        {B::EditTranslate, 0, {"Select", "Move", "Hierarchy"}, "Move"},
        {B::EditRotate, 0, {"Select", "Rotate", "Hierarchy"}, "Rotate"},
        {B::EditScale, 0, {"Select", "Scale"}, "Scale"},
        {B::EditVertexAssign, 0, {"Select", "Assign", "Weight"}, "Assign"},
        {B::EditObjectProperties, 0, {"Select", "General", "Joint"}, "General"},
        {B::EditSelect, 0, select, "Select"},
        {B::AnimateTranslate, 1, {"Select", "Move"}, "Move"},
        {B::AnimateRotate, 1, {"Select", "Rotate"}, "Rotate"},
        {B::AnimateIK, 1, {"Select", "IK"}, "IK"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.current);
        tools().ChangeLevel(c.level);
        tools().Click(c.button);
        EXPECT_EQ(options().PageControl->VisibleCaptions(), c.pages);
        const int current = options().PageControl->CurrentIndex();
        ASSERT_GE(current, 0);
        EXPECT_EQ(options().PageControl->Tab(current)->text().toStdString(), c.current);
        // The vertex controls work only with the vertex tool; "Meshes" only
        // at the Objects level.
        const bool vertexTool = c.button == B::EditVertexAssign;
        EXPECT_EQ(options().SelectVerticesCheckBox->isEnabled(), vertexTool);
        EXPECT_EQ(options().AssignBtn->isEnabled(), vertexTool);
        EXPECT_EQ(options().SelectMeshesCheckBox->isEnabled(), c.level == 0);
        if (c.button == B::EditObjectProperties) {
            Keep(&options(), "tool_options_general");
        }
        if (c.button == B::AnimateIK) Keep(&options(), "tool_options_ik");
        tools().Click(c.button);
        EXPECT_EQ(options().PageControl->VisibleCaptions(), select);
    }
    // A mesh as the current node shows "General" only.
    tools().ChangeLevel(0);
    elbow->SetSelected(false);
    mesh->SetSelected(true);
    tools().Click(B::EditObjectProperties);
    EXPECT_EQ(options().PageControl->VisibleCaptions(), (QStringList{"Select", "General"}));
    EXPECT_EQ(options().NameEdit->text(), "Tube");
}

TEST_F(ToolWindows, TheToolOptionsWindowHidesInsteadOfClosing) {
    QAction* item = windows().ToolOptionsWindow1;
    EXPECT_FALSE(options().isVisible());
    EXPECT_FALSE(item->isChecked());
    // A right click on a tool button opens the window with the tool on.
    tools().RightClick(rgToolButton::EditTranslate);
    Settle();
    EXPECT_TRUE(options().isVisible());
    EXPECT_TRUE(options().isFloating());
    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(editor.commands.IsChecked("Windows.ToolOptions"));
    Keep(&options(), "tool_options_move");
    const QPoint place = options().pos();
    options().close();
    Settle();
    EXPECT_FALSE(options().isVisible());
    EXPECT_FALSE(item->isChecked());
    item->trigger();
    Settle();
    EXPECT_TRUE(options().isVisible());
    EXPECT_EQ(options().pos(), place);
    EXPECT_EQ(options().PageControl->VisibleCaptions(),
              (QStringList{"Select", "Move", "Hierarchy"}));
}

TEST_F(ToolWindows, NumericEntryGoesToTheToolOfTheLevel) {
    hand->SetSelected(true);
    options().show();
    tools().Click(rgToolButton::EditTranslate);
    // Enter in one field moves along that axis only and shows 0 again.
    options().TranslateYEdit->setValue(3);
    Enter(options().TranslateXEdit, "2");
    EXPECT_EQ(hand->GetLocalMatrix().pos_component(), vector3(4, 0, 0));
    EXPECT_EQ(options().TranslateXEdit->value(), 0.0);
    EXPECT_EQ(options().TranslateYEdit->value(), 3.0);
    EXPECT_EQ(editor.undo.TopLabel(), "Translate Objects");
    // Text that is not a number is refused while typed; nothing happens.
    const int steps = editor.undo.Count();
    Enter(options().TranslateZEdit, "abc");
    EXPECT_EQ(options().TranslateZEdit->text(), "0");
    EXPECT_EQ(editor.undo.Count(), steps + 1);  // Enter on 0 still moves (by nothing)
    EXPECT_EQ(hand->GetLocalMatrix().pos_component(), vector3(4, 0, 0));

    // At the Animation level the button poses instead.
    Level(1);
    tools().Click(rgToolButton::AnimateTranslate);
    options().TranslateXEdit->setValue(1);
    options().TranslateYEdit->setValue(0);
    options().TranslateZEdit->setValue(0);
    QTest::mouseClick(options().TranslateBtn, Qt::LeftButton);
    EXPECT_EQ(hand->GetLocalMatrix().pos_component(), vector3(4, 0, 0));
    EXPECT_EQ(hand->GetOffsetMatrix().pos_component().x, 1.0f);
    EXPECT_EQ(options().TranslateXEdit->value(), 0.0);

    // Scale factors (2, 0, 1) do nothing and the fields start again at 1.
    Level(0);
    tools().Click(rgToolButton::EditScale);
    const int before = editor.undo.Count();
    options().ScaleXEdit->setValue(2);
    options().ScaleYEdit->setValue(0);
    QTest::mouseClick(options().ScaleBtn, Qt::LeftButton);
    EXPECT_EQ(editor.undo.Count(), before);
    for (TFloatSpinEdit* f : {options().ScaleXEdit, options().ScaleYEdit, options().ScaleZEdit})
        EXPECT_EQ(f->value(), 1.0);
    Enter(options().ScaleZEdit, "-2");
    EXPECT_EQ(editor.undo.Count(), before);
    EXPECT_EQ(options().ScaleZEdit->value(), 1.0);
}

TEST_F(ToolWindows, WeightHierarchyIKAndPropertyPagesSetTheirValues) {
    options().show();
    tools().Click(rgToolButton::EditVertexAssign);
    QTest::mouseClick(options().WeightButtons[5], Qt::LeftButton);
    EXPECT_FLOAT_EQ(editor.toolOptions.currentWeight, 0.5f);
    EXPECT_EQ(options().WeightEdit->value(), 0.5);
    EXPECT_EQ(options().WeightPanel->palette().color(QPalette::Window), QColor(127, 127, 127));
    EXPECT_EQ(options().WeightButtons[10]->toolTip(), "Set current weight to 1.0");
    Enter(options().WeightEdit, "0.25");
    EXPECT_FLOAT_EQ(editor.toolOptions.currentWeight, 0.25f);
    options().PageControl->SetCurrentIndex(TToolOptionsForm::kWeight);
    Keep(&options(), "tool_options_weight");
    options().ShowNormalized->click();
    EXPECT_FALSE(editor.toolOptions.showNormalized);

    tools().Click(rgToolButton::EditTranslate);
    options().AffectChildsBox->click();
    EXPECT_FALSE(editor.toolOptions.affectChildren);

    Level(1);
    tools().Click(rgToolButton::AnimateIK);
    EXPECT_FALSE(options().EnableJointConstraintsBox->isChecked());  // shows the setting
    options().EnableJointConstraintsBox->click();
    EXPECT_TRUE(editor.state().useJointLimits);

    Level(0);
    elbow->SetSelected(true);
    tools().Click(rgToolButton::EditObjectProperties);
    EXPECT_EQ(options().NameEdit->text().toStdString(), elbow->GetName());
    EXPECT_EQ(options().PosY->text(), "2.00000");
    QTest::keyClicks(options().NameEdit, "X");
    EXPECT_EQ(elbow->GetName(), "Joint2X");
    EXPECT_EQ(keyframer().TreeView->ItemOf(elbow)->text(0), "Joint2X");
    Enter(options().IKWeight, "0.5");
    EXPECT_FLOAT_EQ(elbow->GetIKWeight(), 0.5f);
    options().IKCT->click();
    EXPECT_TRUE(elbow->IsIKChainEnd());
}

TEST_F(ToolWindows, TheKeyframerFollowsTheLevelAndDrivesFramesAndKeys) {
    TKeyframeForm& k = keyframer();
    EXPECT_FALSE(k.isVisible());
    EXPECT_FALSE(k.SetKeyBtn->isEnabled());
    EXPECT_TRUE(k.AdvancedKeyframerBtn->isEnabled());
    EXPECT_EQ(k.CurrentFrameEdit->text(), "1");
    EXPECT_EQ(k.TotalFramesEdit->text(), "48");
    EXPECT_EQ(k.SetKeyBtn->toolTip(), "Set keyframe");
    Level(1);
    EXPECT_TRUE(k.isVisible());
    EXPECT_TRUE(k.isFloating());
    EXPECT_TRUE(windows().KeyframerWindow1->isChecked());
    EXPECT_TRUE(k.SetKeyBtn->isEnabled());
    EXPECT_FALSE(k.DeleteKeyBtn->isEnabled());

    k.FrameFader->setValue(10);
    EXPECT_EQ(editor.state().currentFrame, 10);
    EXPECT_EQ(k.CurrentFrameEdit->text(), "10");
    Enter(k.CurrentFrameEdit, "500");
    EXPECT_EQ(editor.state().currentFrame, 48);
    EXPECT_EQ(k.FrameFader->value(), 48);
    Enter(k.CurrentFrameEdit, "x");  // refused: still a number
    EXPECT_EQ(k.CurrentFrameEdit->text(), "48");
    Enter(k.TotalFramesEdit, "0");
    EXPECT_EQ(editor.state().totalFrames, 2);
    EXPECT_EQ(k.TotalFramesEdit->text(), "2");
    EXPECT_EQ(k.FrameFader->maximum(), 2);
    Enter(k.TotalFramesEdit, "100");
    QTest::mouseClick(k.FirstFrameBtn, Qt::LeftButton);
    QTest::mouseClick(k.NextFrameBtn, Qt::LeftButton);
    EXPECT_EQ(editor.state().currentFrame, 2);

    // Keys at frame 2 on every joint; at 6 on the selected one.
    QTest::mouseClick(k.SetKeyBtn, Qt::LeftButton);
    EXPECT_TRUE(shoulder->HasKey(2) && elbow->HasKey(2) && hand->HasKey(2));
    EXPECT_TRUE(k.DeleteKeyBtn->isEnabled());
    hand->SetSelected(true);
    k.FrameFader->setValue(6);
    EXPECT_FALSE(k.DeleteKeyBtn->isEnabled());
    QTest::mouseClick(k.AddKeySelectedBtn, Qt::LeftButton);
    EXPECT_TRUE(hand->HasKey(6));
    EXPECT_FALSE(elbow->HasKey(6));
    QTest::mouseClick(k.PrevKeyBtn, Qt::LeftButton);
    EXPECT_EQ(editor.state().currentFrame, 2);
    QTest::mouseClick(k.DeleteKeyBtn, Qt::LeftButton);
    EXPECT_FALSE(shoulder->HasKey(2) || elbow->HasKey(2) || hand->HasKey(2));
    EXPECT_FALSE(k.DeleteKeyBtn->isEnabled());
    EXPECT_EQ(editor.undo.TopLabel(), "Delete Keyframe");
    Keep(&k, "keyframer");

    QTest::mouseClick(k.PlayBtn, Qt::LeftButton);
    EXPECT_TRUE(k.StopBtn->isVisible());
    EXPECT_FALSE(k.PlayBtn->isVisible());
    QTest::mouseClick(k.StopBtn, Qt::LeftButton);
    EXPECT_TRUE(k.PlayBtn->isVisible());

    // Without the advanced view only the bar and the slider are left.
    QTest::mouseClick(k.AdvancedKeyframerBtn, Qt::LeftButton);
    Settle();
    EXPECT_FALSE(k.LowerPanel->isVisible());
    EXPECT_EQ(k.widget()->height(), 85);
    Keep(&k, "keyframer_simple");
    QTest::mouseClick(k.AdvancedKeyframerBtn, Qt::LeftButton);
    Settle();
    EXPECT_GE(k.widget()->height(), 198);

    // Frames a script or a loaded document set show at the next paint.
    editor.state().totalFrames = 60;
    editor.state().currentFrame = 30;
    k.RepaintTimeline();
    Settle();
    EXPECT_EQ(k.FrameFader->maximum(), 60);
    EXPECT_EQ(k.CurrentFrameEdit->text(), "30");
    EXPECT_EQ(k.TimelineView->width(), 480);

    Level(0);
    EXPECT_FALSE(k.isVisible());
    EXPECT_FALSE(windows().KeyframerWindow1->isChecked());
}

TEST_F(ToolWindows, TheKeyframerTreeAndTimeLine) {
    TKeyframeForm& k = keyframer();
    Level(1);
    k.resize(600, 260);
    Settle();
    TJointTreeView& tree = *k.TreeView;
    tree.expandAll();
    Settle();
    // "Scene", then the joints nested as the skeleton.
    ASSERT_EQ(tree.topLevelItemCount(), 1);
    EXPECT_EQ(tree.topLevelItem(0)->text(0), "Scene");
    EXPECT_EQ(tree.ItemOf(elbow)->parent(), tree.ItemOf(shoulder));
    EXPECT_EQ(tree.ShownRows(), (std::vector<rgBone*>{nullptr, shoulder, elbow, hand}));

    // Choosing rows selects the joints; a hidden one shows again.
    hand->Hide();
    tree.ItemOf(hand)->setSelected(true);
    EXPECT_TRUE(hand->GetSelected());
    EXPECT_TRUE(hand->IsVisible());
    tree.clearSelection();
    EXPECT_FALSE(hand->GetSelected());

    // Keys at 2..4 on the elbow; a band over its row from frame 2 to 4,
    // dragged 3 frames on.
    for (int f : {2, 3, 4}) elbow->SetKey(f, At(static_cast<float>(f)));
    QWidget* line = k.TimelineView;
    const auto cell = [](int frame, int row) { return QPoint((frame - 1) * 8 + 4, row * 16 + 8); };
    // A box from inside the first joint row to inside the last takes every
    // row it touches, in either direction.
    for (const auto& [from, to] : {std::pair{cell(2, 1), cell(4, 3)}, std::pair{cell(4, 3), cell(2, 1)}}) {
        QTest::mousePress(line, Qt::LeftButton, {}, from);
        QTest::mouseMove(line, to);
        QTest::mouseRelease(line, Qt::LeftButton, {}, to);
        EXPECT_EQ(k.Timeline().SelectedJoints(), (std::vector<rgBone*>{shoulder, elbow, hand}));
        QTest::mouseClick(line, Qt::RightButton, {}, cell(1, 1));  // drops the box
        ASSERT_FALSE(k.Timeline().HasSelection());
    }
    ASSERT_TRUE(elbow->HasKey(2) && elbow->HasKey(3) && elbow->HasKey(4));
    QTest::mousePress(line, Qt::LeftButton, {}, cell(2, 2) - QPoint(2, 6));
    QTest::mouseMove(line, cell(4, 2) + QPoint(3, 7));
    QTest::mouseRelease(line, Qt::LeftButton, {}, cell(4, 2) + QPoint(3, 7));
    ASSERT_TRUE(k.Timeline().HasSelection());
    EXPECT_EQ(k.Timeline().SelectedJoints(), std::vector<rgBone*>{elbow});
    Keep(&k, "keyframer_selection");
    QTest::mousePress(line, Qt::LeftButton, {}, cell(3, 2));
    QTest::mouseMove(line, cell(6, 2));
    Keep(&k, "keyframer_moving");
    QTest::mouseRelease(line, Qt::LeftButton, {}, cell(6, 2));
    EXPECT_FALSE(elbow->HasKey(2));
    EXPECT_TRUE(elbow->HasKey(5) && elbow->HasKey(6) && elbow->HasKey(7));
    EXPECT_EQ(editor.undo.TopLabel(), "Move Keyframes");

    // Copy mode, then delete the selection.
    QTest::mouseClick(k.CopySelBtn, Qt::LeftButton);
    QTest::mousePress(line, Qt::LeftButton, {}, cell(6, 2));
    QTest::mouseRelease(line, Qt::LeftButton, {}, cell(16, 2));
    EXPECT_TRUE(elbow->HasKey(5) && elbow->HasKey(15) && elbow->HasKey(17));
    EXPECT_EQ(editor.undo.TopLabel(), "Copy Keyframes");
    QTest::mouseClick(k.DelSelKeysBtn, Qt::LeftButton);
    EXPECT_FALSE(elbow->HasKey(15));
    EXPECT_TRUE(elbow->HasKey(5));
    EXPECT_EQ(editor.undo.TopLabel(), "Delete Keyframes");

    // A joint deleted while its row is selected takes the selection with it.
    QTest::mousePress(line, Qt::LeftButton, {}, cell(1, 2));
    QTest::mouseRelease(line, Qt::LeftButton, {}, cell(10, 3) + QPoint(0, 8));
    ASSERT_TRUE(k.Timeline().HasSelection());
    shoulder->DetachChild(elbow);
    delete elbow;
    elbow = nullptr;
    Settle();
    EXPECT_FALSE(k.Timeline().HasSelection());
    QTest::mouseClick(k.DelSelKeysBtn, Qt::LeftButton);
    EXPECT_EQ(tree.ShownRows(), (std::vector<rgBone*>{nullptr, shoulder}));

    // Rows renamed in place rename their joint.
    tree.ItemOf(shoulder)->setText(0, "Shoulder");
    EXPECT_EQ(shoulder->GetName(), "Shoulder");
}

TEST_F(ToolWindows, KeyInfoStepsThroughKeysAndEditsThem) {
    for (int f : {5, 10, 20}) shoulder->SetKey(f, At(static_cast<float>(f)));
    TKeyInfoForm& info = *windows().KeyInfo;
    bool shown = false;
    WhileOpen(&info, [&] {
        shown = info.isVisible() && info.isModal();
        EXPECT_EQ(info.windowTitle(), "Key Info");
        EXPECT_EQ(info.JointCombo->currentText().toStdString(), shoulder->GetName());
        EXPECT_EQ(info.KeyLabel->text(), "1/3");
        EXPECT_EQ(info.FrameLabel->text(), "5/48");
        QTest::mouseClick(info.NextKeyBtn, Qt::LeftButton);
        QTest::mouseClick(info.NextKeyBtn, Qt::LeftButton);
        QTest::mouseClick(info.NextKeyBtn, Qt::LeftButton);
        EXPECT_EQ(info.KeyLabel->text(), "3/3");
        EXPECT_EQ(info.FrameLabel->text(), "20/48");
        EXPECT_EQ(info.tx->value(), 20.0);

        // Typing 5 in tz moves only the key; tension repaints only its preview.
        Enter(info.tz, "5");
        EXPECT_EQ(shoulder->GetKeyAt(20)->matrix.pos_component(), vector3(20, 0, 5));
        const QImage trans = info.trans_paint->grab().toImage();
        const QImage rot = info.rot_paint->grab().toImage();
        Enter(info.tt, "0.8");
        EXPECT_FLOAT_EQ(shoulder->GetKeyAt(20)->trans_tcb.x, 0.8f);
        EXPECT_NE(info.trans_paint->grab().toImage(), trans);
        EXPECT_EQ(info.rot_paint->grab().toImage(), rot);
        Enter(info.rb, "-0.5");
        EXPECT_FLOAT_EQ(shoulder->GetKeyAt(20)->rot_tcb.z, -0.5f);
        Keep(&info, "key_info");

        // A joint without keys: nothing to edit.
        info.JointCombo->setCurrentIndex(1);
        EXPECT_EQ(info.KeyLabel->text(), "n/a (no keys))");
        EXPECT_FALSE(info.tx->isEnabled());
        EXPECT_FALSE(info.NextKeyBtn->isEnabled());
        Keep(&info, "key_info_no_keys");
        QTest::keyClick(&info, Qt::Key_Escape);
    });
    windows().KeyBrowser1->trigger();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(info.isVisible());
    EXPECT_EQ(editor.undo.Count(), 0);

    // From the "Joint" page: the properties tool's joint.
    hand->SetKey(7, At(1));
    hand->SetSelected(true);
    tools().Click(rgToolButton::EditObjectProperties);
    WhileOpen(&info, [&] { EXPECT_EQ(info.FrameLabel->text(), "7/48"); });
    QTest::mouseClick(options().KeyInfoBtn, Qt::LeftButton);
}

TEST_F(ToolWindows, JointLimitsAreStoredAndHonouredByIK) {
    TJointLimitsForm& limits = *windows().JointLimits;
    elbow->SetSelected(true);
    tools().Click(rgToolButton::EditObjectProperties);
    // A fresh joint: every axis free, both angles 0 and disabled; "Limited"
    // enables that axis' angles only. Confirmed: stored as typed.
    WhileOpen(&limits, [&] {
        EXPECT_EQ(limits.windowTitle(), "Joint Limits");
        for (QComboBox* c : {limits.XCombo, limits.YCombo, limits.ZCombo})
            EXPECT_EQ(c->currentText(), "Free");
        EXPECT_FALSE(limits.XMinEdit->isEnabled());
        EXPECT_EQ(limits.XMinEdit->value(), 0.0);
        limits.XCombo->setCurrentIndex(1);
        EXPECT_TRUE(limits.XMinEdit->isEnabled() && limits.XMaxEdit->isEnabled());
        EXPECT_FALSE(limits.YMinEdit->isEnabled());
        Enter(limits.XMinEdit, "30");
        Enter(limits.XMaxEdit, "-30");
        limits.ZCombo->setCurrentIndex(1);
        Enter(limits.ZMinEdit, "10");
        limits.ZCombo->setCurrentIndex(2);  // locked: the angles stay but are off
        EXPECT_FALSE(limits.ZMinEdit->isEnabled());
        Keep(&limits, "joint_limits");
        QTest::mouseClick(limits.OkBtn, Qt::LeftButton);
    });
    QTest::mouseClick(options().JointLimitsBtn, Qt::LeftButton);
    int mode;
    float first, second;
    elbow->GetXConstraints(mode, first, second);
    EXPECT_EQ(mode, kLimitLimited);
    EXPECT_EQ(first, 30.0f);
    EXPECT_EQ(second, -30.0f);
    elbow->GetZConstraints(mode, first, second);
    EXPECT_EQ(mode, kLimitLocked);
    EXPECT_EQ(first, 10.0f);

    // "Cancel" keeps the joint as it was; the next opening shows it again.
    WhileOpen(&limits, [&] {
        limits.XCombo->setCurrentIndex(0);
        QTest::mouseClick(limits.CancelBtn, Qt::LeftButton);
    });
    QTest::mouseClick(options().JointLimitsBtn, Qt::LeftButton);
    elbow->GetXConstraints(mode, first, second);
    EXPECT_EQ(mode, kLimitLimited);
    WhileOpen(&limits, [&] { EXPECT_EQ(limits.XCombo->currentText(), "Limited"); });
    QTest::mouseClick(options().JointLimitsBtn, Qt::LeftButton);

    // The IK solver keeps the elbow within them while "Use Joint Limits" is on.
    Level(1);
    tools().Click(rgToolButton::AnimateIK);
    options().EnableJointConstraintsBox->click();
    ASSERT_TRUE(editor.state().useJointLimits);
    const auto elbowTurn = [&] {
        matrix44 inverse = elbow->GetLocalMatrix();
        inverse.invert();
        return (elbow->GetLocalMatrix() * elbow->GetOffsetMatrix() * inverse).get_eulers() *
               180.0f / std::numbers::pi_v<float>;
    };
    for (int i = 0; i < 30; ++i) Solve(*hand, {1, 2.5f, 1.5f});
    EXPECT_NEAR(elbowTurn().z, 0, 1e-3f);
    EXPECT_LE(std::abs(elbowTurn().x), 30 + 1e-3f);
    // Without them the elbow turns about z as well.
    options().EnableJointConstraintsBox->click();
    for (int i = 0; i < 30; ++i) Solve(*hand, {1, 2.5f, 1.5f});
    EXPECT_GT(std::abs(elbowTurn().z), 1.0f);
}

}  // namespace
