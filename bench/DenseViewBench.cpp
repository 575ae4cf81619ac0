#include <benchmark/benchmark.h>

#include "bench/GraphScene.h"
#include "graph/RangeNavigation.h"

namespace nuvisca::bench {
namespace {

// The floor of any redraw of the full recording at ratio 2: clearing its image.
void clearImage(benchmark::State& state) {
    QImage image(GraphScene::size() * 2, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(Qt::white);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(clearImage)->Unit(benchmark::kMillisecond);

// The whole full recording, or the 900 slots after a load, cleared and drawn at a ratio.
void denseDraw(benchmark::State& state, bool widened, double ratio) {
    GraphScene scene(widened, ratio);
    for (auto _ : state) {
        scene.redraw();
        benchmark::DoNotOptimize(scene.image.constBits());
    }
}
BENCHMARK_CAPTURE(denseDraw, ratio1, true, 1.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(denseDraw, ratio2, true, 2.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(denseDraw, view900ratio2, false, 2.0)->Unit(benchmark::kMillisecond);

// One wheel notch in and out by turns over the plot of the whole full recording, and the redraw.
void denseWheel(benchmark::State& state, double ratio) {
    GraphScene scene(true, ratio);
    GraphViewState& view = scene.recording.view;
    const auto x = static_cast<float>(kSceneWidth / 3);
    bool zoomIn = true;
    for (auto _ : state) {
        const double factor = zoomIn ? 1.0 / kZoomStep : kZoomStep;
        zoomIn = !zoomIn;
        applyRange(view, zoomedRange(view, scene.recording.store(), x, factor));
        scene.redraw();
        benchmark::DoNotOptimize(scene.image.constBits());
    }
}
BENCHMARK_CAPTURE(denseWheel, ratio1, 1.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(denseWheel, ratio2, 2.0)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace nuvisca::bench
