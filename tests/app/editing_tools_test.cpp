#include <gtest/gtest.h>

#include <QComboBox>
#include <cstdlib>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QToolButton>

#include "app/main_menus.h"
#include "app/main_form.h"
#include "app/tool_bar_panels.h"
#include "editing/rg_editor.h"
#include "editing/tool_manager.h"
#include "editing/tool_table.h"
#include "scene/rg_bone.h"
#include "scene/rg_scene.h"
#include "tests/app/qt_test_environment.h"
#include "viewport/camera.h"
#include "viewport/gl_viewport.h"

namespace {

// The main window with its one viewport window showing the front view.
class EditingTools : public ::testing::Test {
protected:
    EditingTools() : form((EnsureQtApplication(), editor)) {
        form.resize(1000, 700);
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        viewport()->parentWidget()->activateWindow();
        form.Viewports().front()->Configure_FrontClick();
        form.ViewportActivated(*form.Viewports().front());
        Settle();
    }
    static void Settle() {
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    }
    // KINEMO_SCREENSHOTS=folder keeps a picture of the window, to look at.
    void Keep(const char* name) {
        if (const char* folder = std::getenv("KINEMO_SCREENSHOTS")) {
            Settle();
            form.grab().save(QString("%1/%2.png").arg(folder, name));
        }
    }
    TGLViewport* viewport() const { return form.Viewports().front()->Viewport(); }
    QToolButton* Button(rgToolButton b) const { return form.ToolPanels().Button(b); }
    QAction* Action(const char* id) const { return form.Menus().commands().Action(id); }
    std::vector<rgBone*> Joints() {
        std::vector<rgBone*> joints;
        editor.scene().ForEach([&](rgSceneNode* n) {
            if (rgBone* j = ToBone(n)) joints.push_back(j);
        });
        return joints;
    }

    rgEditor editor;
    TMainForm form;
};

TEST_F(EditingTools, ToolButtonsAndTheLevelBoxDriveTheTools) {
    QTest::mouseClick(Button(rgToolButton::EditTranslate), Qt::LeftButton);
    EXPECT_TRUE(Button(rgToolButton::EditTranslate)->isChecked());
    EXPECT_EQ(form.ToolStatusPanel()->text().toStdString(), kTransformStatusText);
    QTest::mouseClick(Button(rgToolButton::EditRotate), Qt::LeftButton);
    EXPECT_FALSE(Button(rgToolButton::EditTranslate)->isChecked());
    EXPECT_EQ(editor.tools().ActiveButton(), rgToolButton::EditRotate);
    EXPECT_TRUE(Button(rgToolButton::EditTranslate)->toolTip().isEmpty());

    Action("Skeleton.AttachJoints")->trigger();
    EXPECT_TRUE(Action("Skeleton.AttachJoints")->isChecked());
    EXPECT_FALSE(Button(rgToolButton::EditRotate)->isChecked());

    form.ToolPanels().LevelCombo->setCurrentIndex(1);
    Settle();
    EXPECT_FALSE(Action("Skeleton.AttachJoints")->isChecked());
    EXPECT_TRUE(Button(rgToolButton::AnimateSelect)->isChecked());
    EXPECT_TRUE(form.ToolPanels().AnimationPanel->isVisible());
    EXPECT_FALSE(form.ToolPanels().ObjectPanel->isVisible());
    EXPECT_FALSE(form.Menus().SkeletonMenu->menuAction()->isVisible());
    form.ToolPanels().LevelCombo->setCurrentIndex(0);
    EXPECT_TRUE(Button(rgToolButton::EditSelect)->isChecked());
}

TEST_F(EditingTools, ClicksInAViewportDrawAChainThatUndoTakesBack) {
    QTest::mouseClick(Button(rgToolButton::EditCreateBone), Qt::LeftButton);
    const QPoint clicks[] = {{150, 200}, {200, 120}, {300, 100}};
    for (const QPoint& p : clicks) QTest::mouseClick(viewport(), Qt::LeftButton, {}, p);
    const std::vector<rgBone*> joints = Joints();
    ASSERT_EQ(joints.size(), 3u);
    editor.scene().UpdateScene();
    for (size_t i = 0; i < 3; ++i) {
        const vector3 expected = ScreenToWorld(viewport()->state, viewport()->width(),
                                               viewport()->height(), clicks[i].x(), clicks[i].y());
        const vector3 at = joints[i]->GetGlobalMatrix().pos_component();
        EXPECT_NEAR(at.x, expected.x, 1e-4f);
        EXPECT_NEAR(at.y, expected.y, 1e-4f);
        EXPECT_EQ(at.z, 0.0f);
    }
    EXPECT_EQ(Action("Edit.Undo")->text(), "&Undo: Create Joint");

    // The select tool takes the first joint; Ctrl+Z gives the selection back.
    QTest::mouseClick(Button(rgToolButton::EditSelect), Qt::LeftButton);
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, clicks[0]);
    EXPECT_TRUE(Joints()[0]->GetSelected());
    EXPECT_FALSE(Joints()[2]->GetSelected());
    Action("Edit.Undo")->trigger();
    EXPECT_FALSE(Joints()[0]->GetSelected());
    EXPECT_TRUE(Joints()[2]->GetSelected());
    QTest::mouseClick(Button(rgToolButton::EditRotate), Qt::LeftButton);
    Keep("chain_rotate_tool");
}

TEST_F(EditingTools, AHandleDragInARealViewportMovesTheJoint) {
    rgBone* joint = editor.scene().CreateBone();
    editor.scene().GetRootNode()->AttachChild(joint);
    joint->SetSelected(true);
    form.ToolPanels().CoordSystemCombo->setCurrentIndex(1);
    QTest::mouseClick(Button(rgToolButton::EditTranslate), Qt::LeftButton);
    TGLViewport* v = viewport();
    const float zoom = v->state.orthoView.z;
    const QPoint centre(v->width() / 2, v->height() / 2);
    // The X arrow, a little right of the joint at the origin.
    const QPoint onArrow = centre + QPoint(15, 0);
    QTest::mousePress(v, Qt::LeftButton, {}, onArrow);
    QTest::mouseMove(v, onArrow + QPoint(50, 0));
    QTest::mouseRelease(v, Qt::LeftButton, {}, onArrow + QPoint(50, 0));
    editor.scene().UpdateScene();
    EXPECT_NEAR(joint->GetGlobalMatrix().pos_component().x, 50 / (zoom * 200), 1e-3f);
    EXPECT_EQ(Action("Edit.Undo")->text(), "&Undo: Translate Objects");
    QTest::mousePress(v, Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseMove(v, QPoint(120, 90));
    Keep("frame_drag");
    QTest::mouseRelease(v, Qt::LeftButton, {}, QPoint(120, 90));
}

}  // namespace
