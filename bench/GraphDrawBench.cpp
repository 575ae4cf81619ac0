#include <benchmark/benchmark.h>

#include "bench/GraphScene.h"
#include "graph/MouseInteraction.h"
#include "store/Baseline.h"

namespace nuvisca::bench {
namespace {

// The viewer's draw, or the baseline that strokes every run through all of its points.
void fullDraw(benchmark::State& state, bool widened, bool plain) {
    GraphScene scene(widened);
    for (auto _ : state) {
        if (plain) {
            scene.drawPlain();
        } else {
            scene.draw();
        }
        benchmark::DoNotOptimize(scene.image.constBits());
    }
}
BENCHMARK_CAPTURE(fullDraw, widened, true, false)->Unit(benchmark::kMillisecond);
// A second or so per draw: a few say enough.
BENCHMARK_CAPTURE(fullDraw, widenedPlain, true, true)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->Repetitions(3);
BENCHMARK_CAPTURE(fullDraw, view900, false, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(fullDraw, view900Plain, false, true)->Unit(benchmark::kMillisecond);

// The same widened draw under review: a baseline of the first five minutes, a threshold of
// 65 % with its events shaded, and a selection of an hour.
void fullDrawReviewed(benchmark::State& state) {
    GraphScene scene(true);
    ViewModel& model = scene.recording.model;
    model.setAbsoluteThreshold(65.0);
    model.setBaseline(firstMinutesBaseline(model.recording(), model.averaged(), 5));
    model.setSelection({20000, 27200});
    if (model.desaturations().events.empty()) {
        fail("the reviewed draw has no events to shade");
    }
    for (auto _ : state) {
        scene.draw();
        benchmark::DoNotOptimize(scene.image.constBits());
    }
}
BENCHMARK(fullDrawReviewed)->Name("fullDraw/widenedReviewed")->Unit(benchmark::kMillisecond);

// One mouse move of a plain drag in the plot and the redraw it asks for; the pointer swings
// 40 points left and right of the press, so the drag is previewed, never applied. `clear`
// draws the picture anew on a cleared image, as the view does.
void dragStep(benchmark::State& state, bool widened, double ratio, bool clear) {
    GraphScene scene(widened, ratio);
    GraphViewState& view = scene.recording.view;
    const ViewModel& model = scene.recording.model;
    const PointF press{kSceneWidth / 2.0, kSceneHeight / 2.0};
    mouseDown(view, model, press, false, false);
    double offset = 40.0;
    for (auto _ : state) {
        offset = -offset;
        if (!mouseDragged(view, model, {press.x + offset, press.y}, false, false)) {
            fail("a drag step in the plot asked for no redraw");
        }
        if (clear) {
            scene.redraw();
        } else {
            scene.draw();
        }
        benchmark::DoNotOptimize(scene.image.constBits());
    }
    if (!view.mouseDownInPlot || view.viewStart != 0) {
        fail("the drag steps did not stay a previewed drag");
    }
}
BENCHMARK_CAPTURE(dragStep, widened, true, 1.0, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(dragStep, view900, false, 1.0, false)->Unit(benchmark::kMillisecond);
// The whole full recording at both device pixel ratios.
BENCHMARK_CAPTURE(dragStep, dense1, true, 1.0, true)
    ->Name("denseDrag/ratio1")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(dragStep, dense2, true, 2.0, true)
    ->Name("denseDrag/ratio2")
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace nuvisca::bench
