#include <benchmark/benchmark.h>

#include <vector>

#include "editing/key_commands.h"
#include "editing/rg_editor.h"
#include "editing/rg_translate.h"
#include "editing/tool_manager.h"
#include "scene/rg_bone.h"
#include "scene/rg_mesh.h"
#include "scene/rg_scene.h"
#include "viewport/camera.h"
#include "viewport/windowless_viewport.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// A flat grid of columns x rows vertices facing the front view, spanning
// [x0, x0 + w] x [y0, y0 + h] at depth z.
rgMesh* AddGrid(rgScene& scene, int columns, int rows, float x0, float y0, float w, float h,
                float z) {
    rgMesh* mesh = scene.CreateMesh();
    scene.GetRootNode()->AttachChild(mesh);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            rgVertex v;
            v.position.set(x0 + w * static_cast<float>(c) / static_cast<float>(columns - 1),
                           y0 + h * static_cast<float>(r) / static_cast<float>(rows - 1), z);
            mesh->AddVertex(v, false);
        }
    for (int r = 0; r + 1 < rows; ++r)
        for (int c = 0; c + 1 < columns; ++c) {
            const int i = r * columns + c;
            mesh->AddFace(i, i + 1, i + columns + 1);
            mesh->AddFace(i, i + columns + 1, i + columns);
        }
    return mesh;
}

// A front view at zoom 0.1 of an 800 x 600 client: about 30 units across.
void FrontView(rgWindowlessViewport& viewport) {
    viewport.state.projection = kProjFront;
    viewport.state.orthoView.set(0, 0, 0.1f);
}

}  // namespace

// A frame over the whole viewport in vertex mode on a 100,000-vertex mesh
// that fills it.
static void BM_FrameSelectVertices(benchmark::State& state) {
    rgEditor editor;
    AddGrid(editor.scene(), 400, 250, -14, -10, 28, 20, 0);
    rgMesh* mesh = ToMesh(editor.scene().GetFirstNode());
    rgWindowlessViewport viewport(kWidth, kHeight);
    FrontView(viewport);
    editor.scene().UpdateScene();
    int selected = 0;
    for (auto _ : state) {
        viewport.Pick(kWidth / 2, kHeight / 2, kWidth, kHeight,
                      [&](rgNodePicker& picker) { return mesh->Pick(picker, kPickVertices, 0); });
        selected = mesh->GetVertex(0)->selected;
    }
    benchmark::DoNotOptimize(selected);
    state.counters["vertices"] = mesh->GetVertexCount();
}
BENCHMARK(BM_FrameSelectVertices)->Unit(benchmark::kMillisecond);

// One click of the select tool (press and release) in a scene of 200 joints
// and 20 meshes of 5,000 vertices; every click changes the selection, so each
// one records its undo step.
static void BM_ClickSelect(benchmark::State& state) {
    rgEditor editor;
    rgScene& scene = editor.scene();
    for (int m = 0; m < 20; ++m)
        AddGrid(scene, 100, 50, -14 + 5.6f * static_cast<float>(m % 5),
                -10 + 5 * static_cast<float>(m / 5), 5, 4.5f, 0);
    std::vector<rgBone*> joints;
    for (int j = 0; j < 200; ++j) {
        rgBone* joint = scene.CreateBone();
        joint->GetLocalMatrix().translate(-13 + 0.13f * static_cast<float>(j),
                                          -9 + 0.09f * static_cast<float>(j), 1);
        scene.GetRootNode()->AttachChild(joint);
        joints.push_back(joint);
    }
    rgWindowlessViewport viewport(kWidth, kHeight);
    FrontView(viewport);
    rgToolManager& tools = editor.tools();
    tools.Click(rgToolButton::EditSelect);
    int targets[2][2];
    scene.UpdateScene();
    viewport.PixelOf(joints[40]->GetGlobalMatrix().pos_component(), targets[0][0], targets[0][1]);
    viewport.PixelOf(joints[160]->GetGlobalMatrix().pos_component(), targets[1][0], targets[1][1]);
    const rgToolHandlers& h = tools.CurrentHandlers();
    int i = 0;
    for (auto _ : state) {
        const int* p = targets[i++ & 1];
        h.mouseDown(0, kLeftButtonHeld, p[0], p[1], viewport);
        h.mouseUp(0, 0, p[0], p[1], viewport);
    }
    state.counters["undo steps"] = editor.undo.Count();
}
BENCHMARK(BM_ClickSelect)->Unit(benchmark::kMillisecond);

// One mouse-move step of a translate drag of 100 selected nodes.
static void BM_HandleDrag(benchmark::State& state) {
    rgEditor editor;
    rgScene& scene = editor.scene();
    std::vector<rgSceneNode*> nodes;
    for (int n = 0; n < 100; ++n) {
        rgSceneNode* node = n % 2 ? static_cast<rgSceneNode*>(scene.CreateBone())
                                  : static_cast<rgSceneNode*>(scene.CreateMesh());
        matrix44 at;
        at.translate(-10 + 0.2f * static_cast<float>(n), 0, 0);
        node->SetMatrix(at);
        scene.GetRootNode()->AttachChild(node);
        node->SetSelected(true);
        nodes.push_back(node);
    }
    rgWindowlessViewport viewport(kWidth, kHeight);
    FrontView(viewport);
    rgToolManager& tools = editor.tools();
    tools.SetCoordSystem(kCoordGlobal);
    tools.Click(rgToolButton::EditTranslate);
    viewport.gizmoOptions = [&tools] { return tools.GizmoOptions(); };
    scene.UpdateScene();
    // The X arrow of the last node: 2 units to its right at this zoom.
    int x = 0, y = 0;
    viewport.PixelOf(nodes.back()->GetGlobalMatrix().pos_component() + vector3(2, 0, 0), x, y);
    const rgToolHandlers& h = tools.CurrentHandlers();
    h.mouseDown(0, kLeftButtonHeld, x, y, viewport);
    if (!tools.translate().Dragging()) state.SkipWithError("the press missed the handle");
    int step = 0;
    for (auto _ : state) h.mouseMove(kLeftButtonHeld, x + (++step % 40), y, viewport);
    h.mouseUp(0, 0, x, y, viewport);
}
BENCHMARK(BM_HandleDrag)->Unit(benchmark::kMillisecond);

// 200 joints x 1,000 frames with a key every 10 frames (20,000 keys); the
// keys of 100 joints over frames 1..995 (10,000 keys) move 5 frames on as
// one "Move Keyframes" step, the snapshot of the whole scene included.
static void BM_MoveKeys(benchmark::State& state) {
    rgEditor editor;
    editor.state().totalFrames = 1000;
    for (int j = 0; j < 200; ++j) {
        rgBone* joint = editor.scene().CreateBone();
        editor.scene().GetRootNode()->AttachChild(joint);
        for (int f = 1; f <= 1000; f += 10) {
            matrix44 m;
            m.translate(static_cast<float>(f), 0, 0);
            joint->SetKey(f, m, 0.1f, 0.2f, 0.3f, 0, 0, 0);
        }
    }
    const auto block = [&editor] {
        rgKeyBlock b{{}, 1, 995};
        editor.scene().ForEach([&b](rgSceneNode* node) {
            if (rgBone* joint = ToBone(node); joint && b.joints.size() < 100)
                b.joints.push_back(joint);
        });
        return b;
    };
    rgKeyBlock keys = block();
    for (auto _ : state) {
        MoveKeyframes(editor, keys, 5, false);
        state.PauseTiming();
        editor.Undo();  // the keys back where they were, in new joints
        keys = block();
        state.ResumeTiming();
    }
    state.SetLabel("10000 of 20000 keys by 5 frames, undo step included");
}
BENCHMARK(BM_MoveKeys)->Unit(benchmark::kMillisecond);
