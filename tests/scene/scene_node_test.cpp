#include <numbers>

#include "tests/scene/recording_painter.h"
#include "tests/scene/scene_fixture.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

using SceneNodeTest = SceneTest;

TEST_F(SceneNodeTest, TranslateAlongTheReferenceFrame) {
    struct Case {
        vector3 frameX, frameY, frameZ, d, expected;
    } cases[] = {
        {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 2, 3}, {1, 2, 3}},
        {{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, {1, 0, 0}, {0, 1, 0}},
        {{0, 0, 2}, {0, 1, 0}, {1, 0, 0}, {1, 1, 1}, {1, 1, 2}},
    };
    for (const auto& c : cases) {
        rgSceneNode* node = AddNode(nullptr, "n");
        matrix44 frame;
        frame.set(c.frameX.x, c.frameX.y, c.frameX.z, 0, c.frameY.x, c.frameY.y, c.frameY.z, 0, c.frameZ.x,
                  c.frameZ.y, c.frameZ.z, 0, 9, 9, 9, 1);  // the frame's own position plays no part
        node->Translate(c.d, frame);
        EXPECT_TRUE(Near3(node->GetMatrix().pos_component(), c.expected));
    }
}

TEST_F(SceneNodeTest, RotateTurnsAboutTheNodesOwnPosition) {
    rgSceneNode* node = AddNode(nullptr, "n");
    node->GetMatrix().translate(5, 0, 0);
    node->Rotate({0, 0, kPi / 2}, matrix44());
    const matrix44& m = node->GetMatrix();
    EXPECT_TRUE(Near3(m.pos_component(), {5, 0, 0}));
    EXPECT_TRUE(Near3(m.x_component(), {0, -1, 0}));  // the axis-angle sense of `rotate`
    EXPECT_TRUE(Near3(m.y_component(), {1, 0, 0}));
}

TEST_F(SceneNodeTest, UpdateMatrixChainsLocalTimesParentGlobal) {
    rgSceneNode* a = AddNode(nullptr, "A");
    rgSceneNode* b = AddNode(a, "B");
    a->GetMatrix().translate(1, 0, 0);
    b->GetMatrix().translate(0, 2, 0);
    scene->UpdateScene();
    vector3 p;
    b->GetPosition(p);
    EXPECT_TRUE(Near3(p, {1, 2, 0}));
    // A turned parent turns the child's offset with it.
    a->Rotate({0, 0, kPi / 2}, matrix44());
    scene->UpdateScene();
    b->GetPosition(p);
    EXPECT_TRUE(Near3(p, {3, 0, 0}));
}

TEST_F(SceneNodeTest, HiddenNodesAndTheirDescendantsAreNeitherDrawnNorPicked) {
    rgMesh* parent = AddMesh(nullptr);
    parent->SetName("parent");
    rgMesh* child = AddMesh(parent);
    child->SetName("child");
    RecordingPainter painter;

    root()->Draw(painter, 3, false);
    EXPECT_EQ(painter.drawn, (std::vector<std::string>{"child", "parent"}));  // children first

    parent->Hide();
    EXPECT_FALSE(child->IsVisible());  // Hide recurses
    // A hidden parent hides a visible child without touching its flag.
    child->Show();
    EXPECT_TRUE(child->IsVisible());
    painter.drawn.clear();
    root()->Draw(painter, 3, false);
    EXPECT_TRUE(painter.drawn.empty());
    EXPECT_FALSE(parent->Pick(painter, 0, 0));
    EXPECT_TRUE(painter.picked.empty());
    EXPECT_EQ(painter.depth, 0);

    parent->Show();
    parent->SetSelected(true);
    child->SetSelected(true);
    parent->Hide();
    EXPECT_FALSE(parent->GetSelected());
    EXPECT_FALSE(child->GetSelected());
}

TEST_F(SceneNodeTest, UnknownMaterialDrawsUntexturedAndResets) {
    rgMesh* textured = AddMesh(nullptr);
    rgMesh* orphan = AddMesh(nullptr);
    textured->SetMaterial(5);
    orphan->SetMaterial(7);
    RecordingPainter painter;
    painter.textures = {5};
    root()->Draw(painter, 5, false);
    EXPECT_EQ(painter.bound, (std::vector<int>{5, -1, -1}));  // root, textured, orphan in walk order
    EXPECT_EQ(textured->GetMaterial(), 5);
    EXPECT_EQ(orphan->GetMaterial(), -1);
}

TEST_F(SceneNodeTest, DeletingANodeDeletesItsSubtreeAndLeavesItsParent) {
    rgSceneNode* a = AddNode(nullptr, "A");
    rgSceneNode* b = AddNode(a, "B");
    AddJoint(b);
    AddNode(nullptr, "D");
    rgMesh* mesh = AddMesh(a);
    (void)mesh;
    delete a;  // ASan reports any node left behind or freed twice
    ASSERT_EQ(root()->GetChildCount(), 1);
    EXPECT_EQ(root()->GetChild(0)->GetName(), "D");
    EXPECT_EQ(scene->GetFirstNode(), root()->GetChild(0));
    EXPECT_EQ(scene->GetNextNode(), nullptr);
}

TEST_F(SceneNodeTest, CloneOfBaseNodesKeepsStructureNameAndColour) {
    rgSceneNode* a = AddNode(nullptr, "A");
    rgSceneNode* b = AddNode(a, "B");
    a->SetColor(1, 0, 0);
    a->SetSelected(true);
    b->Hide();
    b->SetMaterial(3);
    b->GetMatrix().translate(1, 2, 3);

    std::unique_ptr<rgSceneNode> copy(a->Clone(nullptr, scene.get()));
    ASSERT_EQ(copy->GetChildCount(), 1);
    rgSceneNode* cb = copy->GetChild(0);
    EXPECT_EQ(cb->GetParent(), copy.get());
    EXPECT_TRUE(copy->GetSelected());
    EXPECT_FALSE(cb->IsVisible());
    EXPECT_EQ(cb->GetMaterial(), 3);
    EXPECT_EQ(cb->GetMatrix(), b->GetMatrix());
    EXPECT_EQ(copy->GetName(), "A");
    EXPECT_EQ(copy->GetColor(), vector3(1, 0, 0));
    EXPECT_EQ(copy->GetParent(), nullptr);
}

TEST_F(SceneNodeTest, NamesAndClassNames) {
    rgSceneNode* n = AddNode(nullptr, "n");
    n->SetName(std::string(100, 'x'));
    EXPECT_EQ(n->GetName().size(), 63u);
    n->SetName(static_cast<const char*>(nullptr));
    EXPECT_EQ(n->GetName().size(), 63u);
    EXPECT_STREQ(n->GetClassName(), "rgSceneNode");

    rgMesh* mesh = AddMesh(nullptr);
    rgBone* joint = AddJoint(nullptr);
    EXPECT_TRUE(mesh->IsClass("RGMESH"));
    EXPECT_TRUE(joint->IsClass("rgbone"));
    EXPECT_FALSE(joint->IsClass("rgMesh"));
    EXPECT_EQ(ToMesh(joint), nullptr);
    EXPECT_EQ(ToBone(joint), joint);
    EXPECT_EQ(ToMesh(n), nullptr);
    EXPECT_EQ(mesh->GetName(), "Mesh");
}

TEST_F(SceneNodeTest, AttachKeepsTheHierarchyATree) {
    rgSceneNode* a = AddNode(nullptr, "A");
    rgSceneNode* b = AddNode(a, "B");
    rgSceneNode* c = AddNode(nullptr, "C");
    b->AttachChild(a);  // under its own descendant: refused
    EXPECT_EQ(a->GetParent(), root());
    a->AttachChild(a);
    EXPECT_EQ(a->GetChildCount(), 1);
    c->AttachChild(b);  // moving a node detaches it from its old parent
    EXPECT_EQ(a->GetChildCount(), 0);
    EXPECT_EQ(b->GetParent(), c);
    EXPECT_EQ(a->GetChild(5), nullptr);
    EXPECT_EQ(a->GetChild(-1), nullptr);
}

TEST_F(SceneNodeTest, GizmosAreDrawnForSelectedVisibleNodesOnlyAndPickedWithHandlesOn) {
    rgSceneNode* a = AddNode(nullptr, "A");
    rgSceneNode* b = AddNode(a, "B");
    AddNode(nullptr, "C")->SetSelected(true);
    b->SetSelected(true);
    RecordingPainter painter;
    root()->DrawAxes(painter);
    EXPECT_EQ(painter.gizmos, (std::vector<std::string>{"B", "C"}));

    painter.gizmos.clear();
    EXPECT_FALSE(b->PickAxis(painter));  // handles hidden
    context.state.showHandles = true;
    EXPECT_TRUE(b->PickAxis(painter));
    EXPECT_FALSE(a->PickAxis(painter));  // not selected
    EXPECT_EQ(painter.gizmos, (std::vector<std::string>{"B"}));
}

}  // namespace
