#include <benchmark/benchmark.h>

#include <string>

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

// The whole full recording, or the 900 slots after a load, cleared and drawn at a ratio. The
// first slot shown moves by one each time, so that every frame walks the traces anew, as after
// any move; the static layer stays, as it does on the screen.
void denseDraw(benchmark::State& state, bool widened, double ratio) {
    GraphScene scene(widened, ratio);
    GraphViewState& view = scene.recording.view;
    std::int32_t along = 1;
    for (auto _ : state) {
        applyRange(view, {view.viewStart + along, view.viewEnd});
        along = -along;
        scene.redraw();
        benchmark::DoNotOptimize(scene.image.constBits());
    }
}
BENCHMARK_CAPTURE(denseDraw, ratio1, true, 1.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(denseDraw, ratio2, true, 2.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(denseDraw, view900ratio2, false, 2.0)->Unit(benchmark::kMillisecond);

// The first frame of a view at its size: its static layer is drawn too.
void denseFirstAtSize(benchmark::State& state) {
    GraphScene scene(true, 2.0);
    for (auto _ : state) {
        scene.frame = GraphFrame();
        scene.redraw();
        benchmark::DoNotOptimize(scene.image.constBits());
    }
}
BENCHMARK(denseFirstAtSize)->Name("denseDraw/firstAtSize")->Unit(benchmark::kMillisecond);

// A marker added, as the viewer adds one, and the redraw the view makes on hearing of it, over
// the whole full recording with a dozen markers placed, some of them lasting. Each marker is
// taken away again untimed, so the list stays as long; the traces, which do not move, are not
// walked again.
void denseAddMarker(benchmark::State& state) {
    GraphScene scene(true, 2.0);
    ViewModel& model = scene.recording.model;
    for (std::int32_t k = 0; k < 12; ++k) {
        model.addMarker({k * 6000 + 1000, k % 3 == 0 ? 1200 : 0, "マーカー " + std::to_string(k)});
    }
    bool heard = false;
    model.subscribe([&](unsigned changes) { heard = heard || (changes & kMarkersChanged) != 0; });
    scene.redraw();
    const int walked = scene.frame.tracesWalked();
    for (auto _ : state) {
        const std::size_t index = model.addMarker({40000, 0, "体位変換"});
        scene.redraw();
        benchmark::DoNotOptimize(scene.image.constBits());
        state.PauseTiming();
        model.removeMarker(index);
        state.ResumeTiming();
    }
    if (!heard) {
        fail("adding a marker was not announced");
    }
    if (scene.frame.tracesWalked() != walked) {
        fail("adding a marker walked the traces again");
    }
}
BENCHMARK(denseAddMarker)->Unit(benchmark::kMillisecond);

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
