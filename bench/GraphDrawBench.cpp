#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <chrono>

#include "graph/GraphImage.h"
#include "graph/GraphRenderer.h"
#include "support/PlainQtPainter.h"
#include "support/SyntheticRecording.h"

namespace nuvisca {
namespace {

void ensureGuiApplication() {
    static int argc = 1;
    static char name[] = "nuvisca_bench";
    static char* argv[] = {name, nullptr};
    if (QGuiApplication::instance() == nullptr) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        static QGuiApplication app(argc, argv);
    }
}

struct Scene {
    std::unique_ptr<MeasurementStore> store = makeMeasurementStore();
    GraphViewState view;
    TextAttributes attributes;
    QImage image;

    // The whole recording widened into the plot with Shift-drag, all four traces shown.
    static Scene widened() {
        Scene scene(QSize(1800, 900));
        scene.view.viewEnd = kSampleCapacity;
        return scene;
    }

    // The view as it is after a load: 900 slots across the plot.
    static Scene afterLoad() { return Scene(QSize(1000, 600)); }

    explicit Scene(QSize size) : image(size, QImage::Format_ARGB32_Premultiplied) {
        ensureGuiApplication();
        test::fillSyntheticRecording(*store);
        resetGraphViewState(view);
        view.traceShown = {1, 1, 1, 1};
        view.viewWidth = static_cast<float>(size.width());
        view.viewHeight = static_cast<float>(size.height());
        resetVisibleRange(view, store->spanSamples);
    }

    void drawReduced() {
        QPainter painter(&image);
        paintGraph(painter, image.size(), *store, view, attributes);
    }

    void drawPlain() {
        QPainter painter(&image);
        test::PlainQtPainter plain(painter, image.height());
        const ViewBounds bounds{static_cast<float>(image.width()),
                                static_cast<float>(image.height()), 0.0f, 0.0f};
        drawGraph(plain, *store, view, attributes, onScreenStyle(bounds));
    }
};

template <typename Draw>
double millisecondsOf(Draw&& draw) {
    const auto begin = std::chrono::steady_clock::now();
    draw();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin)
        .count();
}

void BM_WidenedFullDraw(benchmark::State& state) {
    Scene scene = Scene::widened();
    for (auto _ : state) {
        scene.drawReduced();
        benchmark::DoNotOptimize(scene.image.constBits());
    }
}
BENCHMARK(BM_WidenedFullDraw)->Unit(benchmark::kMillisecond);

// Plain and reduced drawing side by side in each iteration; the time reported is the
// reduced draw's, the counters give both and their ratio.
void BM_WidenedPlainVsReduced(benchmark::State& state) {
    Scene scene = Scene::widened();
    double plain = 0.0;
    double reduced = 0.0;
    for (auto _ : state) {
        plain += millisecondsOf([&] { scene.drawPlain(); });
        const double once = millisecondsOf([&] { scene.drawReduced(); });
        reduced += once;
        state.SetIterationTime(once / 1000.0);
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["plain_ms"] = plain / n;
    state.counters["reduced_ms"] = reduced / n;
    state.counters["ratio"] = plain / reduced;
}
BENCHMARK(BM_WidenedPlainVsReduced)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_AfterLoadFullDraw(benchmark::State& state) {
    Scene scene = Scene::afterLoad();
    for (auto _ : state) {
        scene.drawReduced();
        benchmark::DoNotOptimize(scene.image.constBits());
    }
}
BENCHMARK(BM_AfterLoadFullDraw)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace nuvisca
