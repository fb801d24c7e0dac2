#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "scene/rg_bone.h"
#include "scene/rg_mesh.h"
#include "scene/rg_scene.h"
#include "skinning/bind_skin_job.h"

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
