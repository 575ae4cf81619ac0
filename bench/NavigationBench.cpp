#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "bench/BenchRecording.h"
#include "bench/GuiApplication.h"
#include "formats/RecordingFile.h"
#include "formats/StatisticsCsv.h"
#include "graph/GraphImage.h"
#include "graph/GraphLayout.h"
#include "graph/GraphRenderer.h"
#include "graph/Overview.h"
#include "graph/RangeNavigation.h"
#include "graph/Readout.h"
#include "store/RangeStatistics.h"

namespace nuvisca::bench {
namespace {

constexpr int kWidth = 1600;  // logical points, as the window's graph has them
constexpr int kHeight = 800;

// The two-hour sample, the whole of it in the view, drawn at a device pixel ratio.
struct TwoHourScene {
    ViewModel model;
    GraphViewState& view = model.editView();
    bool drawnBefore = true;  // as a view that has drawn the recording before
    QImage image;

    explicit TwoHourScene(double ratio)
        : image(QSize(kWidth, kHeight) * ratio, QImage::Format_ARGB32_Premultiplied) {
        ensureGuiApplication();
        image.setDevicePixelRatio(ratio);
        view.viewWidth = kWidth;
        view.viewHeight = kHeight;
        model.setRecording(
            openRecording(NUVISCA_SAMPLES_DIR "/two-hours-pause-restart.NVD").recording);
        if (store().sampleCount < 7200) {
            fail("the two-hour sample does not load");
        }
        view.traceShown = {true, true, true, true};
        view.viewEnd = store().sampleCount;
        settleView(view, model.zoomIndex(), onScreenBounds(QSize(kWidth, kHeight)));
    }

    const Recording& store() const { return model.recording(); }

    void draw() {
        image.fill(Qt::white);
        QPainter painter(&image);
        paintGraph(painter, QSize(kWidth, kHeight), model, view, drawnBefore);
    }
};

void twoHourDraw(benchmark::State& state, double ratio) {
    TwoHourScene scene(ratio);
    for (auto _ : state) {
        scene.draw();
        benchmark::DoNotOptimize(scene.image.constBits());
    }
}
BENCHMARK_CAPTURE(twoHourDraw, ratio1, 1.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(twoHourDraw, ratio2, 2.0)->Unit(benchmark::kMillisecond);

// One wheel notch in and out by turns over the middle of the plot: the range alone, or the
// range and the redraw at ratio 2 it asks for.
void wheelStep(benchmark::State& state, bool redraw) {
    TwoHourScene scene(2.0);
    const auto x = static_cast<float>(kWidth / 3);
    bool zoomIn = true;
    for (auto _ : state) {
        const double factor = zoomIn ? 1.0 / kZoomStep : kZoomStep;
        zoomIn = !zoomIn;
        const VisibleRange range = zoomedRange(scene.view, scene.store(), x, factor);
        benchmark::DoNotOptimize(range);
        if (redraw) {
            applyRange(scene.view, range);
            scene.draw();
            benchmark::DoNotOptimize(scene.image.constBits());
        }
    }
}
BENCHMARK_CAPTURE(wheelStep, rangeOnly, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(wheelStep, withRedraw, true)->Unit(benchmark::kMillisecond);

// What one mouse move over the plot computes before the overlay is painted.
void readoutUpdate(benchmark::State& state) {
    TwoHourScene scene(2.0);
    float x = 10.0f;
    for (auto _ : state) {
        x = x > kWidth - 40.0f ? 11.0f : x + 7.0f;
        const GraphLayout layout = layoutGraph(scene.model, scene.view);
        if (const auto slot = slotUnder(layout, scene.store(), x)) {
            benchmark::DoNotOptimize(readoutAt(scene.model, scene.view.traceShown, *slot));
        }
    }
}
BENCHMARK(readoutUpdate)->Unit(benchmark::kMicrosecond);

// The overview's miniature columns, rSO2 and toHb across the strip at ratio 2, and its box.
void overviewColumnsBench(benchmark::State& state) {
    TwoHourScene scene(2.0);
    for (auto _ : state) {
        for (const Channel channel : {kRso2, kTohb}) {
            benchmark::DoNotOptimize(overviewColumns(scene.model, channel, 2 * kWidth));
        }
    }
}
BENCHMARK(overviewColumnsBench)->Name("overviewColumns")->Unit(benchmark::kMillisecond);

// The strip's repaint after a range change: the kept miniature and the range's box over it,
// at ratio 2, the range scrolled a tenth back and forth between repaints.
void overviewRepaint(benchmark::State& state) {
    TwoHourScene scene(2.0);
    scene.view.viewEnd = scene.view.viewSpan * 4;
    constexpr int kStripHeight = 48;
    QImage strip(QSize(kWidth, kStripHeight) * 2, QImage::Format_ARGB32_Premultiplied);
    strip.setDevicePixelRatio(2.0);
    QImage miniature = strip;
    miniature.fill(Qt::white);
    const OverviewScale scale = overviewScale(scene.store(), kWidth - 2.0);
    double slots = 0.1 * (scene.view.viewEnd - scene.view.viewStart);
    for (auto _ : state) {
        slots = -slots;
        applyRange(scene.view, rangeScrolledBy(scene.view, scene.store(), slots));
        const OverviewBox box = overviewBox(scene.view, scale);
        QPainter painter(&strip);
        painter.drawImage(0, 0, miniature);
        const QRectF rect(1.0 + box.left, 1.0, std::max(box.right - box.left, 2.0),
                          kStripHeight - 3.0);
        painter.fillRect(rect, QColor(0, 0, 0, 28));
        painter.setPen(QPen(QColor(0, 0, 0, 160), 1.0));
        painter.drawRect(rect);
        benchmark::DoNotOptimize(strip.constBits());
    }
}
BENCHMARK(overviewRepaint)->Unit(benchmark::kMillisecond);

// The statistics panel's figures of the whole visible recording and their texts.
void panelStatistics(benchmark::State& state) {
    TwoHourScene scene(1.0);
    for (auto _ : state) {
        const RangeStatistics stats = computeRangeStatistics(
            scene.store(), nullptr,
            {scene.view.viewStart, scene.view.viewEnd, kDefaultRso2Threshold});
        for (const Channel channel : {kRso2, kOxhb, kDxhb, kTohb}) {
            benchmark::DoNotOptimize(channelStatisticTexts(channel, stats.channels[channel]));
        }
        benchmark::DoNotOptimize(belowThresholdTexts(stats));
    }
}
BENCHMARK(panelStatistics)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace nuvisca::bench
