#include "editing/joint_tree_commands.h"

#include "editing/rg_bone_create.h"
#include "editing/rg_object_prop.h"
#include "editing/rg_vertex_assign.h"
#include "tests/editing/tool_fixture.h"

namespace {

// Root -> elbow -> hand, and a second root.
class JointTreeCommandsTest : public ToolTest {
protected:
    JointTreeCommandsTest() {
        root = AddJoint(nullptr, {0, 0, 0});
        elbow = AddJoint(root, {0, 2, 0});
        hand = AddJoint(elbow, {0, 2, 0});
        other = AddJoint(nullptr, {4, 0, 0});
    }
    rgBone* root;
    rgBone* elbow;
    rgBone* hand;
    rgBone* other;
};

TEST_F(JointTreeCommandsTest, TheTreeSelectionBecomesTheJointSelection) {
    other->SetSelected(true);
    root->Hide();
    elbow->Hide();
    hand->Hide();
    const int redraws = docView.redraws;
    SelectJointsFromTree(editor, {elbow});
    EXPECT_TRUE(elbow->GetSelected());
    EXPECT_FALSE(other->GetSelected());
    // The hidden joint shows again with its ancestors, not its children.
    EXPECT_TRUE(elbow->IsVisible());
    EXPECT_TRUE(root->IsVisible());
    EXPECT_FALSE(hand->IsVisible());
    EXPECT_TRUE(hand->parentselected);
    EXPECT_FALSE(elbow->parentselected);
    EXPECT_GT(docView.redraws, redraws);
    EXPECT_EQ(editor.undo.Count(), 0);
    SelectJointsFromTree(editor, {});
    EXPECT_FALSE(elbow->GetSelected());
    EXPECT_FALSE(hand->parentselected);
}

TEST_F(JointTreeCommandsTest, AMouseUpInTheTreeGoesToTheActiveTool) {
    // Joint creation: the row's joint (or none, for "Scene") becomes current.
    // (A click on a row selects it first.)
    tools().Click(rgToolButton::EditCreateBone);
    SelectJointsFromTree(editor, {elbow, other});
    TreeMouseUp(editor, elbow);
    EXPECT_EQ(tools().boneCreate().CurrentJoint(), elbow);
    EXPECT_TRUE(elbow->GetSelected());
    EXPECT_FALSE(other->GetSelected());
    TreeMouseUp(editor, nullptr);
    EXPECT_EQ(tools().boneCreate().CurrentJoint(), nullptr);

    // Object properties: the node selected through the tree is shown.
    tools().Click(rgToolButton::EditObjectProperties);
    SelectJointsFromTree(editor, {hand});
    TreeMouseUp(editor, hand);
    EXPECT_EQ(tools().objectProp().CurrentNode(), hand);
    EXPECT_EQ(tools().objectProp().Properties().name, hand->GetName());
    EXPECT_TRUE(toolView.pages & kPageJoint);

    // Vertex assignment: the selected joint becomes the current joint.
    tools().Click(rgToolButton::EditVertexAssign);
    SelectJointsFromTree(editor, {other});
    TreeMouseUp(editor, other);
    EXPECT_EQ(tools().vertexAssign().CurrentJoint(), other);

    // Any other tool ignores it.
    tools().Click(rgToolButton::EditSelect);
    SelectJointsFromTree(editor, {root});
    TreeMouseUp(editor, root);
    EXPECT_TRUE(root->GetSelected());
}

}  // namespace
