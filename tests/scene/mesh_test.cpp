#include <numbers>

#include "tests/scene/recording_painter.h"
#include "tests/scene/scene_fixture.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

using MeshTest = SceneTest;

TEST_F(MeshTest, AddVertexMergeRules) {
    const rgVertex base = MakeVertex({1, 2, 3}, {0, 0, 1}, {0.5f, 0.5f});
    struct Case {
        const char* name;
        rgVertex second;
        bool merge;
        int expectedIndex;
    } cases[] = {
        {"identical, merge on", base, true, 0},
        {"identical, merge off", base, false, 1},
        {"other texcoords", MakeVertex({1, 2, 3}, {0, 0, 1}, {0.25f, 0.5f}), true, 1},
        {"other normal", MakeVertex({1, 2, 3}, {0, 1, 0}, {0.5f, 0.5f}), true, 1},
        {"position within 1e-7", MakeVertex({1, 2, 3.0000001f}, {0, 0, 1}, {0.5f, 0.5f}), true, 0},
        {"position beyond 1e-7", MakeVertex({1, 2, 3.0000005f}, {0, 0, 1}, {0.5f, 0.5f}), true, 1},
        {"texcoords within 1e-7", MakeVertex({1, 2, 3}, {0, 0, 1}, {0.50000003f, 0.5f}), true, 0},
    };
    for (const auto& c : cases) {
        rgMesh* mesh = AddMesh(nullptr);
        rgVertex first = base;
        first.bone[0] = 4;  // influences play no part in the match
        EXPECT_EQ(mesh->AddVertex(first), 0);
        EXPECT_EQ(mesh->AddVertex(c.second, c.merge), c.expectedIndex) << c.name;
        EXPECT_EQ(mesh->GetVertexCount(), c.expectedIndex + 1) << c.name;
    }
}

TEST_F(MeshTest, AddVertexCopiesFieldsAndShiftsJointIdsDuringAMerge) {
    rgMesh* mesh = AddMesh(nullptr);
    rgVertex v = MakeVertex({1, 0, 0});
    v.visible = false;
    v.selected = true;
    v.bone[0] = 0;
    v.bone[1] = 3;
    v.weight[1] = 0.5f;
    mesh->AddVertex(v);
    EXPECT_TRUE(mesh->GetVertex(0)->visible);
    EXPECT_TRUE(mesh->GetVertex(0)->selected);

    context.state.mergeMode = true;
    context.state.jointIdOffset = 10;
    v.position.x = 2;
    mesh->AddVertex(v);
    const rgVertex* merged = mesh->GetVertex(1);
    EXPECT_EQ(merged->bone[0], 10);
    EXPECT_EQ(merged->bone[1], 13);
    EXPECT_EQ(merged->bone[2], -1);  // empty slots stay empty
    EXPECT_EQ(merged->weight[1], 0.5f);
}

TEST_F(MeshTest, OutOfRangeAccessIsSafe) {
    rgMesh* mesh = AddMesh(nullptr);
    mesh->AddVertex(MakeVertex({1, 0, 0}));
    mesh->AddFace(0, 0, 0);
    for (int i : {-1, 1, 1000}) {
        EXPECT_EQ(mesh->GetVertex(i), nullptr);
        EXPECT_EQ(mesh->GetLocalVertex(i), nullptr);
        EXPECT_EQ(mesh->GetTransformedVertex(i), nullptr);
        int a = 7, b = 8, c = 9;
        mesh->GetFace(i, a, b, c);
        EXPECT_EQ(a * 100 + b * 10 + c, 789);
    }
    mesh->GetMatrix().translate(0, 5, 0);
    EXPECT_TRUE(Near3(mesh->GetLocalVertex(0)->position, {1, 5, 0}));
    EXPECT_TRUE(Near3(mesh->GetLocalVertex(0)->normal, {0, 0, 1}));  // no translation on normals
}

TEST_F(MeshTest, SplitVerticesShareGeneratedNormals) {
    rgMesh* mesh = AddMesh(nullptr);
    // Two triangles meeting at a seam: vertex 1 and 3 share a position, not texcoords.
    mesh->AddVertex(MakeVertex({0, 0, 0}, {}, {0, 0}));
    mesh->AddVertex(MakeVertex({1, 0, 0}, {}, {1, 0}));
    mesh->AddVertex(MakeVertex({0, 1, 0}, {}, {0, 1}));
    mesh->AddVertex(MakeVertex({1, 0, 0}, {}, {0.5f, 0}));
    mesh->AddVertex(MakeVertex({1, 0, -1}, {}, {1, 1}));
    mesh->AddVertex(MakeVertex({5, 5, 5}, {0.1f, 0.2f, 0.3f}));  // used by no face
    ASSERT_EQ(mesh->GetVertexCount(), 6);
    mesh->AddFace(0, 1, 2);  // normal +z
    mesh->AddFace(3, 0, 4);  // normal along y, from the seam vertex's copy
    mesh->AddFace(0, 1, 99);  // names no vertex: ignored
    mesh->GenerateNormals();
    EXPECT_TRUE(Near3(mesh->GetVertex(1)->normal, mesh->GetVertex(3)->normal, 0));
    EXPECT_TRUE(Near3(mesh->GetVertex(2)->normal, {0, 0, 1}));
    EXPECT_NEAR(mesh->GetVertex(1)->normal.len(), 1.0f, 1e-6f);
    EXPECT_TRUE(Near3(mesh->GetVertex(5)->normal, {0.1f, 0.2f, 0.3f}, 0));
}

TEST_F(MeshTest, SkinningWeightsAndMissingJoints) {
    Animation();
    rgBone* j3 = AddJoint(nullptr);
    rgBone* j5 = AddJoint(nullptr);
    j3->SetId(3);
    j5->SetId(5);
    j5->TranslateOffset({2, 0, 0}, matrix44());
    rgMesh* mesh = AddMesh(nullptr);
    rgVertex half = MakeVertex({0, 1, 0});
    half.bone[0] = 3;
    half.weight[0] = 2;
    half.bone[1] = 5;
    half.weight[1] = 2;
    rgVertex none = MakeVertex({0, 2, 0});
    rgVertex gone = MakeVertex({0, 3, 0});
    gone.bone[0] = 9;
    gone.weight[0] = 1;
    rgVertex zeroWeight = MakeVertex({0, 4, 0});
    zeroWeight.bone[0] = 3;
    mesh->AddVertex(half);
    mesh->AddVertex(none);
    mesh->AddVertex(gone);
    mesh->AddVertex(zeroWeight);
    scene->UpdateScene();
    mesh->Deform();
    const auto& p = mesh->DeformedPositions();
    EXPECT_TRUE(Near3(p[0], {1, 1, 0}));  // half of joint 5's move
    EXPECT_TRUE(Near3(p[1], {0, 2, 0}));  // no influences: source position
    EXPECT_TRUE(Near3(p[2], {0, 3, 0}));  // only joint does not exist
    EXPECT_TRUE(Near3(p[3], {0, 0, 0}));  // joint exists, weights sum below 0.0001
    EXPECT_TRUE(Near3(mesh->GetTransformedVertex(0)->position, {1, 1, 0}));

    mesh->NormalizeWeights();
    EXPECT_EQ(mesh->GetVertex(0)->weight[0], 0.5f);
    EXPECT_EQ(mesh->GetVertex(0)->weight[1], 0.5f);

    delete j3;  // its references go, the weights stay
    EXPECT_EQ(mesh->GetVertex(0)->bone[0], -1);
    EXPECT_EQ(mesh->GetVertex(0)->weight[0], 0.5f);
    EXPECT_EQ(mesh->GetVertex(0)->bone[1], 5);

    // A joint outside the hierarchy (a script's, let go) was nobody's joint.
    rgBone* loose = scene->CreateBone();
    loose->SetId(5);
    delete loose;
    EXPECT_EQ(mesh->GetVertex(0)->bone[1], 5);
}

TEST_F(MeshTest, PoseChangesMarkEveryMeshStaleAndDrawingRedeforms) {
    Animation();
    rgBone* joint = AddJoint(nullptr);
    rgMesh* a = AddMesh(nullptr);
    rgMesh* b = AddMesh(nullptr);
    rgVertex v = MakeVertex({1, 0, 0});
    v.bone[0] = joint->GetId();
    v.weight[0] = 1;
    a->AddVertex(v);
    b->AddVertex(v);
    scene->UpdateScene();
    EXPECT_FALSE(a->IsDeformed());
    RecordingPainter painter;
    root()->Draw(painter, 3, false);
    EXPECT_TRUE(painter.meshWasDeformed);
    EXPECT_TRUE(a->IsDeformed());
    EXPECT_TRUE(b->IsDeformed());

    joint->RotateOffset({0, 0, kPi / 2}, matrix44(), false);
    EXPECT_FALSE(a->IsDeformed());
    EXPECT_FALSE(b->IsDeformed());
    scene->UpdateScene();
    root()->Draw(painter, 3, false);
    EXPECT_TRUE(Near3(a->DeformedPositions()[0], {0, -1, 0}));
    // A mesh-only edit invalidates that mesh.
    b->GetVertex(0)->position.x = 2;
    EXPECT_FALSE(b->IsDeformed());
    EXPECT_TRUE(a->IsDeformed());
}

TEST_F(MeshTest, MirrorFlipsAndKeepsFacesOutward) {
    struct Case {
        bool x, y, z;
        vector3 position;
        bool reversed;
    } cases[] = {
        {true, false, false, {-1, 2, 3}, true},
        {true, true, false, {-1, -2, 3}, false},
        {true, true, true, {-1, -2, -3}, true},
        {false, false, false, {1, 2, 3}, false},
    };
    for (const auto& c : cases) {
        rgMesh* mesh = AddMesh(nullptr);
        mesh->AddVertex(MakeVertex({1, 2, 3}, {1, 2, 3}));
        mesh->AddFace(0, 1, 2);
        mesh->Mirror(c.x, c.y, c.z);
        EXPECT_EQ(mesh->GetVertex(0)->position, c.position);
        EXPECT_EQ(mesh->GetVertex(0)->normal, c.position);
        int a = 0, b = 0, cc = 0;
        mesh->GetFace(0, a, b, cc);
        EXPECT_EQ(a, c.reversed ? 2 : 0);
        EXPECT_EQ(cc, c.reversed ? 0 : 2);
    }
}

TEST_F(MeshTest, PendingScaleShowsLiveAndApplyScaleBakesIt) {
    rgMesh* mesh = AddMesh(nullptr);
    mesh->AddVertex(MakeVertex({1, 1, 1}));
    mesh->Scale(2, 1, 1);
    scene->UpdateScene();
    const vector3 drawnBefore = mesh->GetGlobalMatrix().Transform(mesh->GetVertex(0)->position);
    EXPECT_TRUE(Near3(drawnBefore, {2, 1, 1}));
    mesh->ApplyScale();
    EXPECT_EQ(mesh->GetPendingScale(), vector3(1, 1, 1));
    EXPECT_EQ(mesh->GetVertex(0)->position, vector3(2, 1, 1));
    scene->UpdateScene();
    EXPECT_TRUE(Near3(mesh->GetGlobalMatrix().Transform(mesh->GetVertex(0)->position), drawnBefore));
}

TEST_F(MeshTest, AssignAndUnassignPickTheirSlots) {
    auto vertexWith = [](std::initializer_list<std::pair<int, float>> slots) {
        rgVertex v;
        int k = 0;
        for (auto [bone, weight] : slots) {
            v.bone[k] = bone;
            v.weight[k++] = weight;
        }
        v.selected = true;
        return v;
    };
    struct Case {
        const char* name;
        rgVertex before;
        int slot;  // where joint 7 lands, -1: nowhere
    } cases[] = {
        {"already there: its last slot", vertexWith({{7, .1f}, {2, .2f}, {7, .3f}, {-1, 0}}), 2},
        {"last empty slot", vertexWith({{2, .1f}, {-1, 0}, {-1, 0}, {3, .3f}}), 2},
        {"first smallest weight", vertexWith({{1, .4f}, {2, .1f}, {3, .1f}, {4, .9f}}), 1},
        {"all at weight 2 or more: untouched", vertexWith({{1, 2}, {2, 3}, {3, 2}, {4, 2}}), -1},
    };
    for (const auto& c : cases) {
        rgMesh* mesh = AddMesh(nullptr);
        mesh->AddVertex(c.before, false);
        mesh->AssignSelected(7, 0.75f);
        const rgVertex* v = mesh->GetVertex(0);
        for (int k = 0; k < 4; ++k) {
            const bool assigned = k == c.slot;
            EXPECT_EQ(v->bone[k], assigned ? 7 : c.before.bone[k]) << c.name << " slot " << k;
            EXPECT_EQ(v->weight[k], assigned ? 0.75f : c.before.weight[k]) << c.name << " slot " << k;
        }
    }
    rgMesh* mesh = AddMesh(nullptr);
    mesh->AddVertex(vertexWith({{7, .1f}, {2, .2f}, {7, .3f}}), false);
    mesh->UnassignSelected(7);
    EXPECT_EQ(mesh->GetVertex(0)->bone[0], 7);
    EXPECT_EQ(mesh->GetVertex(0)->bone[2], -1);
    EXPECT_EQ(mesh->GetVertex(0)->weight[2], 0.0f);
}

TEST_F(MeshTest, VertexSelectionAndVisibilitySets) {
    rgMesh* mesh = AddMesh(nullptr);
    for (int i = 0; i < 4; ++i) {
        rgVertex v = MakeVertex({float(i), 0, 0});
        if (i % 2) v.bone[3] = 4;
        mesh->AddVertex(v);
    }
    mesh->SelectAssigned(4);
    EXPECT_FALSE(mesh->GetVertex(0)->selected);
    EXPECT_TRUE(mesh->GetVertex(1)->selected);
    mesh->SelectUnassigned();
    EXPECT_TRUE(mesh->GetVertex(0)->selected);
    EXPECT_FALSE(mesh->GetVertex(1)->selected);
    mesh->HideSelectedVertices();
    EXPECT_FALSE(mesh->GetVertex(0)->visible);
    EXPECT_FALSE(mesh->GetVertex(0)->selected);
    mesh->HideUnselectedVertices();
    EXPECT_FALSE(mesh->GetVertex(1)->visible);
    mesh->ShowAllVertices();
    EXPECT_TRUE(mesh->GetVertex(1)->visible);
    mesh->GetVertex(2)->selected = true;
    mesh->Hide();
    EXPECT_FALSE(mesh->GetVertex(2)->selected);
    mesh->ClearInfluences();
    EXPECT_EQ(mesh->GetVertex(1)->bone[3], -1);
}

TEST_F(MeshTest, CloneCopiesEverythingDuplicateResetsNameAndColour) {
    rgSceneNode* holder = AddNode(nullptr, "holder");
    rgMesh* mesh = AddMesh(holder);
    mesh->SetName("Body");
    mesh->SetColor(1, 0, 0);
    mesh->SetMaterial(2);
    mesh->SetSelected(true);
    rgVertex v = MakeVertex({1, 2, 3});
    v.visible = true;
    mesh->AddVertex(v);
    mesh->GetVertex(0)->visible = false;
    mesh->AddFace(0, 0, 0);
    AddMesh(mesh)->SetName("Child");

    std::unique_ptr<rgSceneNode> clone(mesh->Clone(nullptr, scene.get()));
    rgMesh* c = ToMesh(clone.get());
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->GetName(), "Body");
    EXPECT_EQ(c->GetColor(), vector3(1, 0, 0));
    EXPECT_EQ(c->GetVertexCount(), 1);
    EXPECT_TRUE(c->GetVertex(0)->visible);  // visibility of vertices resets
    EXPECT_EQ(c->GetFaceCount(), 1);
    EXPECT_EQ(c->GetChildCount(), 1);
    EXPECT_FALSE(c->IsDeformed());  // derived data is never copied

    rgMesh* d = ToMesh(mesh->Duplicate(nullptr));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->GetParent(), holder);
    EXPECT_EQ(d->GetName(), "Mesh");
    EXPECT_EQ(d->GetColor(), vector3(1, 1, 1));
    EXPECT_EQ(d->GetMaterial(), 2);
    EXPECT_FALSE(d->GetSelected());
    EXPECT_EQ(d->GetVertexCount(), 1);
    ASSERT_EQ(d->GetChildCount(), 1);
    EXPECT_EQ(d->GetChild(0)->GetName(), "Mesh");
}

TEST_F(MeshTest, BoundingSphereOfTransformedVertices) {
    rgMesh* empty = AddMesh(nullptr);
    vector3 c(9, 9, 9);
    float r = 9;
    empty->GetBoundingSphere(c, r);
    EXPECT_EQ(c, vector3(0, 0, 0));
    EXPECT_EQ(r, 0.0f);

    rgMesh* mesh = AddMesh(nullptr);
    mesh->AddVertex(MakeVertex({-1, 0, 0}));
    mesh->AddVertex(MakeVertex({3, 0, 0}));
    mesh->GetMatrix().translate(0, 10, 0);
    mesh->GetBoundingSphere(c, r);
    EXPECT_TRUE(Near3(c, {1, 10, 0}));
    EXPECT_FLOAT_EQ(r, 2.0f);
}

}  // namespace
