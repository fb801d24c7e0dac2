#include <cmath>
#include <numbers>

#include "tests/scene/recording_painter.h"
#include "tests/scene/scene_fixture.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

using BoneTest = SceneTest;

vector3 WorldPosition(rgSceneNode* node) {
    vector3 p;
    node->GetPosition(p);
    return p;
}

TEST_F(BoneTest, ObjectsLevelChainAndRelaxedMatrices) {
    rgBone* parent = AddJoint(nullptr, {1, 0, 0});
    rgBone* child = AddJoint(parent, {0, 2, 0});
    rgMesh* mesh = AddMesh(nullptr);
    mesh->GetMatrix().translate(0, 0, 5);
    rgBone* underMesh = AddJoint(mesh, {1, 1, 1});
    scene->UpdateScene();
    EXPECT_TRUE(Near3(WorldPosition(child), {1, 2, 0}));
    EXPECT_TRUE(Near3(child->GetRelaxedMatrix().pos_component(), {1, 2, 0}));
    EXPECT_EQ(underMesh->GetRelaxedMatrix(), underMesh->GetLocalMatrix());  // a mesh parent adds nothing
    EXPECT_TRUE(Near3(WorldPosition(underMesh), {1, 1, 6}));
    matrix44 product = child->GetRelaxedMatrix() * child->GetInverseRelaxedMatrix();
    EXPECT_TRUE(Near3(product.x_component(), {1, 0, 0}));
    EXPECT_TRUE(Near3(product.pos_component(), {0, 0, 0}));
}

TEST_F(BoneTest, AnimationLevelOffsetTurnsAboutThePivotAndMovesInParentAxes) {
    rgBone* parent = AddJoint(nullptr, {0, 0, 0});
    parent->GetLocalMatrix().rotate_z(kPi / 2);  // parent axes: x -> y
    rgBone* joint = AddJoint(parent, {3, 0, 0});
    joint->RotateOffset({0, 0, kPi / 2}, matrix44(), false);
    scene->UpdateScene();
    EXPECT_TRUE(Near3(WorldPosition(joint), {0, 3, 0}));  // Objects level ignores the offset

    Animation();
    scene->UpdateScene();
    EXPECT_TRUE(Near3(WorldPosition(joint), {0, 3, 0}));  // the pivot stays
    EXPECT_TRUE(Near3(joint->GetGlobalMatrix().x_component(), {1, 0, 0}));  // axes turned
    EXPECT_EQ(joint->GetMatrix(), joint->GetLocalMatrix() * joint->GetOffsetMatrix());

    joint->TranslateOffset({0, 1, 0}, matrix44());
    scene->UpdateScene();
    // (0, 1, 0) in the parent's axes, whatever the offset rotation.
    EXPECT_TRUE(Near3(WorldPosition(joint), {-1, 3, 0}));

    joint->ResetOffset();
    scene->UpdateScene();
    EXPECT_TRUE(Near3(WorldPosition(joint), {0, 3, 0}));
    context.state.editLevel = kEditObjects;
    EXPECT_EQ(joint->GetMatrix(), joint->GetLocalMatrix());
}

TEST_F(BoneTest, NumbersNamesAndTheCounter) {
    rgBone* first = AddJoint(nullptr);
    EXPECT_EQ(first->GetName(), "Joint1");
    AddJoint(nullptr);
    EXPECT_EQ(context.nextJointNumber, 3);
    first->SetId(7);
    EXPECT_EQ(context.nextJointNumber, 8);
    EXPECT_EQ(AddJoint(nullptr)->GetName(), "Joint8");
    first->SetId(2);  // below the counter: counter unchanged
    EXPECT_EQ(context.nextJointNumber, 9);

    context.state.mergeMode = true;
    context.state.jointIdOffset = 20;
    first->SetId(1);
    EXPECT_EQ(first->GetId(), 21);
    EXPECT_EQ(context.nextJointNumber, 22);
}

TEST_F(BoneTest, LimitModesClampTheOffsetRotation) {
    constexpr float kDeg = kPi / 180.0f;
    struct Case {
        const char* name;
        int mode;
        float first, second, turnDegrees, expectedDegrees;
    } cases[] = {
        {"limited, limits in either order", kLimitLimited, 30, -30, 50, 30},
        // Limits bound the Euler angle of the offset, which runs opposite to
        // the turn's sense: a turn of t is an angle of -t.
        {"limited, angle above the range", kLimitLimited, -10, 20, -40, -20},
        {"limited, angle below the range", kLimitLimited, -10, 20, 15, 10},
        {"limited, inside", kLimitLimited, -10, 20, 5, 5},
        {"locked", kLimitLocked, 30, -30, 50, 0},
        {"free", kLimitFree, 30, -30, 50, 50},
    };
    for (const auto& c : cases) {
        rgBone* joint = AddJoint(nullptr);
        joint->SetXConstraints(c.mode, c.first, c.second);
        joint->RotateOffset({c.turnDegrees * kDeg, 0, 0}, matrix44(), true);
        matrix44 expected;
        expected.rotate(1, 0, 0, c.expectedDegrees * kDeg);
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(joint->GetOffsetMatrix().m[i], expected.m[i], 1e-5f) << c.name << " element " << i;
        int mode;
        float a, b;
        joint->GetXConstraints(mode, a, b);
        EXPECT_EQ(mode, c.mode);
        EXPECT_EQ(a, c.first);
    }
}

TEST_F(BoneTest, ClampedAnglesAreTheAnglesTheOffsetEndsWith) {
    // A joint turned at rest; an offset of (0.3, -0.4, 0.5) radians in its own frame.
    rgBone* joint = AddJoint(nullptr, {1, 2, 3});
    joint->GetLocalMatrix().rotate(0.48f, 0.6f, 0.64f, 0.7f);
    joint->GetLocalMatrix().translate(1, 2, 3);
    matrix44 own;
    own.rotate_x(0.3f);
    own.rotate_y(-0.4f);
    own.rotate_z(0.5f);
    matrix44 turn = joint->GetLocalMatrix(), inverseTurn;
    turn.clear_translation();
    inverseTurn = turn;
    inverseTurn.invert();
    matrix44 offset = inverseTurn * own * turn;
    offset.translate(0.5f, 0, 0);
    joint->SetOffsetMatrix(offset);
    joint->SetXConstraints(kLimitLocked, 0, 0);
    joint->SetZConstraints(kLimitLimited, 20, -10);
    joint->ApplyConstraints();
    matrix44 inverseLocal = joint->GetLocalMatrix();
    inverseLocal.invert();
    const vector3 e =
        (joint->GetLocalMatrix() * joint->GetOffsetMatrix() * inverseLocal).get_eulers();
    EXPECT_NEAR(e.x, 0, 1e-6f);
    EXPECT_NEAR(e.y, -0.4f, 1e-6f);
    EXPECT_NEAR(e.z, 20 * kPi / 180, 1e-6f);
    EXPECT_TRUE(Near3(joint->GetOffsetMatrix().pos_component(), {0.5f, 0, 0}));

    // A stretched joint has no angles to read: the offset stays as it was.
    joint->GetLocalMatrix().ident();
    joint->GetLocalMatrix().scale(3, 1, 1);
    matrix44 turned;
    turned.rotate(0, 1, 0, 1.0f);
    joint->SetOffsetMatrix(turned);
    joint->SetYConstraints(kLimitLimited, -5, 5);
    joint->ApplyConstraints();
    EXPECT_EQ(joint->GetOffsetMatrix(), turned);
}

TEST_F(BoneTest, MovingWithoutAffectChildrenKeepsChildJointsInPlace) {
    options.affectChildren = false;
    rgBone* joint = AddJoint(nullptr, {1, 0, 0});
    rgBone* child = AddJoint(joint, {0, 2, 0});
    rgBone* grandchild = AddJoint(child, {0, 1, 0});
    rgMesh* mesh = AddMesh(joint);
    mesh->GetMatrix().translate(0, 0, 1);
    scene->UpdateScene();
    tree.log.clear();

    joint->Translate({5, 0, 0}, matrix44());
    joint->Rotate({0, 0, kPi / 3}, matrix44());
    scene->UpdateScene();
    EXPECT_TRUE(Near3(WorldPosition(child), {1, 2, 0}, 1e-4f));
    EXPECT_TRUE(Near3(WorldPosition(grandchild), {1, 3, 0}, 1e-4f));
    EXPECT_EQ(child->GetParent(), joint);
    EXPECT_EQ(grandchild->GetParent(), child);
    EXPECT_TRUE(Near3(WorldPosition(mesh), {6, 0, 1}, 1e-4f));  // meshes move with the joint
    EXPECT_FALSE(tree.suspendedNow);
    EXPECT_EQ(tree.items.at(child).parent, joint);  // the tree shows the hierarchy again
    EXPECT_EQ(tree.items.at(grandchild).parent, child);

    options.affectChildren = true;
    joint->Translate({1, 0, 0}, matrix44());
    scene->UpdateScene();
    EXPECT_TRUE(Near3(WorldPosition(child), {2, 2, 0}, 1e-4f));
}

TEST_F(BoneTest, ScaleSpreadsChildJointsAndKeyMoves) {
    rgBone* joint = AddJoint(nullptr, {1, 1, 1});
    rgBone* child = AddJoint(joint, {1, 2, 3});
    rgMesh* mesh = AddMesh(joint);
    mesh->GetMatrix().translate(1, 1, 1);
    matrix44 key;
    key.translate(2, 2, 2);
    joint->SetKey(1, key);
    joint->Scale(2, 3, 4);
    EXPECT_EQ(joint->GetLocalMatrix().pos_component(), vector3(1, 1, 1));
    EXPECT_EQ(child->GetLocalMatrix().pos_component(), vector3(2, 6, 12));
    EXPECT_EQ(mesh->GetMatrix().pos_component(), vector3(1, 1, 1));
    EXPECT_EQ(joint->GetKey(0)->matrix.pos_component(), vector3(4, 6, 8));
    EXPECT_EQ(joint->GetPendingScale(), vector3(1, 1, 1));
}

TEST_F(BoneTest, SelectionMarksDescendantsAndCheckGivesTheExactValue) {
    rgBone* a = AddJoint(nullptr);
    rgMesh* mesh = AddMesh(a);
    rgBone* b = AddJoint(mesh);
    rgBone* c = AddJoint(b);
    a->SetSelected(false);
    EXPECT_TRUE(b->parentselected);  // provisional, whatever the value
    EXPECT_TRUE(c->parentselected);
    EXPECT_FALSE(c->CheckParentSelection());
    a->SetSelected(true);
    EXPECT_TRUE(c->CheckParentSelection());  // through the mesh
    EXPECT_FALSE(a->CheckParentSelection());
    a->SetSelected(false);
    b->SetSelected(true);
    EXPECT_TRUE(c->CheckParentSelection());
    EXPECT_FALSE(b->CheckParentSelection());
}

TEST_F(BoneTest, DuplicateTakesANewNumberCloneKeepsIt) {
    rgBone* j1 = AddJoint(nullptr);
    AddJoint(nullptr);
    rgBone* j3 = AddJoint(j1);
    j3->SetSelected(true);
    j3->SetColor(1, 0, 0);
    j3->SetIKWeight(0.5f);
    j3->SetYConstraints(kLimitLocked, 1, 2);
    j3->SetKey(4, matrix44(), 0.1f);
    AddJoint(j3);  // Joint4
    tree.log.clear();

    const int counter = context.nextJointNumber;
    std::unique_ptr<rgSceneNode> clone(j3->Clone(nullptr, scene.get()));
    rgBone* c = ToBone(clone.get());
    EXPECT_EQ(c->GetId(), 3);
    EXPECT_EQ(c->GetName(), "Joint3");
    EXPECT_EQ(ToBone(c->GetChild(0))->GetId(), 4);
    EXPECT_EQ(context.nextJointNumber, counter);
    EXPECT_EQ(c->GetColor(), vector3(1, 0, 0));
    EXPECT_EQ(c->GetKeyCount(), 1);
    EXPECT_FALSE(tree.HasItem(c));

    rgBone* d = ToBone(j3->Duplicate(nullptr));
    EXPECT_EQ(d->GetName(), "Joint3 Copy");
    EXPECT_EQ(d->GetId(), counter);
    EXPECT_EQ(d->GetParent(), j1);
    EXPECT_FALSE(d->GetSelected());
    EXPECT_EQ(d->GetColor(), vector3(1, 1, 1));
    EXPECT_EQ(d->GetIKWeight(), 0.5f);
    EXPECT_EQ(d->GetKeyCount(), 1);
    EXPECT_EQ(d->GetKey(0)->trans_tcb.x, 0.1f);
    ASSERT_EQ(d->GetChildCount(), 1);
    EXPECT_EQ(d->GetChild(0)->GetName(), "Joint4 Copy");
    EXPECT_TRUE(tree.Changes().empty());  // items come with the next rebuild
}

TEST_F(BoneTest, MirrorNegatesAxesNotPosition) {
    rgBone* joint = AddJoint(nullptr, {1, 2, 3});
    joint->Mirror(true, false, true);
    const matrix44& m = joint->GetLocalMatrix();
    EXPECT_EQ(m.x_component(), vector3(-1, 0, 0));
    EXPECT_EQ(m.y_component(), vector3(0, 1, 0));
    EXPECT_EQ(m.z_component(), vector3(0, 0, -1));
    EXPECT_EQ(m.pos_component(), vector3(1, 2, 3));
    vector3 c;
    float r;
    scene->UpdateScene();
    joint->GetBoundingSphere(c, r);
    EXPECT_EQ(c, vector3(1, 2, 3));
    EXPECT_FLOAT_EQ(r, 0.1f);
}

TEST_F(BoneTest, TreeItemsFollowTheHierarchy) {
    tree.Reset();
    tree.log.clear();
    rgBone* a = AddJoint(nullptr);
    rgMesh* mesh = AddMesh(a);
    rgBone* b = AddJoint(mesh);
    rgBone* c = AddJoint(a);
    c->SetName("Tip");
    c->SetSelected(true);
    c->Hide();
    a->DetachChild(c);
    root()->AttachChild(c);
    delete a;
    EXPECT_EQ(tree.Changes(), (std::vector<std::string>{
                                  "add Joint1 under Scene", "add Joint2 under Scene",
                                  "add Joint3 under Joint1", "caption Joint3 -> Tip",
                                  "select Tip off", "remove Tip", "add Tip under Scene",
                                  "remove Joint2", "remove Joint1"}));
    (void)b;
    EXPECT_TRUE(tree.HasItem(c));
    EXPECT_EQ(tree.items.size(), 1u);
}

TEST_F(BoneTest, DrawingAndPickingReachThePainter) {
    rgBone* joint = AddJoint(nullptr);
    RecordingPainter painter;
    root()->Draw(painter, 0, false);
    EXPECT_EQ(painter.drawn, (std::vector<std::string>{"Joint1"}));
    EXPECT_TRUE(joint->Pick(painter, 0, 0));
    EXPECT_EQ(painter.picked, (std::vector<std::string>{"Joint1"}));
}

}  // namespace
