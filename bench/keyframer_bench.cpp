// Keyframer figures: one paint of the time line in a 1600 x 900 window over
// 200 joints x 1,000 frames with 20,000 keys. Needs a display for fonts
// (xvfb-run in `make bench`).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "app/key_timeline_view.h"
#include "editing/key_timeline.h"
#include "editing/rg_editor.h"
#include "scene/rg_bone.h"
#include "scene/rg_scene.h"

namespace {

void BM_KeyframerPaint(benchmark::State& state) {
    rgEditor editor;
    rgState& s = editor.state();
    s.totalFrames = 1000;
    s.segmentEnd = 1000;
    s.editLevel = kEditAnimation;
    s.currentFrame = 37;
    std::vector<rgBone*> rows = {nullptr};  // the "Scene" row, then every joint
    for (int j = 0; j < 200; ++j) {
        rgBone* joint = editor.scene().CreateBone();
        editor.scene().GetRootNode()->AttachChild(joint);
        for (int k = 0; k < 100; ++k) joint->SetKey(1 + (k * 10 + j) % 1000, matrix44());
        joint->SetSelected(j % 7 == 0);
        rows.push_back(joint);
    }
    rgKeyTimeline timeline(editor);
    timeline.SetRows(rows);
    timeline.MouseDown(true, 80, 40);  // a key selection to frame as well
    timeline.MouseUp(true, 400, 300);

    QImage image(1600, 900, QImage::Format_RGB32);
    const QColor face = QApplication::palette().color(QPalette::Button);
    const QFont font = TimelineNumberFont();
    for (auto _ : state) {
        QPainter p(&image);
        PaintKeyTimeline(p, image.rect(), timeline, s, face, font);
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel("1600x900 of 200 joints x 1000 frames, 20000 keys");
}
BENCHMARK(BM_KeyframerPaint)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
