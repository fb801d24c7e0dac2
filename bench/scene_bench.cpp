#include <benchmark/benchmark.h>
#include <xmmintrin.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "scene/rg_bone.h"
#include "scene/rg_mesh.h"
#include "scene/rg_scene.h"

namespace {

constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;

// A point on a torus: a closed grid without borders.
vector3 TorusPoint(int i, int j, int nu, int nv) {
    const float u = kTwoPi * static_cast<float>(i % nu) / static_cast<float>(nu);
    const float v = kTwoPi * static_cast<float>(j % nv) / static_cast<float>(nv);
    const float r = 3.0f + std::cos(v);
    return {r * std::cos(u), std::sin(v), r * std::sin(u)};
}

rgVertex Vertex(const vector3& p, float s, float t) {
    rgVertex v;
    v.position = p;
    v.normal.set(0, 1, 0);
    v.texcoords.set(s, t);
    return v;
}

}  // namespace

// One Deform of 100,000 vertices with 4 influences each over 64 posed joints.
static void BM_Deform(benchmark::State& state) {
    rgSceneContext context;
    context.state.editLevel = kEditAnimation;
    rgScene scene(context);
    std::vector<rgBone*> joints;
    for (int j = 0; j < 64; ++j) {
        rgBone* joint = scene.CreateBone();
        joint->GetLocalMatrix().translate(0.1f * static_cast<float>(j % 8), 0.2f, 0.0f);
        (j == 0 ? scene.GetRootNode() : joints[static_cast<size_t>(j / 2)])->AttachChild(joint);
        joint->RotateOffset({0.01f * static_cast<float>(j), 0.2f, -0.1f}, matrix44(), false);
        joints.push_back(joint);
    }
    rgMesh* mesh = scene.CreateMesh();
    scene.GetRootNode()->AttachChild(mesh);
    const int n = 100000;
    for (int i = 0; i < n; ++i) {
        rgVertex v = Vertex(TorusPoint(i % 400, i / 400, 400, 250), 0, 0);
        for (int k = 0; k < 4; ++k) {
            v.bone[k] = joints[static_cast<size_t>((i * 7 + k * 13) % 64)]->GetId();
            v.weight[k] = 0.1f + 0.2f * static_cast<float>(k);
        }
        mesh->AddVertex(v, false);
    }
    scene.UpdateScene();
    for (auto _ : state) {
        mesh->Deform();
        benchmark::DoNotOptimize(mesh->DeformedPositions().data());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * n);
}
BENCHMARK(BM_Deform)->Unit(benchmark::kMillisecond);

// What the hardware allows for the same work: a plain linear-blend loop
// over packed arrays (positions and normals, 4 influences each, float 3 x 4
// matrices held as four 4-float columns), four lanes at a time, without any
// of the editor's bookkeeping.
static void BM_DeformFloor(benchmark::State& state) {
    struct alignas(16) Matrix34 {
        float column[4][4];  // x, y, z and translation; lane 3 unused
    };
    struct alignas(16) Float4 {
        float v[4];
    };
    const int n = 100000, joints = 64;
    std::vector<Matrix34> matrices(joints);
    for (int j = 0; j < joints; ++j)
        for (int c = 0; c < 4; ++c)
            for (int r = 0; r < 4; ++r)
                matrices[static_cast<size_t>(j)].column[c][r] =
                    r == 3 ? 0.0f : std::sin(static_cast<float>(j * 16 + c * 4 + r));
    std::vector<Float4> positions(n), normals(n), outPositions(n), outNormals(n);
    std::vector<int32_t> index(4 * n);
    std::vector<float> weight(4 * n);
    for (int i = 0; i < n; ++i) {
        const vector3 p = TorusPoint(i % 400, i / 400, 400, 250);
        positions[static_cast<size_t>(i)] = {{p.x, p.y, p.z, 1}};
        normals[static_cast<size_t>(i)] = {{0, 1, 0, 0}};
        for (int k = 0; k < 4; ++k) {
            index[static_cast<size_t>(4 * i + k)] = (i * 7 + k * 13) % joints;
            weight[static_cast<size_t>(4 * i + k)] = 0.1f + 0.2f * static_cast<float>(k);
        }
    }
    for (auto _ : state) {
        for (size_t i = 0; i < static_cast<size_t>(n); ++i) {
            const __m128 px = _mm_set1_ps(positions[i].v[0]), py = _mm_set1_ps(positions[i].v[1]),
                         pz = _mm_set1_ps(positions[i].v[2]);
            const __m128 nx = _mm_set1_ps(normals[i].v[0]), ny = _mm_set1_ps(normals[i].v[1]),
                         nz = _mm_set1_ps(normals[i].v[2]);
            __m128 p = _mm_setzero_ps(), q = _mm_setzero_ps();
            for (size_t k = 0; k < 4; ++k) {
                const Matrix34& m = matrices[static_cast<size_t>(index[4 * i + k])];
                const __m128 c0 = _mm_load_ps(m.column[0]), c1 = _mm_load_ps(m.column[1]),
                             c2 = _mm_load_ps(m.column[2]), c3 = _mm_load_ps(m.column[3]);
                const __m128 w = _mm_set1_ps(weight[4 * i + k]);
                const __m128 d = _mm_add_ps(_mm_add_ps(_mm_mul_ps(c0, nx), _mm_mul_ps(c1, ny)),
                                            _mm_mul_ps(c2, nz));
                p = _mm_add_ps(
                    p, _mm_mul_ps(_mm_add_ps(_mm_add_ps(_mm_add_ps(_mm_mul_ps(c0, px),
                                                                   _mm_mul_ps(c1, py)),
                                                        _mm_mul_ps(c2, pz)),
                                             c3),
                                  w));
                q = _mm_add_ps(q, _mm_mul_ps(d, w));
            }
            _mm_store_ps(outPositions[i].v, p);
            _mm_store_ps(outNormals[i].v, q);
        }
        benchmark::DoNotOptimize(outPositions.data());
        benchmark::DoNotOptimize(outNormals.data());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * n);
}
BENCHMARK(BM_DeformFloor)->Unit(benchmark::kMillisecond);

// Adding the 200,000 corner vertices of a closed 250 x 200 quad grid, merge
// on: every position is shared by the 4 quads around it, each corner with
// its own texture coordinates.
static void BM_AddVertexMerge(benchmark::State& state) {
    const int nu = 250, nv = 200;
    std::vector<rgVertex> corners;
    corners.reserve(static_cast<size_t>(nu) * nv * 4);
    for (int j = 0; j < nv; ++j)
        for (int i = 0; i < nu; ++i) {
            const float q = static_cast<float>(j * nu + i);
            corners.push_back(Vertex(TorusPoint(i, j, nu, nv), q, 0));
            corners.push_back(Vertex(TorusPoint(i + 1, j, nu, nv), q, 1));
            corners.push_back(Vertex(TorusPoint(i + 1, j + 1, nu, nv), q, 2));
            corners.push_back(Vertex(TorusPoint(i, j + 1, nu, nv), q, 3));
        }
    for (auto _ : state) {
        rgSceneContext context;
        rgScene scene(context);
        rgMesh* mesh = scene.CreateMesh();
        scene.GetRootNode()->AttachChild(mesh);
        for (const rgVertex& v : corners) mesh->AddVertex(v, true);
        benchmark::DoNotOptimize(mesh->GetVertexCount());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(corners.size()));
}
BENCHMARK(BM_AddVertexMerge)->Unit(benchmark::kMillisecond);

// Smooth normals for 100,000 vertices and 200,000 triangles (closed grid).
static void BM_GenerateNormals(benchmark::State& state) {
    const int nu = 400, nv = 250;
    rgSceneContext context;
    rgScene scene(context);
    rgMesh* mesh = scene.CreateMesh();
    scene.GetRootNode()->AttachChild(mesh);
    for (int j = 0; j < nv; ++j)
        for (int i = 0; i < nu; ++i) mesh->AddVertex(Vertex(TorusPoint(i, j, nu, nv), 0, 0), false);
    auto index = [&](int i, int j) { return (j % nv) * nu + (i % nu); };
    for (int j = 0; j < nv; ++j)
        for (int i = 0; i < nu; ++i) {
            mesh->AddFace(index(i, j), index(i + 1, j), index(i + 1, j + 1));
            mesh->AddFace(index(i, j), index(i + 1, j + 1), index(i, j + 1));
        }
    for (auto _ : state) {
        mesh->GenerateNormals();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * nu * nv);
}
BENCHMARK(BM_GenerateNormals)->Unit(benchmark::kMillisecond);

// A full GetFirstNode/GetNextNode iteration over 10,000 nodes.
static void BM_SceneCursor(benchmark::State& state) {
    rgSceneContext context;
    rgScene scene(context);
    std::vector<rgSceneNode*> nodes{scene.GetRootNode()};
    for (int i = 0; i < 10000; ++i) {
        auto* node = new rgSceneNode(&scene);
        nodes[static_cast<size_t>(i / 3)]->AttachChild(node);
        nodes.push_back(node);
    }
    for (auto _ : state) {
        scene.NoteStructureChange();  // the walk is rebuilt: the cost of a first iteration
        int count = 0;
        for (rgSceneNode* n = scene.GetFirstNode(); n; n = scene.GetNextNode()) ++count;
        benchmark::DoNotOptimize(count);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 10000);
}
BENCHMARK(BM_SceneCursor)->Unit(benchmark::kMicrosecond);
