#include "editing/joint_commands.h"
#include "editing/rg_bone_create.h"
#include "editing/rg_node_attach.h"
#include "tests/editing/tool_fixture.h"

namespace {

class JointToolTest : public ToolTest {
protected:
    std::vector<rgBone*> Joints() {
        std::vector<rgBone*> joints;
        scene().ForEach([&](rgSceneNode* node) {
            if (rgBone* j = ToBone(node)) joints.push_back(j);
        });
        return joints;
    }
    void ClickAt(vector3 p) {
        const rgPixel px = viewport.PixelOf(p);
        Click(px.x, px.y);
    }
    void DragBetween(vector3 from, vector3 to) {
        const rgPixel a = viewport.PixelOf(from), b = viewport.PixelOf(to);
        Press(a.x, a.y);
        Move((a.x + b.x) / 2, (a.y + b.y) / 2);
        Move(b.x, b.y);
        Release(b.x, b.y);
    }
    // A chain root (0, 0) -> child (0, 2) -> grandchild (2, 2), in the XY plane.
    std::vector<rgBone*> AddChain(vector3 offset = {}) {
        rgBone* root = AddJoint(nullptr, offset);
        rgBone* child = AddJoint(root, {0, 2, 0});
        rgBone* grandchild = AddJoint(child, {2, 0, 0});
        return {root, child, grandchild};
    }
};

TEST_F(JointToolTest, ThreeClicksInTheFrontViewDrawAChain) {
    tools().Click(rgToolButton::EditCreateBone);
    EXPECT_EQ(toolView.status,
              "Click to add a bone below the selected, deselect all bones and click to start a "
              "new skeleton");
    const vector3 points[] = {{1, 1, 0}, {1, 4, 0}, {3, 6, 0}};
    std::vector<std::string> scenes;
    for (const vector3& p : points) {
        scenes.push_back(SceneText(scene()));
        ClickAt(p);
        EXPECT_EQ(editor.undo.TopLabel(), "Create Joint");
    }
    const std::vector<rgBone*> joints = Joints();
    ASSERT_EQ(joints.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(Near(WorldPosition(joints[i]), points[i]));
        EXPECT_EQ(joints[i]->GetSelected(), i == 2);
        if (i > 0) {
            EXPECT_EQ(joints[i]->GetParent(), joints[i - 1]);
        }
    }
    EXPECT_EQ(joints[0]->GetParent(), scene().GetRootNode());
    EXPECT_TRUE(tree.items.at(joints[2]).selected);
    for (int i = 2; i >= 0; --i) {
        editor.Undo();
        EXPECT_EQ(SceneText(scene()), scenes[i]);
    }
    // Undo left the tool on, with the restored selection's joint as current.
    EXPECT_TRUE(tools().IsDown(rgToolButton::EditCreateBone));
}

TEST_F(JointToolTest, ThePerspectiveViewPlacesJointsAtHalfDepth) {
    viewport.state.projection = kProjPerspective;
    tools().Click(rgToolButton::EditCreateBone);
    Click(120, 80);
    ASSERT_EQ(Joints().size(), 1u);
    EXPECT_TRUE(
        Near(WorldPosition(Joints()[0]), ScreenToWorld(viewport.state, kSize, kSize, 120, 80)));
    EXPECT_GT(WorldPosition(Joints()[0]).z, 90.0f);  // just in front of the eye, not on the ground
}

TEST_F(JointToolTest, ATreeRowWithoutAJointStartsASecondSkeleton) {
    rgBone* existing = AddJoint(nullptr, {0, 0, 0});
    existing->SetSelected(true);
    tools().Click(rgToolButton::EditCreateBone);  // takes the selected joint as current
    ClickAt({0, 3, 0});
    EXPECT_EQ(Joints()[1]->GetParent(), existing);
    tools().boneCreate().TreeRowReleased(nullptr);
    ClickAt({5, 5, 0});
    EXPECT_EQ(Joints().back()->GetParent(), scene().GetRootNode());
    // A row's joint becomes current and the only selected joint.
    tools().boneCreate().TreeRowReleased(existing);
    EXPECT_FALSE(Joints().back()->GetSelected());
    ClickAt({-2, 0, 0});
    EXPECT_EQ(Joints()[1]->GetParent(), existing);
    EXPECT_EQ(existing->GetChildCount(), 2);
}

TEST_F(JointToolTest, ACurrentJointDeletedByAScriptIsForgotten) {
    rgBone* joint = AddJoint(nullptr, {0, 0, 0});
    joint->SetSelected(true);
    tools().Click(rgToolButton::EditCreateBone);
    delete joint;
    ClickAt({1, 1, 0});
    ASSERT_EQ(Joints().size(), 1u);
    EXPECT_EQ(Joints()[0]->GetParent(), scene().GetRootNode());
}

TEST_F(JointToolTest, AttachMovesAChildUnderTheJointItIsDroppedOn) {
    const std::vector<rgBone*> chain = AddChain();
    const std::vector<rgBone*> other = AddChain({6, 0, 0});
    scene().RebuildTree();
    tools().Click(rgToolButton::AttachJoints);
    EXPECT_EQ(toolView.status, "Click child node and drag to parent node");

    // Onto its own grandchild: nothing.
    DragBetween({0, 0, 0}, {2, 2, 0});
    EXPECT_EQ(chain[0]->GetParent(), scene().GetRootNode());
    EXPECT_FALSE(editor.undo.HasSteps());
    EXPECT_FALSE(viewport.lines.empty());

    // A grandchild onto the root joint of its own skeleton. (The picks
    // change the selection without a step of their own.)
    const std::string before = SceneText(scene(), false);
    DragBetween({2, 2, 0}, {0, 0, 0});
    EXPECT_EQ(chain[2]->GetParent(), chain[0]);
    EXPECT_TRUE(Near(WorldPosition(chain[2]), {2, 2, 0}));
    EXPECT_EQ(editor.undo.TopLabel(), "Attach Joints");
    EXPECT_EQ(tree.items.at(chain[2]).parent, chain[0]);
    editor.Undo();
    EXPECT_EQ(SceneText(scene(), false), before);

    // One skeleton under a joint of another.
    rgBone* otherRoot = ToBone(scene().GetRootNode()->GetChild(1));
    rgBone* target = ToBone(scene().GetRootNode()->GetChild(0)->GetChild(0));
    DragBetween({6, 0, 0}, {0, 2, 0});
    EXPECT_EQ(otherRoot->GetParent(), target);
    EXPECT_TRUE(Near(WorldPosition(otherRoot->GetChild(0)->GetChild(0)), {8, 2, 0}));
    (void)other;
}

TEST_F(JointToolTest, AttachPicksTheLaterOfOverlappingJointsAndIgnoresMisses) {
    rgBone* first = AddJoint(nullptr, {0, 0, 0});
    rgBone* second = AddJoint(nullptr, {0, 0, 0});
    rgBone* target = AddJoint(nullptr, {4, 0, 0});
    tools().Click(rgToolButton::AttachJoints);
    DragBetween({0, 0, 0}, {4, 0, 0});
    EXPECT_EQ(second->GetParent(), target);
    EXPECT_EQ(first->GetParent(), scene().GetRootNode());

    editor.ClearUndo();
    DragBetween({-5, -5, 0}, {4, 0, 0});  // a press on nothing starts no drag,
    EXPECT_TRUE(target->GetSelected());     // but the release still picks
    DragBetween({0, 0, 0}, {-5, -5, 0});  // a release on nothing
    EXPECT_FALSE(editor.undo.HasSteps());
    EXPECT_EQ(first->GetParent(), scene().GetRootNode());
}

TEST_F(JointToolTest, DetachMovesSelectedJointsToTheRootInPlace) {
    const std::vector<rgBone*> chain = AddChain({1, 1, 0});
    chain[1]->Rotate({0.3f, 0.2f, 0.1f}, matrix44());
    chain[1]->SetSelected(true);
    chain[0]->SetSelected(true);  // already at the root: stays where it is
    scene().UpdateScene();
    const matrix44 world1 = chain[1]->GetGlobalMatrix(), world2 = chain[2]->GetGlobalMatrix();
    const std::string before = SceneText(scene());
    DetachJoints(editor);
    EXPECT_EQ(editor.undo.TopLabel(), "Detach Joints");
    EXPECT_EQ(chain[1]->GetParent(), scene().GetRootNode());
    EXPECT_EQ(scene().GetRootNode()->GetChild(0), chain[0]);
    EXPECT_EQ(chain[2]->GetParent(), chain[1]);
    scene().UpdateScene();
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(chain[1]->GetGlobalMatrix().m[i], world1.m[i], 1e-5f);
        EXPECT_NEAR(chain[2]->GetGlobalMatrix().m[i], world2.m[i], 1e-5f);
    }
    editor.Undo();
    EXPECT_EQ(SceneText(scene()), before);
    DetachJoints(editor);  // nothing selected any more below the root
    EXPECT_EQ(editor.undo.TopLabel(), "Detach Joints");
}

TEST_F(JointToolTest, AutoOrientPointsZFromTheChildrenAndKeepsThemInPlace) {
    const std::vector<rgBone*> chain = AddChain();
    rgMesh* mesh = AddSquare(0, 0, 0, 1);
    chain[1]->AttachChild(mesh);
    for (rgBone* j : chain) j->SetSelected(true);
    const std::string before = SceneText(scene());
    AutoOrientJoints(editor);
    EXPECT_EQ(editor.undo.TopLabel(), "Auto Orient Joints");
    scene().UpdateScene();
    // The root joint has no joint parent: unturned.
    EXPECT_TRUE(Near(chain[0]->GetGlobalMatrix().z_component(), {0, 0, 1}));
    // The child's Z points from its child (2, 2) towards itself (0, 2).
    EXPECT_TRUE(Near(chain[1]->GetGlobalMatrix().z_component(), {-1, 0, 0}));
    // No child joints: the fixed frame.
    const matrix44& g = chain[2]->GetGlobalMatrix();
    EXPECT_TRUE(Near(g.x_component(), {-1, 0, 0}));
    EXPECT_TRUE(Near(g.y_component(), {0, -1, 0}));
    EXPECT_TRUE(Near(g.z_component(), {0, 0, 1}));
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(Near(WorldPosition(chain[i]),
                         std::vector<vector3>{{0, 0, 0}, {0, 2, 0}, {2, 2, 0}}[i]));
    EXPECT_EQ(mesh->GetParent(), chain[1]);
    EXPECT_EQ(chain[2]->GetParent(), chain[1]);
    editor.Undo();
    EXPECT_EQ(SceneText(scene()), before);
}

TEST_F(JointToolTest, AutoOrientHandlesZAlongTheUpAxis) {
    // A child straight below (Z points up), straight above (Z points down)
    // and right on top of the joint.
    rgBone* base = AddJoint(nullptr, {0, 0, 0});
    rgBone* up = AddJoint(base, {-5, 0, 0});
    AddJoint(up, {0, -2, 0});
    rgBone* down = AddJoint(base, {0, 1, 0});
    AddJoint(down, {0, 3, 0});
    rgBone* squeezed = AddJoint(base, {5, 0, 0});
    AddJoint(squeezed, {0, 0, 0});
    for (rgBone* j : {up, down, squeezed}) j->SetSelected(true);
    AutoOrientJoints(editor);
    scene().UpdateScene();
    // Every frame is a rotation: unit axes at right angles, right-handed.
    for (rgBone* j : {up, down, squeezed}) {
        const matrix44& g = j->GetGlobalMatrix();
        EXPECT_NEAR(g.x_component().len(), 1.0f, 1e-5f);
        EXPECT_NEAR(g.y_component().len(), 1.0f, 1e-5f);
        EXPECT_NEAR(g.x_component().DotProduct(g.y_component()), 0.0f, 1e-5f);
        EXPECT_TRUE(Near(g.x_component().CrossProduct(g.y_component()), g.z_component()));
    }
    EXPECT_TRUE(Near(down->GetGlobalMatrix().z_component(), {0, -1, 0}));
    EXPECT_TRUE(Near(up->GetGlobalMatrix().z_component(), {0, 1, 0}));
}

}  // namespace
