#include "editing/animation_control.h"
#include "editing/rg_ik_move.h"
#include "tests/editing/tool_fixture.h"

namespace {

// An arm at the Animation level in the front view: shoulder (0, 0, 0) ->
// elbow (0, 2, 0) -> hand (2, 2, 0), and a joint K at (-5, -5, 0) outside
// the chain. The hand is selected when the IK tool goes on.
class IKToolTest : public ToolTest {
protected:
    IKToolTest() {
        shoulder = AddJoint(nullptr, {0, 0, 0});
        elbow = AddJoint(shoulder, {0, 2, 0});
        hand = AddJoint(elbow, {2, 0, 0});
        k = AddJoint(nullptr, {-5, -5, 0});
        tools().ChangeLevel(kEditAnimation);
        elbow->SetSelected(true);
        hand->SetSelected(true);
        tools().Click(rgToolButton::AnimateIK);
    }
    rgIKMove& ik() { return tools().ikMove(); }
    void TakeNodesAfresh() {
        shoulder = ToBone(scene().GetRootNode()->GetChild(0));
        elbow = ToBone(shoulder->GetChild(0));
        hand = ToBone(elbow->GetChild(0));
        k = ToBone(scene().GetRootNode()->GetChild(1));
    }

    rgBone *shoulder, *elbow, *hand, *k;
};

TEST_F(IKToolTest, TheSelectedJointIsTheEndOfTheChain) {
    EXPECT_EQ(ik().EndJoint(), hand);  // the last selected joint in walk order
    EXPECT_FALSE(elbow->GetSelected());
    EXPECT_TRUE(hand->GetSelected());
    EXPECT_EQ(toolView.status, "Hold SHIFT to lock selection");
    EXPECT_TRUE(state().showHandles);

    Click(PX(0), PY(2));  // the elbow
    EXPECT_EQ(ik().EndJoint(), elbow);
    EXPECT_FALSE(hand->GetSelected());
    EXPECT_EQ(editor.undo.TopLabel(), "Change Selection");
    Click(PX(-5), PY(-5), kShiftKey);  // locked: nothing changes
    EXPECT_EQ(ik().EndJoint(), elbow);
    EXPECT_FALSE(k->GetSelected());
    Click(PX(7), PY(-7));  // nothing there
    EXPECT_EQ(ik().EndJoint(), nullptr);
    EXPECT_FALSE(elbow->GetSelected());
    tools().Click(rgToolButton::AnimateIK);
    EXPECT_FALSE(state().showHandles);
}

TEST_F(IKToolTest, HandleDragsCarryTheHandWithTheMouse) {
    const struct {
        const char* name;
        int projection;
        int axis;
        int dx, dy;
        vector3 moved;  // the hand's world displacement
    } cases[] = {
        {"front, centre", kProjFront, kAxisCentre, 5, -5, {0.5f, 0.5f, 0}},
        {"front, X: only sideways", kProjFront, kAxisX, 10, -8, {1, 0, 0}},
        {"front, Y follows horizontal travel", kProjFront, kAxisY, 8, 0, {0, 0.8f, 0}},
        {"top, Z follows horizontal travel", kProjTop, kAxisZ, 10, 0, {0, 0, 1}},
        {"left, Y follows horizontal travel", kProjLeft, kAxisY, 6, 0, {0, 0.6f, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        viewport.state.projection = c.projection;
        editor.ClearUndo();
        const std::string before = SceneText(scene());
        const vector3 start = WorldPosition(hand);
        DragHandle(hand, c.axis, c.dx, c.dy, 4);
        EXPECT_TRUE(Near(WorldPosition(hand) - start, c.moved, 1e-3f));
        EXPECT_EQ(hand->GetOffsetMatrix(), matrix44());
        EXPECT_EQ(k->GetOffsetMatrix(), matrix44());
        EXPECT_EQ(editor.undo.Count(), 1);
        EXPECT_EQ(editor.undo.TopLabel(), "IK Move");
        EXPECT_TRUE(state().modified);
        editor.Undo();
        EXPECT_EQ(SceneText(scene()), before);
        TakeNodesAfresh();
        EXPECT_EQ(ik().EndJoint(), hand);  // taken afresh from the restored scene
    }

    // In a perspective view an arrow moves the goal by the distance to the
    // eye x pixels x 0.002 per move.
    viewport.state.projection = kProjPerspective;
    const vector3 start = WorldPosition(hand);
    const vector3 eye = -ViewMatrix(viewport.state).pos_component();
    const float expected = (start - eye).len() * 2 * 0.002f;
    DragHandle(hand, kAxisX, 2, 0);
    EXPECT_TRUE(Near(WorldPosition(hand) - start, {expected, 0, 0}, 1e-3f));
}

TEST_F(IKToolTest, ADragThatMovesNothingLeavesNoStep) {
    PressAndRelease(hand, kAxisX);
    EXPECT_EQ(editor.undo.Count(), 0);
    // Right after a click that changed the selection the step stays.
    Click(PX(0), PY(2));
    editor.ClearUndo();
    PressAndRelease(elbow, kAxisCentre);
    EXPECT_EQ(editor.undo.TopLabel(), "IK Move");
    // Without an end joint, or without an active viewport window, a drag
    // solves nothing.
    const std::string before = SceneText(scene());
    toolView.activeViewport = false;
    DragHandle(elbow, kAxisCentre, 10, 0);
    EXPECT_EQ(SceneText(scene()), before);
}

TEST_F(IKToolTest, AutoKeyframingKeysEveryJointAfterADrag) {
    editor.animation().GoToFrame(7);
    editor.animation().SetAutoKeyframing(true);
    DragHandle(hand, kAxisCentre, -5, -5, 2);
    for (rgBone* joint : {shoulder, elbow, hand, k}) {
        ASSERT_TRUE(joint->HasKey(7)) << joint->GetName();
        EXPECT_EQ(*joint->GetKeyMatrix(7), joint->GetOffsetMatrix());
        EXPECT_EQ(joint->GetKeyCount(), 1);
    }
    EXPECT_NE(elbow->GetOffsetMatrix(), matrix44());
    editor.Undo();
    TakeNodesAfresh();
    EXPECT_EQ(shoulder->GetKeyCount(), 0);
}

TEST_F(IKToolTest, AnEndJointDeletedByAScriptIsLetGo) {
    elbow->SetSelected(true);  // a script selects the elbow, so its handles show,
    delete hand;               // and deletes the end joint
    editor.ClearUndo();
    DragHandle(elbow, kAxisCentre, 10, 0);
    EXPECT_EQ(ik().EndJoint(), nullptr);
    EXPECT_EQ(elbow->GetOffsetMatrix(), matrix44());
    EXPECT_EQ(shoulder->GetOffsetMatrix(), matrix44());
    EXPECT_EQ(editor.undo.Count(), 0);  // nothing moved: the step is withdrawn
}

}  // namespace
