// Viewport figures: frame time of a 100,000-triangle mesh in a 1024 x 768
// viewport ("Smooth Shaded" and "Textured"), and the time of one click
// pick over it. Runs under a display (xvfb-run with Mesa's software
// rasteriser in `make bench`).
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QThread>
#include <QWindow>
#include <cmath>
#include <memory>

#include "scene/rg_mesh.h"
#include "scene/rg_scene.h"
#include "viewport/gl_node_painter.h"
#include "viewport/gl_panel.h"
#include "viewport/gl_shared_lists.h"
#include "viewport/gl_viewport.h"
#include "viewport/scene_draw.h"
#include "viewport/selection_picker.h"

namespace {

constexpr int kRings = 224;  // 224 x 224 quads: 100,352 triangles

// A sphere of radius 10 as a latitude/longitude grid with texture coordinates.
void BuildSphere(rgMesh& mesh) {
    const double pi = 3.14159265358979323846;
    for (int i = 0; i <= kRings; ++i)
        for (int j = 0; j <= kRings; ++j) {
            const double theta = pi * i / kRings, phi = 2 * pi * j / kRings;
            rgVertex v;
            v.normal.set(static_cast<float>(std::sin(theta) * std::cos(phi)),
                         static_cast<float>(std::cos(theta)),
                         static_cast<float>(std::sin(theta) * std::sin(phi)));
            v.position = v.normal * 10.0f;
            v.texcoords.set(static_cast<float>(j) / kRings * 4, static_cast<float>(i) / kRings * 4);
            mesh.AddVertex(v, false);
        }
    for (int i = 0; i < kRings; ++i)
        for (int j = 0; j < kRings; ++j) {
            const int a = i * (kRings + 1) + j, b = a + 1, c = a + kRings + 1, d = c + 1;
            mesh.AddFace(a, b, d);
            mesh.AddFace(a, d, c);
        }
}

struct Fixture {
    rgSceneContext context;
    rgScene scene{context};
    rgMesh* mesh = nullptr;
    QTemporaryDir dir;
    std::unique_ptr<TGLSharedLists> shared;
    std::unique_ptr<TGLViewport> viewport;
    long framesDrawn = 0;

    Fixture() {
        mesh = scene.CreateMesh();
        scene.GetRootNode()->AttachChild(mesh);
        BuildSphere(*mesh);
        QImage checker(256, 256, QImage::Format_RGB32);
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x)
                checker.setPixel(x, y, ((x / 32 + y / 32) % 2) ? 0xffe0e0e0u : 0xff3050a0u);
        const QString path = dir.filePath("checker.png");
        checker.save(path);
        if (rgTexture* t = context.textures.AddTexture(path.toStdString()))
            mesh->SetMaterial(t->GetId());

        shared = std::make_unique<TGLSharedLists>(context.textures);
        viewport = std::make_unique<TGLViewport>(context.state, *shared);
        viewport->state.perspOffset.set(0, 0, -30);
        viewport->OnDrawScene = [this](TGLViewport& v, int drawMode) {
            rgGLPainter::Settings settings;
            settings.textures = &context.textures;
            settings.editor = &context.state;
            settings.errors = &v.Errors();
            rgGLPainter painter(v.state.viewMatrix, settings);
            DrawScene(scene, painter, drawMode, false);
            ++framesDrawn;
        };
        viewport->resize(1024, 768);
        viewport->show();
        for (int i = 0;
             i < 500 && !(viewport->windowHandle() && viewport->windowHandle()->isExposed()); ++i) {
            QCoreApplication::processEvents();
            QThread::msleep(10);
        }
    }
};

Fixture& TheFixture() {
    static Fixture fixture;
    return fixture;
}

void BM_ViewportFrame(benchmark::State& state) {
    Fixture& f = TheFixture();
    f.viewport->state.drawMode = static_cast<int>(state.range(0));
    const long before = f.framesDrawn;
    // A frame as the editor makes one: a redraw request, handled by the
    // event loop (paint into the widget's buffer, compose, present).
    for (auto _ : state) {
        f.viewport->update();
        QCoreApplication::processEvents();
        f.viewport->makeCurrent();
        glFinish();
    }
    if (f.framesDrawn - before < static_cast<long>(state.iterations()))
        state.SkipWithError("frames were not drawn");
    state.SetLabel(state.range(0) == kDrawSmooth ? "Smooth Shaded, 100352 triangles, 1024x768"
                                                 : "Textured, 100352 triangles, 1024x768");
}
BENCHMARK(BM_ViewportFrame)
    ->Arg(kDrawSmooth)
    ->Arg(kDrawTextured)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_ClickPick(benchmark::State& state) {
    Fixture& f = TheFixture();
    f.scene.UpdateScene();
    bool hit = false;
    for (auto _ : state) {
        rgSelectionPicker picker =
            rgSelectionPicker::ForRegion(f.viewport->state, 1024, 768, 512, 384, 0, 0);
        hit = f.mesh->Pick(picker, kPickObjects, 0);
        benchmark::DoNotOptimize(hit);
    }
    if (!hit) state.SkipWithError("the click missed the mesh");
    state.SetLabel("object pick, 5x5 pixels over 100352 triangles");
}
BENCHMARK(BM_ClickPick)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    TGLPanel::PrepareApplication();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    TheFixture().viewport.reset();
    return 0;
}
