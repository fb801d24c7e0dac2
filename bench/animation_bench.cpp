#include <benchmark/benchmark.h>

#include <malloc.h>

#include "animation/scene_pose.h"
#include "editing/rg_editor.h"
#include "scene/rg_bone.h"
#include "scene/rg_mesh.h"

namespace {

void AddKeyedJoints(rgScene& scene, int joints, int keys) {
    rgSceneNode* parent = scene.GetRootNode();
    for (int j = 0; j < joints; ++j) {
        rgBone* joint = scene.CreateBone();
        joint->GetLocalMatrix().translate(0, 0.1f, 0);
        parent->AttachChild(joint);
        for (int k = 0; k < keys; ++k) {
            matrix44 m;
            m.rotate(0.3f, 0.5f, 0.81f, 0.01f * static_cast<float>(k + j));
            m.translate(0.001f * static_cast<float>(k), 0, 0);
            joint->SetKey(k * 2, m, 0.1f, 0.2f, -0.1f, 0.3f, 0, 0.2f);
        }
        parent = (j % 10 == 9) ? scene.GetRootNode() : joint;
    }
}

}  // namespace

// Posing 100 joints with 200 keys each at one frame; arg: interpolation mode.
static void BM_EvaluateScene(benchmark::State& state) {
    rgSceneContext context;
    context.state.interpolation = static_cast<int>(state.range(0));
    rgScene scene(context);
    AddKeyedJoints(scene, 100, 200);
    int frame = 1;
    for (auto _ : state) {
        GoToFrame(scene, frame);
        frame = frame % 397 + 1;
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 100);
    state.SetLabel(state.range(0) == 0 ? "constant" : state.range(0) == 1 ? "linear" : "spline");
}
BENCHMARK(BM_EvaluateScene)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// PushUndo on a scene with a 200,000-vertex mesh and 100 joints: time per
// push, and the heap bytes one step holds against the mesh's own source data.
static void BM_UndoPush(benchmark::State& state) {
    rgEditor editor;
    AddKeyedJoints(editor.scene(), 100, 10);
    rgMesh* mesh = editor.scene().CreateMesh();
    editor.scene().GetRootNode()->AttachChild(mesh);
    for (int i = 0; i < 200000; ++i) {
        rgVertex v;
        v.position.set(static_cast<float>(i % 500), static_cast<float>(i / 500), 0);
        v.bone[0] = 1 + i % 100;
        v.weight[0] = 1;
        mesh->AddVertex(v, false);
        if (i >= 2) mesh->AddFace(i - 2, i - 1, i);
    }
    editor.scene().UpdateScene();
    mesh->Deform();  // the live scene holds derived data; a step must not

    const size_t before = mallinfo2().uordblks;
    editor.PushUndo("Measure");
    const size_t after = mallinfo2().uordblks;
    editor.ClearUndo();
    const double stepBytes = static_cast<double>(after - before);

    for (auto _ : state) editor.PushUndo("Translate Objects");
    state.counters["bytes_per_step"] = stepBytes;
    state.counters["mesh_source_bytes"] = static_cast<double>(mesh->SourceBytes());
    state.counters["ratio"] = stepBytes / static_cast<double>(mesh->SourceBytes());
}
BENCHMARK(BM_UndoPush)->Unit(benchmark::kMillisecond);
