// The geodesic bind on small characters the tests build: legs side by side,
// loose pieces, a hole, a skeleton poking out, tiny and huge figures, and
// the input that must not hurt.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <set>

#include "skinning/bind_skin_job.h"
#include "skinning/geodesic_bind_job.h"
#include "skinning/geodesic_voxels.h"
#include "tests/scene/scene_fixture.h"

namespace {

class GeodesicBind : public SceneTest {
protected:
    // A closed box from `lo` to `hi`, its long sides cut into `rings`
    // bands; `skipFace` leaves one side quad out (a hole).
    rgMesh* Box(vector3 lo, vector3 hi, int rings, bool hole = false) {
        rgMesh* mesh = AddMesh(nullptr);
        const vector3 corner[4] = {{lo.x, 0, lo.z}, {hi.x, 0, lo.z}, {hi.x, 0, hi.z}, {lo.x, 0, hi.z}};
        for (int r = 0; r <= rings; ++r) {
            const float y = lo.y + (hi.y - lo.y) * static_cast<float>(r) / static_cast<float>(rings);
            for (const vector3& c : corner) mesh->AddVertex(MakeVertex({c.x, y, c.z}), false);
        }
        for (int r = 0; r < rings; ++r)
            for (int k = 0; k < 4; ++k) {
                if (hole && r == rings / 2 && k == 0) continue;
                const int a = r * 4 + k, b = r * 4 + (k + 1) % 4;
                mesh->AddFace(a, b, b + 4);
                mesh->AddFace(a, b + 4, a + 4);
            }
        const int top = rings * 4;
        mesh->AddFace(0, 2, 1);
        mesh->AddFace(0, 3, 2);
        mesh->AddFace(top, top + 1, top + 2);
        mesh->AddFace(top, top + 2, top + 3);
        return mesh;
    }

    // Two legs 4 units long, 0.2 apart, each with hip, knee and foot
    // joints under a pelvis; everything scaled by `s`.
    struct Legs {
        rgMesh* left;
        rgMesh* right;
        std::set<int> leftJoints, rightJoints;
    };
    Legs MakeLegs(float s) {
        Legs legs;
        legs.left = Box({-0.6f * s, 0, -0.25f * s}, {-0.1f * s, 4 * s, 0.25f * s}, 24);
        legs.right = Box({0.1f * s, 0, -0.25f * s}, {0.6f * s, 4 * s, 0.25f * s}, 24);
        rgBone* pelvis = AddJoint(nullptr, {0, 4.2f * s, 0});
        for (float side : {-1.0f, 1.0f}) {
            rgBone* hip = AddJoint(pelvis, {side * 0.35f * s, -0.4f * s, 0});
            rgBone* knee = AddJoint(hip, {0, -1.9f * s, 0});
            rgBone* foot = AddJoint(knee, {0, -1.8f * s, 0});
            for (rgBone* j : {hip, knee, foot})
                (side < 0 ? legs.leftJoints : legs.rightJoints).insert(j->GetId());
        }
        scene->UpdateScene();
        return legs;
    }

    static size_t CrossWeights(const rgMesh& leg, const std::set<int>& otherJoints) {
        size_t n = 0;
        for (int i = 0; i < leg.GetVertexCount(); ++i)
            for (int k = 0; k < 4; ++k)
                if (leg.GetVertex(i)->weight[k] > 0 && otherJoints.count(leg.GetVertex(i)->bone[k])) {
                    ++n;
                    break;
                }
        return n;
    }

    rgGeodesicBindJob Job(int resolution = 128) {
        rgGeodesicBindJob job;
        job.scene = scene.get();
        job.settings.resolution = resolution;
        return job;
    }
};

TEST_F(GeodesicBind, LegsSideBySideKeepToTheirOwnJoints) {
    const Legs legs = MakeLegs(1);
    rgBindSkinJob distance;
    distance.scene = scene.get();
    distance.settings.jointsPerVertex = 4;
    ASSERT_TRUE(distance.Run());
    // Through the air the legs take weight from each other...
    EXPECT_GT(CrossWeights(*legs.left, legs.rightJoints), 0u);

    rgGeodesicBindJob job = Job();
    ASSERT_TRUE(job.Run());
    // ...through the body they do not.
    EXPECT_EQ(CrossWeights(*legs.left, legs.rightJoints), 0u);
    EXPECT_EQ(CrossWeights(*legs.right, legs.leftJoints), 0u);
    EXPECT_EQ(job.fallbackVertices, 0u);
    for (const rgMesh* leg : {legs.left, legs.right})
        for (int i = 0; i < leg->GetVertexCount(); ++i) {
            const rgVertex& v = *leg->GetVertex(i);
            ASSERT_GE(v.bone[0], 0) << "vertex " << i;
            float sum = 0;
            for (float w : v.weight) sum += w;
            EXPECT_NEAR(sum, 1, 1e-5f);
        }
}

TEST_F(GeodesicBind, TheSameWeightsAtAnyScale) {
    // Each vertex's weight by joint (slots of equal weights may swap).
    std::vector<std::map<int, float>> first;
    for (float s : {0.01f, 1.0f, 100.0f}) {
        SCOPED_TRACE(s);
        scene->Clear();
        const Legs legs = MakeLegs(s);
        rgGeodesicBindJob job = Job();
        ASSERT_TRUE(job.Run());
        std::vector<std::map<int, float>> now;
        for (const rgMesh* leg : {legs.left, legs.right})
            for (int i = 0; i < leg->GetVertexCount(); ++i) {
                const rgVertex& v = *leg->GetVertex(i);
                std::map<int, float>& w = now.emplace_back();
                for (int k = 0; k < 4; ++k)
                    if (v.bone[k] >= 0) w[v.bone[k]] = v.weight[k];
            }
        if (first.empty()) {
            first = now;
            continue;
        }
        ASSERT_EQ(now.size(), first.size());
        // Within what float positions at these magnitudes give.
        for (size_t i = 0; i < now.size(); ++i) {
            for (const auto& [joint, weight] : first[i])
                EXPECT_NEAR(now[i].count(joint) ? now[i][joint] : 0.0f, weight, 1e-3f) << i;
            for (const auto& [joint, weight] : now[i])
                EXPECT_NEAR(first[i].count(joint) ? first[i][joint] : 0.0f, weight, 1e-3f) << i;
        }
    }
}

TEST_F(GeodesicBind, LoosePiecesHolesAndBonesOutsideLeaveNothingUnbound) {
    Box({-1, 0, -1}, {1, 4, 1}, 16, true);           // a body with a hole in one side
    Box({0.2f, 3.2f, 1.05f}, {0.4f, 3.4f, 1.2f}, 2);  // an eye, a piece of its own
    rgMesh* loose = AddMesh(nullptr);                // points only: no faces
    loose->AddVertex(MakeVertex({5, 5, 5}), false);
    loose->AddVertex(MakeVertex({std::numeric_limits<float>::quiet_NaN(), 0, 0}), false);
    rgBone* spine = AddJoint(nullptr, {0, 0.5f, 0});
    rgBone* neck = AddJoint(spine, {0, 3, 0});
    AddJoint(neck, {0, 3, 0});  // the head's tip stands far above the body
    scene->UpdateScene();
    rgGeodesicBindJob job = Job(64);
    ASSERT_TRUE(job.Run());
    EXPECT_EQ(job.unboundVertices, 1u);   // the NaN vertex
    EXPECT_GE(job.fallbackVertices, 1u);  // the loose point, by straight line
    size_t unbound = 0;
    scene->ForEach([&](rgSceneNode* n) {
        if (rgMesh* m = ToMesh(n))
            for (int i = 0; i < m->GetVertexCount(); ++i) unbound += m->GetVertex(i)->bone[0] < 0;
    });
    EXPECT_EQ(unbound, 1u);
}

TEST_F(GeodesicBind, BadInputIsRefusedOrHarmless) {
    // No joints: nothing bound, nothing broken; no meshes: nothing to do.
    rgMesh* box = Box({0, 0, 0}, {1, 1, 1}, 2);
    rgGeodesicBindJob job = Job();
    ASSERT_TRUE(job.Run());
    EXPECT_EQ(box->GetVertex(0)->bone[0], -1);
    scene->Clear();
    AddJoint(nullptr);
    ASSERT_TRUE(Job().Run());

    // Settings out of range and a grid beyond the memory limit.
    Box({0, 0, 0}, {10, 10, 10}, 2);
    std::string why;
    const struct {
        int resolution;
        float falloff;
        int joints;
        const char* problem;
    } cases[] = {
        {16, 0.5f, 4, "Resolution must be between 32 and 1024"},
        {2000, 0.5f, 4, "Resolution must be between 32 and 1024"},
        {128, 1.5f, 4, "Falloff must be between 0 and 1"},
        {128, std::numeric_limits<float>::quiet_NaN(), 4, "Falloff must be between 0 and 1"},
        {128, 0.5f, 0, "Joints Per Vertex must be 1, 2, 3 or 4"},
    };
    for (const auto& c : cases) {
        rgGeodesicBindJob bad = Job(c.resolution);
        bad.settings.falloff = c.falloff;
        bad.settings.jointsPerVertex = c.joints;
        EXPECT_FALSE(bad.Validate(&why));
        EXPECT_NE(why.find(c.problem), std::string::npos) << why;
        EXPECT_FALSE(bad.Run());
    }
    rgGeodesicBindJob big = Job(1024);
    big.memoryLimit = 50u << 20;
    EXPECT_FALSE(big.Validate(&why));
    EXPECT_NE(why.find("the largest that fits is"), std::string::npos) << why;
    const int fits = std::stoi(why.substr(why.rfind(' ') + 1));
    big.settings.resolution = fits;
    EXPECT_TRUE(big.Validate(&why)) << why;

    // A cancelled run changes nothing.
    rgGeodesicBindJob cancelled = Job(32);
    cancelled.progress = [](float) { return false; };
    EXPECT_FALSE(cancelled.Run());
}

}  // namespace

// The job's spreading (a priority queue with stale entries skipped, cells
// reset from a list) against plain relaxation until nothing changes, on
// small random grids of solid and air with bones inside and outside.
TEST(GeodesicSpread, MatchesPlainRelaxation) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> unit(0, 1);
    size_t total = 0;
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        rgGeodesic::Grid grid;
        grid.nx = 6 + round % 7;
        grid.ny = 5 + round % 5;
        grid.nz = 4 + round % 6;
        grid.h = 1;
        grid.origin = {0, 0, 0};
        std::vector<uint8_t> solid(grid.Cells());
        for (auto& s : solid) s = unit(random) < 0.65f;
        auto point = [&] {
            return vector3(unit(random) * grid.nx, unit(random) * grid.ny, unit(random) * grid.nz);
        };
        std::vector<std::pair<vector3, vector3>> bones = {{point(), point()}};
        if (round % 3 == 0) bones.push_back({point(), point()});
        if (round % 4 == 0) bones.push_back({bones[0].first, bones[0].first});  // a point joint
        const float reach = 3.0f + static_cast<float>(round % 6), airReach = reach / 2;

        std::vector<float> fast(grid.Cells(), std::numeric_limits<float>::infinity());
        std::vector<uint32_t> touched;
        rgGeodesic::Spread(grid, solid, bones, reach, airReach, fast, touched);

        // The reference: the same seeds, then every edge relaxed until stable.
        std::vector<float> slow(grid.Cells(), std::numeric_limits<float>::infinity());
        for (const auto& [a, b] : bones) {
            const int steps = std::max(1, static_cast<int>(std::ceil((b - a).len() * 2.0f)));
            for (int s = 0; s <= steps; ++s) {
                const vector3 q = a + (b - a) * (static_cast<float>(s) / steps);
                const auto c = grid.CellOf(q);
                const float d = (q - vector3(c[0] + 0.5f, c[1] + 0.5f, c[2] + 0.5f)).len();
                float& cell = slow[grid.Index(c[0], c[1], c[2])];
                cell = std::min(cell, d);
            }
        }
        for (bool changed = true; changed;) {
            changed = false;
            for (int z = 0; z < grid.nz; ++z)
                for (int y = 0; y < grid.ny; ++y)
                    for (int x = 0; x < grid.nx; ++x) {
                        const size_t i = grid.Index(x, y, z);
                        if (slow[i] == std::numeric_limits<float>::infinity()) continue;
                        for (int dz = -1; dz <= 1; ++dz)
                            for (int dy = -1; dy <= 1; ++dy)
                                for (int dx = -1; dx <= 1; ++dx) {
                                    if (!(dx || dy || dz) || !grid.Inside(x + dx, y + dy, z + dz)) continue;
                                    const size_t j = grid.Index(x + dx, y + dy, z + dz);
                                    const float next =
                                        slow[i] + std::sqrt(static_cast<float>(dx * dx + dy * dy + dz * dz));
                                    if (!solid[j] && (solid[i] || next > airReach)) continue;
                                    if (next > reach || next >= slow[j] - 1e-6f) continue;
                                    slow[j] = next;
                                    changed = true;
                                }
                    }
        }
        size_t reached = 0;
        for (size_t i = 0; i < slow.size(); ++i) {
            if (slow[i] == std::numeric_limits<float>::infinity()) {
                EXPECT_EQ(fast[i], slow[i]) << "cell " << i;
                continue;
            }
            ++reached;
            EXPECT_NEAR(fast[i], slow[i], 1e-4f) << "cell " << i;
        }
        EXPECT_EQ(touched.size(), reached);
        total += reached;
    }
    EXPECT_GT(total, 2000u);  // the cases reach far enough to mean something
}

TEST_F(GeodesicBind, TheReportNamesWhatTheBindLeftUndone) {
    rgMesh* mesh = Box({0, 0, 0}, {1, 1, 1}, 2);
    rgBone* a = AddJoint(nullptr, {0.5f, 0.5f, 0.5f});
    a->SetName("Hip");
    rgBone* far = AddJoint(nullptr, {50, 50, 50});
    far->SetName("Far");
    scene->UpdateScene();
    EXPECT_EQ(ReportBind(*scene).Text(), "12 vertices are bound to no joint; 2 joints have no weight (Hip, Far)");
    rgGeodesicBindJob job = Job(32);
    job.settings.falloff = 1;
    ASSERT_TRUE(job.Run());
    EXPECT_EQ(ReportBind(*scene).Text(), "1 joint has no weight (Far)");
    mesh->GetVertex(0)->bone[0] = -1;
    EXPECT_EQ(ReportBind(*scene).unboundVertices, 1u);
}
