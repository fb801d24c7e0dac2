#include <benchmark/benchmark.h>

#include <malloc.h>

#include <vector>

#include "animation/ik_solver.h"
#include "animation/scene_pose.h"
#include "animation/stopwatch.h"
#include "editing/animation_control.h"
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

// A mesh of `count` vertices on a grid, each bound to four of `joints`.
rgMesh* AddBoundMesh(rgScene& scene, const std::vector<rgBone*>& joints, int count) {
    rgMesh* mesh = scene.CreateMesh();
    scene.GetRootNode()->AttachChild(mesh);
    const int n = static_cast<int>(joints.size());
    for (int i = 0; i < count; ++i) {
        rgVertex v;
        v.position.set(static_cast<float>(i % 400) * 0.01f, static_cast<float>(i / 400) * 0.01f, 0);
        v.normal.set(0, 0, 1);
        for (int k = 0; k < rgVertex::kInfluences; ++k) {
            v.bone[k] = joints[static_cast<size_t>((i / 7 + k * 13) % n)]->GetId();
            v.weight[k] = 0.1f + 0.2f * static_cast<float>(k);
        }
        mesh->AddVertex(v, false);
        if (i >= 2) mesh->AddFace(i - 2, i - 1, i);
    }
    return mesh;
}

// Time that moves on by one display frame at every reading.
class FrameStopwatch : public rgStopwatch {
public:
    void Reset() override { fresh_ = true; }
    double Lap() override {
        const bool fresh = fresh_;
        fresh_ = false;
        return fresh ? 0.0 : 1.0 / 60;
    }

private:
    bool fresh_ = true;
};

}  // namespace

// One 100-step IK solve on a 10-joint chain in a scene of 200 joints with a
// bound 100,000-vertex mesh; the goal swings between two points out of
// reach, so every step turns a joint. The mesh is skinned once, as a draw
// would; the solve itself never re-skins.
static void BM_IKSolve(benchmark::State& state) {
    rgEditor editor;
    editor.state().editLevel = kEditAnimation;
    rgScene& scene = editor.scene();
    std::vector<rgBone*> joints;
    rgBone* end = nullptr;
    for (int chain = 0; chain < 20; ++chain) {
        rgSceneNode* parent = scene.GetRootNode();
        const int length = chain == 0 ? 11 : (chain < 19 ? 10 : 9);  // 200 joints in all
        for (int j = 0; j < length; ++j) {
            rgBone* joint = scene.CreateBone();
            joint->GetLocalMatrix().translate(j == 0 ? static_cast<float>(chain) : 0, 0.5f, 0);
            parent->AttachChild(joint);
            joints.push_back(joint);
            parent = joint;
        }
        if (chain == 0) end = joints.back();  // 10 joints above it turn
    }
    rgMesh* mesh = AddBoundMesh(scene, joints, 100000);
    scene.UpdateScene();
    mesh->Deform();
    const vector3 goals[2] = {{20, 2, 5}, {-20, 2, -5}};
    int i = 0, steps = 0;
    for (auto _ : state) steps = Solve(*end, goals[i++ & 1]);
    state.counters["steps"] = steps;
    state.counters["joints"] = static_cast<double>(joints.size());
    state.counters["vertices"] = mesh->GetVertexCount();
}
BENCHMARK(BM_IKSolve)->Unit(benchmark::kMicrosecond);

// One playback step of 64 joints with 200 keys each (spline keys), then the
// re-skinning of a 100,000-vertex mesh bound to them that the next draw
// does; nothing is drawn.
static void BM_PlaybackStep(benchmark::State& state) {
    rgEditor editor;
    editor.state().editLevel = kEditAnimation;
    rgScene& scene = editor.scene();
    AddKeyedJoints(scene, 64, 200);
    std::vector<rgBone*> joints;
    scene.ForEach([&](rgSceneNode* node) {
        if (rgBone* joint = ToBone(node)) joints.push_back(joint);
    });
    rgMesh* mesh = AddBoundMesh(scene, joints, 100000);
    editor.state().totalFrames = editor.state().segmentEnd = 400;
    FrameStopwatch stopwatch;
    rgAnimationControl& animation = editor.animation();
    animation.SetStopwatch(&stopwatch);
    animation.Play();
    for (auto _ : state) {
        animation.Step();
        scene.UpdateScene();
        mesh->Deform();
    }
    state.counters["joints"] = static_cast<double>(joints.size());
    state.counters["keys"] = static_cast<double>(joints.size()) * 200;
    state.counters["vertices"] = mesh->GetVertexCount();
}
BENCHMARK(BM_PlaybackStep)->Unit(benchmark::kMillisecond);

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
