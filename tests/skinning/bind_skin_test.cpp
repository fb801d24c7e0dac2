#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

#include "skinning/bind_skin_job.h"
#include "skinning/skin_distance.h"
#include "tests/scene/scene_fixture.h"

namespace {

// The binding as defined: every (vertex, joint) record, a stable sort by
// weight, then the slots filled from the sorted list.
void ReferenceBind(rgScene& scene, const rgBindSkinSettings& s) {
    scene.UpdateScene();
    std::vector<rgBone*> joints;
    std::vector<rgMesh*> meshes;
    scene.ForEach([&](rgSceneNode* n) {
        if (rgBone* j = ToBone(n)) joints.push_back(j);
        if (rgMesh* m = ToMesh(n)) meshes.push_back(m);
    });
    struct Record {
        rgBone* joint;
        float weight;
        bool inReach;
    };
    for (rgMesh* mesh : meshes) {
        for (int i = 0; i < mesh->GetVertexCount(); ++i) {
            rgVertex& v = *mesh->GetVertex(i);
            const vector3 p = mesh->GetMatrix().Transform(v.position);
            std::vector<Record> records;
            for (rgBone* j : joints) {
                const vector3 at = j->GetGlobalMatrix().pos_component();
                float d;
                if (!j->Children().empty()) {
                    d = 1e8f;
                    for (rgSceneNode* c : j->Children()) {
                        if (!c->IsBone()) continue;
                        const float e =
                            SegmentDistance(p, at, c->GetGlobalMatrix().pos_component());
                        if (e < d) d = e;
                    }
                } else {
                    d = (p - at).len();
                }
                records.push_back({j, FalloffWeight(d, s.falloffRadius), d < s.maxDistance});
            }
            std::stable_sort(records.begin(), records.end(), [](const Record& a, const Record& b) {
                return WeightOrderKey(a.weight) > WeightOrderKey(b.weight);
            });
            v.ClearInfluences();
            if (s.rigid) {
                if (!records.empty()) {
                    v.bone[0] = records[0].joint->GetId();
                    v.weight[0] = records[0].weight;
                }
                continue;
            }
            int filled = 0;
            rgBone* first = nullptr;
            for (const Record& r : records) {
                if (filled == s.jointsPerVertex) break;
                if (!r.inReach) continue;
                if (first && r.joint != first->GetParent() && r.joint->GetParent() != first)
                    continue;
                if (!first) first = r.joint;
                v.bone[filled] = r.joint->GetId();
                v.weight[filled] = r.weight;
                ++filled;
            }
        }
    }
}

class BindSkinTest : public SceneTest {
protected:
    void Bind(const rgBindSkinSettings& settings) {
        rgBindSkinJob job;
        job.scene = scene.get();
        job.settings = settings;
        ASSERT_TRUE(job.Run());
    }
    rgMesh* MeshWith(std::initializer_list<vector3> points, rgSceneNode* parent = nullptr) {
        rgMesh* mesh = AddMesh(parent);
        for (const vector3& p : points) mesh->AddVertex(MakeVertex(p), false);
        return mesh;
    }
    static std::string Slots(const rgVertex& v) {
        std::string out;
        for (int k = 0; k < 4; ++k)
            if (v.bone[k] >= 0) out += std::to_string(v.bone[k]) + " ";
        return out;
    }
};

struct BindCase {
    const char* name;
    rgBindSkinSettings settings;
    vector3 vertex;
    std::string slots;  // joint numbers in slot order
    float firstWeight;  // weight of slot 0, or -1 for "not checked"
};

// A chain 1 (0,0,0) -> 2 (0,4,0) -> 3 (0,8,0) -> 4 (4,8,0), and a separate
// joint 5 at (10, 0, 0).
TEST_F(BindSkinTest, DistancesWeightsAndSlotsFollowTheDefinition) {
    rgBone* j1 = AddJoint(nullptr, {0, 0, 0});
    rgBone* j2 = AddJoint(j1, {0, 4, 0});
    rgBone* j3 = AddJoint(j2, {0, 4, 0});
    AddJoint(j3, {4, 0, 0});
    AddJoint(nullptr, {10, 0, 0});
    const rgBindSkinSettings deformable2{false, 2, 5.0f, 15.0f};
    const rgBindSkinSettings deformable4{false, 4, 5.0f, 15.0f};
    const rgBindSkinSettings near{false, 4, 5.0f, 1.0f};
    const rgBindSkinSettings rigid{true, 2, 5.0f, 0.5f};
    const BindCase cases[] = {
        {"on a bone: weight 1", deformable2, {0, 2, 0}, "1 2 ", 1.0f},
        {"one radius from the bone: 1/16", deformable2, {5, 2, 0}, "1 2 ", 0.0625f},
        // Measured to joint 4, not along the bone's extension: 4 units away,
        // on joints 3 and 4 alike (3 first in walk order).
        {"beyond a bone end: to the end joint",
         deformable2,
         {8, 8, 0},
         "3 4 ",
         1.0f / (1.8f * 1.8f * 1.8f * 1.8f)},
        {"four per vertex, only parent and child join", deformable4, {0.5f, 6, 0}, "2 3 1 ", -1},
        {"out of reach: unbound", near, {5, -3, 0}, "", -1},
        {"rigid: one influence, however far", rigid, {40, 40, 0}, "3 ", -1},
    };
    for (const BindCase& c : cases) {
        SCOPED_TRACE(c.name);
        rgMesh* mesh = MeshWith({c.vertex});
        Bind(c.settings);
        const rgVertex& v = *mesh->GetVertex(0);
        EXPECT_EQ(Slots(v), c.slots);
        if (c.firstWeight >= 0) {
            EXPECT_FLOAT_EQ(v.weight[0], c.firstWeight);
        }
        delete mesh;
    }
}

TEST_F(BindSkinTest, TiesKeepWalkOrderAndMeshesUseTheirOwnLocalMatrix) {
    AddJoint(nullptr, {-1, 0, 0});  // 1
    AddJoint(nullptr, {1, 0, 0});   // 2
    rgMesh* mesh = MeshWith({{0, 0, 0}});
    Bind({false, 2, 5.0f, 15.0f});
    EXPECT_EQ(mesh->GetVertex(0)->bone[0], 1);   // the earlier of two at the same distance
    EXPECT_EQ(mesh->GetVertex(0)->bone[1], -1);  // not its parent or child

    // A mesh below a moved node is measured with its own local matrix only.
    rgSceneNode* holder = AddNode(nullptr, "holder");
    holder->GetMatrix().translate(-50, 0, 0);
    rgMesh* hanging = MeshWith({{0, 0, 0}}, holder);
    hanging->GetMatrix().translate(0.9f, 0, 0);
    Bind({false, 2, 5.0f, 15.0f});
    EXPECT_EQ(hanging->GetVertex(0)->bone[0], 2);
}

TEST_F(BindSkinTest, DegenerateScenesGiveDefinedResults) {
    // No joints: every influence goes.
    rgMesh* mesh = MeshWith({{1, 2, 3}});
    mesh->GetVertex(0)->bone[0] = 7;
    mesh->GetVertex(0)->weight[0] = 1;
    Bind({true, 2, 5.0f, 15.0f});
    EXPECT_EQ(Slots(*mesh->GetVertex(0)), "");

    // Joints on one point, a mesh without vertices, a NaN position.
    rgBone* a = AddJoint(nullptr, {0, 0, 0});
    AddJoint(a, {0, 0, 0});
    AddMesh(nullptr);
    mesh->GetVertex(0)->position.set(std::nanf(""), 0, 0);
    mesh->AddVertex(MakeVertex({0, 1, 0}), false);
    Bind({false, 4, 5.0f, 15.0f});
    EXPECT_EQ(Slots(*mesh->GetVertex(0)), "");  // NaN is never in reach
    EXPECT_EQ(Slots(*mesh->GetVertex(1)), "1 2 ");
    EXPECT_FALSE(std::isnan(mesh->GetVertex(1)->weight[0]));

    rgBindSkinJob job;
    std::string why;
    EXPECT_FALSE(job.Validate(&why));
    EXPECT_EQ(why, "there is no scene to bind");
    job.scene = scene.get();
    const rgBindSkinSettings bad[] = {{false, 5, 5, 15},
                                      {false, 2, 0, 15},
                                      {false, 2, 2000, 15},
                                      {false, 2, 5, 0},
                                      {false, 2, 5, std::nanf("")}};
    for (const rgBindSkinSettings& s : bad) {
        job.settings = s;
        EXPECT_FALSE(job.Run());
    }
    EXPECT_EQ(Slots(*mesh->GetVertex(1)), "1 2 ");  // untouched by refused runs
}

// Random skeletons (branching, zero-length bones, joints with a mesh child),
// meshes with their own matrices, every setting: the job gives the
// reference's ids and weights bit for bit.
TEST_F(BindSkinTest, MatchesTheDefinitionOnRandomScenes) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(-6, 6);
    for (int trial = 0; trial < 40; ++trial) {
        scene->Clear();
        std::vector<rgBone*> joints;
        const int jointCount = 1 + trial % 17;
        for (int j = 0; j < jointCount; ++j) {
            rgSceneNode* parent =
                joints.empty() || random() % 4 == 0 ? nullptr : joints[random() % joints.size()];
            const bool stacked = random() % 6 == 0;  // a bone of zero length
            joints.push_back(AddJoint(
                parent, stacked
                            ? vector3(0, 0, 0)
                            : vector3(coordinate(random), coordinate(random), coordinate(random))));
            if (random() % 8 == 0) AddMesh(joints.back());  // a non-joint child
        }
        std::vector<rgMesh*> meshes;
        for (int m = 0; m < 2; ++m) {
            rgMesh* mesh = AddMesh(m == 0 ? nullptr : joints[0]);
            mesh->GetMatrix().rotate_z(coordinate(random));
            mesh->GetMatrix().translate(coordinate(random), 0, 1);
            for (int i = 0; i < 61; ++i) {
                vector3 p(coordinate(random), coordinate(random), coordinate(random));
                if (i == 60 && trial % 5 == 0) p.y = std::nanf("");
                mesh->AddVertex(MakeVertex(p), false);
            }
            meshes.push_back(mesh);
        }
        rgBindSkinSettings settings;
        settings.rigid = trial % 4 == 0;
        settings.jointsPerVertex = 2 + trial % 3;
        settings.falloffRadius = trial % 7 == 0 ? 0.0001f : 0.5f + coordinate(random) / 3 + 2;
        settings.maxDistance = 1.0f + static_cast<float>(trial % 9);

        std::vector<rgVertex> expected;
        ReferenceBind(*scene, settings);
        for (rgMesh* m : meshes)
            for (int i = 0; i < m->GetVertexCount(); ++i) expected.push_back(*m->GetVertex(i));
        for (rgMesh* m : meshes) m->EditInfluences([](rgVertex& v) { v.ClearInfluences(); });
        Bind(settings);
        size_t e = 0;
        for (rgMesh* m : meshes)
            for (int i = 0; i < m->GetVertexCount(); ++i, ++e) {
                const rgVertex& v = *m->GetVertex(i);
                ASSERT_EQ(std::memcmp(v.bone, expected[e].bone, sizeof v.bone), 0)
                    << "trial " << trial << " vertex " << e;
                ASSERT_EQ(std::memcmp(v.weight, expected[e].weight, sizeof v.weight), 0)
                    << "trial " << trial << " vertex " << e;
            }
    }
}

}  // namespace
