#include <benchmark/benchmark.h>

#include <vector>

#include "core/matrix44.h"

// Points transformed per second by matrix44::Transform (items/s).
static void BM_MatrixTransformPoints(benchmark::State& state) {
    const size_t n = static_cast<size_t>(state.range(0));
    std::vector<vector3> in(n), out(n);
    for (size_t i = 0; i < n; ++i) in[i].set(float(i % 97), float(i % 89) * 0.5f, float(i % 83) * 0.25f);
    matrix44 m;
    m.rotate_x(0.3f);
    m.rotate_y(-0.7f);
    m.rotate_z(1.1f);
    m.translate(1, 2, 3);
    for (auto _ : state) {
        for (size_t i = 0; i < n; ++i) out[i] = m.Transform(in[i]);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(n));
}
BENCHMARK(BM_MatrixTransformPoints)->Arg(100000);
