#include "editing/rg_bone_create.h"
#include "editing/tool_table.h"
#include "tests/editing/tool_fixture.h"

namespace {

using ToolManagerTest = ToolTest;

TEST_F(ToolManagerTest, SwitchingToolsSwapsHandlersPagesAndStatus) {
    tools().Click(rgToolButton::EditTranslate);
    EXPECT_EQ(toolView.pages, kPageSelect | kPageMove | kPageHierarchy);
    EXPECT_TRUE(state().showHandles);
    EXPECT_EQ(toolView.status, kTransformStatusText);
    EXPECT_EQ(toolView.navReleases, 1);

    tools().Click(rgToolButton::EditRotate);
    EXPECT_FALSE(tools().IsDown(rgToolButton::EditTranslate));
    EXPECT_EQ(tools().ActiveButton(), rgToolButton::EditRotate);
    EXPECT_EQ(toolView.pages, kPageSelect | kPageRotate | kPageHierarchy);
    EXPECT_EQ(tools().StackDepths(), (std::array<int, 3>{1, 1, 1}));
    EXPECT_TRUE(toolView.handlers.mouseDown);

    // Rotate and scale leave their text when they go off; the others clear it.
    tools().Click(rgToolButton::EditRotate);
    EXPECT_EQ(toolView.status, kTransformStatusText);
    EXPECT_FALSE(state().showHandles);
    tools().Click(rgToolButton::EditSelect);
    tools().Click(rgToolButton::EditSelect);
    EXPECT_EQ(toolView.status, "");
    // The same button twice leaves no tool and no handlers.
    EXPECT_EQ(tools().ActiveButton(), rgToolButton::None);
    EXPECT_EQ(tools().StackDepths(), (std::array<int, 3>{0, 0, 0}));
    EXPECT_FALSE(toolView.handlers.mouseDown);
    EXPECT_EQ(toolView.pages, kPageSelect);
}

TEST_F(ToolManagerTest, AttachJointsCountsAsAToolAndNavigationSwitchesToolsOff) {
    tools().Click(rgToolButton::EditScale);
    tools().Click(rgToolButton::AttachJoints);
    EXPECT_FALSE(tools().IsDown(rgToolButton::EditScale));
    EXPECT_TRUE(tools().IsDown(rgToolButton::AttachJoints));
    tools().NavigationChosen();
    EXPECT_EQ(tools().ActiveButton(), rgToolButton::None);
    EXPECT_EQ(tools().StackDepths(), (std::array<int, 3>{0, 0, 0}));
}

TEST_F(ToolManagerTest, RightClicksPressAndShowTheToolOptions) {
    tools().RightClick(rgToolButton::EditTranslate);
    EXPECT_TRUE(tools().IsDown(rgToolButton::EditTranslate));
    EXPECT_EQ(toolView.optionsShown, 1);
    tools().RightClick(rgToolButton::EditTranslate);  // already down: only the window
    EXPECT_TRUE(tools().IsDown(rgToolButton::EditTranslate));
    EXPECT_EQ(toolView.optionsShown, 2);
    EXPECT_EQ(tools().StackDepths(), (std::array<int, 3>{1, 1, 1}));
}

TEST_F(ToolManagerTest, TheLevelSwitchCarriesTheToolOver) {
    rgMesh* mesh = AddSquare(0, 0, 0);
    mesh->SetSelected(true);
    tools().Click(rgToolButton::EditScale);
    tools().ChangeLevel(kEditAnimation);
    EXPECT_EQ(state().editLevel, kEditAnimation);
    EXPECT_EQ(toolView.shownLevel, kEditAnimation);
    EXPECT_FALSE(mesh->GetSelected());
    EXPECT_EQ(tools().ActiveButton(), rgToolButton::AnimateSelect);
    EXPECT_EQ(tools().StackDepths(), (std::array<int, 3>{1, 1, 1}));

    tools().ChangeLevel(kEditObjects);
    EXPECT_EQ(tools().ActiveButton(), rgToolButton::EditSelect);
    // Translate and rotate carry over to the pose tools and back.
    const rgToolButton pairs[][2] = {{rgToolButton::EditTranslate, rgToolButton::AnimateTranslate},
                                     {rgToolButton::EditRotate, rgToolButton::AnimateRotate},
                                     {rgToolButton::EditCreateBone, rgToolButton::AnimateSelect}};
    for (const auto& pair : pairs) {
        tools().SetDown(pair[0], true);
        tools().ChangeLevel(kEditAnimation);
        EXPECT_EQ(tools().ActiveButton(), pair[1]);
        EXPECT_EQ(tools().StackDepths(), (std::array<int, 3>{1, 1, 1}));
        tools().ChangeLevel(kEditObjects);
        EXPECT_EQ(tools().ActiveButton(),
                  pair[1] == rgToolButton::AnimateSelect ? rgToolButton::EditSelect : pair[0]);
    }
}

TEST_F(ToolManagerTest, UndoAndClearMakeToolsLetGoOfOldNodes) {
    rgBone* joint = AddJoint(nullptr, {0, 0, 0});
    joint->SetSelected(true);
    tools().Click(rgToolButton::EditCreateBone);
    EXPECT_EQ(tools().boneCreate().CurrentJoint(), joint);
    editor.PushUndo("before");
    editor.Undo();
    rgBone* restored = ToBone(scene().GetFirstNode());
    EXPECT_EQ(tools().boneCreate().CurrentJoint(), restored);
    EXPECT_TRUE(tools().IsDown(rgToolButton::EditCreateBone));
    scene().Clear();
    EXPECT_EQ(tools().boneCreate().CurrentJoint(), nullptr);
}

}  // namespace
