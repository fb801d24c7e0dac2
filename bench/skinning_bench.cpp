#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cmath>
#include <vector>

#include "scene/rg_bone.h"
#include "scene/rg_mesh.h"
#include "scene/rg_scene.h"
#include "skinning/bind_skin_job.h"
#include "skinning/geodesic_bind_job.h"

// A deformable bind, 4 joints per vertex, of a 100,000-vertex mesh to a
// branching skeleton of 64 joints (each joint has two child joints).
static void BM_BindSkin(benchmark::State& state) {
    rgSceneContext context;
    rgScene scene(context);
    std::vector<rgBone*> joints;
    for (int j = 0; j < 64; ++j) {
        rgBone* joint = scene.CreateBone();
        const float side = j % 2 ? 1.0f : -1.0f;
        joint->GetLocalMatrix().translate(side * 0.6f, 1.0f, 0.1f * static_cast<float>(j % 3));
        (j == 0 ? scene.GetRootNode() : joints[static_cast<size_t>((j - 1) / 2)])
            ->AttachChild(joint);
        joints.push_back(joint);
    }
    rgMesh* mesh = scene.CreateMesh();
    scene.GetRootNode()->AttachChild(mesh);
    for (int i = 0; i < 100000; ++i) {
        rgVertex v;
        const float a = static_cast<float>(i) * 0.01f;
        v.position.set(4.0f * std::sin(a), 7.0f * static_cast<float>(i) / 100000.0f,
                       2.0f * std::cos(a * 1.7f));
        mesh->AddVertex(v, false);
    }
    rgBindSkinJob job;
    job.scene = &scene;
    job.settings.jointsPerVertex = 4;
    for (auto _ : state) {
        job.Run();
        benchmark::DoNotOptimize(mesh->GetVertex(0)->bone[0]);
    }
    int bound = 0;
    for (int i = 0; i < mesh->GetVertexCount(); ++i) bound += mesh->GetVertex(i)->bone[0] >= 0;
    state.counters["vertices bound"] = bound;
}
BENCHMARK(BM_BindSkin)->Unit(benchmark::kMillisecond);

// A closed tube (64 vertices a ring, capped) with a chain of joints along
// its axis, bound through the body. Args: vertices, joints, resolution.
// Counter: the process's peak resident size after the run.
static void BM_GeodesicBind(benchmark::State& state) {
    const int vertices = static_cast<int>(state.range(0)), jointCount = static_cast<int>(state.range(1));
    rgSceneContext context;
    rgScene scene(context);
    rgSceneNode* parent = scene.GetRootNode();
    for (int j = 0; j < jointCount; ++j) {
        rgBone* joint = scene.CreateBone();
        joint->GetLocalMatrix().translate(0, j == 0 ? 0.2f : 9.6f / static_cast<float>(jointCount), 0);
        parent->AttachChild(joint);
        parent = joint;
    }
    rgMesh* mesh = scene.CreateMesh();
    scene.GetRootNode()->AttachChild(mesh);
    const int segments = 64, rings = vertices / segments;
    for (int r = 0; r < rings; ++r)
        for (int s = 0; s < segments; ++s) {
            rgVertex v;
            const float a = 6.2831853f * static_cast<float>(s) / segments;
            const float y = 10.0f * static_cast<float>(r) / static_cast<float>(rings - 1);
            const float radius = 0.5f + 0.15f * std::sin(y * 1.3f);
            v.position.set(radius * std::cos(a), y, radius * std::sin(a));
            mesh->AddVertex(v, false);
        }
    for (int r = 0; r + 1 < rings; ++r)
        for (int s = 0; s < segments; ++s) {
            const int a = r * segments + s, b = r * segments + (s + 1) % segments;
            mesh->AddFace(a, b, b + segments);
            mesh->AddFace(a, b + segments, a + segments);
        }
    for (int s = 1; s + 1 < segments; ++s) {
        mesh->AddFace(0, s + 1, s);
        const int top = (rings - 1) * segments;
        mesh->AddFace(top, top + s, top + s + 1);
    }
    rgGeodesicBindJob job;
    job.scene = &scene;
    job.settings.resolution = static_cast<int>(state.range(2));
    for (auto _ : state) {
        if (!job.Run()) state.SkipWithError("the bind did not run");
        benchmark::DoNotOptimize(mesh->GetVertex(0)->bone[0]);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["vertices"] = mesh->GetVertexCount();
    state.counters["by_line"] = static_cast<double>(job.fallbackVertices);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_GeodesicBind)
    ->Args({20000, 30, 128})
    ->Args({100000, 64, 256})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
