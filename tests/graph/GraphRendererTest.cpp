#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "graph/GraphColours.h"
#include "graph/GraphFixtures.h"
#include "graph/GraphHeader.h"
#include "graph/GraphLayout.h"
#include "graph/ReviewMarks.h"
#include "graph/TraceRuns.h"

namespace nuvisca::test {
namespace {

TEST(GraphRenderer, ScaleLabelsAndGridAtEachZoomAndOffset) {
    // At offset 528 value 0 lies one plot height below the plot. An offset beyond the zoom's
    // reach is drawn at the limit and kept until a zoom allows none.
    // Zoom, offset, the offset drawn at, and the left and right scale labels.
    using Case = std::tuple<std::int32_t, float, float, std::string, std::string>;
    // clang-format off
    const Case cases[] = {
        {0, 0, 0, "0.0 40.0 80.0", "0.000 0.400 0.800"},
        {1, 0, 0, "0.0 20.0 40.0 60.0 80.0", "0.000 0.200 0.400 0.600 0.800"},
        {3, 0, 0, "0.0 5.0 10.0 15.0 20.0", "0.000 0.050 0.100 0.150 0.200"},
        {4, 0, 0, "0.0 2.5 5.0 7.5 10.0", "0.000 0.025 0.050 0.075 0.100"},
        {2, 528, 528, "50.0 60.0 70.0 80.0 90.0", "0.500 0.600 0.700 0.800 0.900"},
        {2, 5000, 5000, "50.0 60.0 70.0 80.0 90.0", "0.500 0.600 0.700 0.800 0.900"},
        {1, 5000, 0, "0.0 20.0 40.0 60.0 80.0", "0.000 0.200 0.400 0.600 0.800"}};
    // clang-format on
    std::vector<std::vector<PointF>> grid;
    for (const double y : {116, 221, 327, 432}) {
        grid.push_back({{10, y}, {990, y}});
    }
    for (const auto& [zoomIndex, offset, offsetAfter, left, right] : cases) {
        SCOPED_TRACE(::testing::Message() << "zoom " << zoomIndex << ", offset " << offset);
        GraphFixture f(0);  // drawn with or without data
        f.model.setZoomIndex(zoomIndex);
        f.view.verticalOffset = offset;
        const RecordingPainter painter = f.draw();
        EXPECT_EQ(f.view.verticalOffset, offsetAfter);
        std::map<double, std::string> sides;
        for (const RecordedText* text : painter.textsIn(kLabelColour)) {
            sides[text->at.x] += (sides[text->at.x].empty() ? "" : " ") + text->text;
        }
        // "0.000" is 54 wide: right-aligned 14 inside the view, as the left labels stand.
        EXPECT_EQ(sides, (std::map<double, std::string>{{14, left}, {1000 - 14 - 54, right}}));
        EXPECT_EQ(painter.textsIn(kLabelColour).at(0)->at.y, 12) << "on the lower edge";
        EXPECT_EQ(painter.strokesOf(kGridColour, 2.0).at(0)->runs, grid);
    }
}

TEST(GraphRenderer, TheMovingAverageStandsBesideTheDateLineInItsStyleWhenOn) {
    // View width, averageWindow, and whether "移動平均 N" is drawn: not when off, nor where it
    // would come within 18 of "[Index]" at width - 73. The date line is 41 characters wide
    // (442.8 at 10.8 each), so the 7 of "移動平均 10" end at 656.4: in a view 747.4 wide.
    // clang-format off
    const std::tuple<float, std::int32_t, const char*> cases[] = {
        {1000, 9, "移動平均 10"}, {1000, 29, "移動平均 30"}, {1000, 0, nullptr},
        {748, 9, "移動平均 10"}, {747, 9, nullptr}};
    // clang-format on
    for (const auto& [width, window, shown] : cases) {
        SCOPED_TRACE(::testing::Message() << width << ", " << window);
        GraphFixture f(12);
        f.view.viewWidth = width;
        f.model.setAverageWindow(window);
        RecordingPainter painter = f.draw();
        const RecordedText* date = painter.findText(recordingDateLine(*f.store));
        ASSERT_NE(date, nullptr);
        std::vector<const RecordedText*> averages;
        for (const RecordedText& text : painter.texts) {
            if (text.text.starts_with("移動平均")) {
                averages.push_back(&text);
            }
        }
        ASSERT_EQ(averages.size(), shown ? 1u : 0u);
        if (shown) {
            EXPECT_EQ(averages[0]->text, shown);
            const double x = 120 + painter.textWidth(date->text, 18) + 18;
            EXPECT_EQ(averages[0]->at, (PointF{x, date->at.y}));
            const auto style = [](const RecordedText* t) {
                return std::tie(t->attributes.fontSize, t->attributes.foreground,
                                t->attributes.background);
            };
            EXPECT_EQ(style(averages[0]), style(date));
        }
    }
}

using Runs = std::vector<std::vector<std::int32_t>>;

// The slots each run of the trace of that colour passes through.
Runs runSlots(const RecordingPainter& painter, const Rgba& colour) {
    Runs slots;
    for (const auto& run : painter.strokesOf(colour, 2.0).at(0)->runs) {
        slots.emplace_back();
        for (const PointF& p : run) {
            slots.back().push_back(static_cast<std::int32_t>(std::lround((p.x - 10) * 900 / 980)));
        }
    }
    return slots;
}

// Events and the selection shade the plot across the slots they cover; the baseline is a
// dashed line on the traces' scale and the effective threshold the stronger dashed one.
TEST(GraphRenderer, ReviewBandsAndDashedLinesOnTheTracesScale) {
    GraphFixture f(3000);
    std::fill_n(&f.store->measured[kRso2][100], 100, 40.0f);
    f.model.setBaseline(Baseline{70.0});
    f.model.setSelection({50, 150});
    const RecordingPainter painter = f.draw();
    const auto fillsOf = [&](const Rgba& colour) {
        std::vector<RectF> rects;
        for (const auto& fill : painter.fills) {
            if (fill.colour == colour) {
                rects.push_back(fill.rect);
            }
        }
        return rects;
    };
    const double step = 980.0 / 900.0;
    const auto band = [&](int start, int end) {
        return RectF{10.0 + start * step, 10.0, (end - start) * step, 528.0};
    };  // Opaque, as laid over white; where the selection crosses the event, over the event.
    for (const auto& [colour, start, end] :
         {std::tuple(kEventBand, 100, 200), std::tuple(kSelectionBand, 50, 100),
          std::tuple(kSelectionOnEventBand, 100, 150)}) {
        ASSERT_EQ(fillsOf(colour).size(), 1u) << start;
        EXPECT_NEAR(fillsOf(colour)[0].x, band(start, end).x, 1e-3);
        EXPECT_NEAR(fillsOf(colour)[0].width, band(start, end).width, 1e-3);
        EXPECT_EQ(fillsOf(colour)[0].height, 528.0);
    }
    EXPECT_FLOAT_EQ(kEventBand.g, 0.2f * 0.15f + 0.8f);

    const double base = layoutGraph(f.model, f.view).base;
    const double at70 = painter.strokesOf(traceColour(kRso2), 2.0)[0]->runs[0][0].y;
    const auto dashes = [&](const Rgba& colour, double width) {
        const auto strokes = painter.strokesOf(colour, width);
        return strokes.size() == 1 ? strokes[0]->runs : std::vector<std::vector<PointF>>{};
    };
    const auto baseline = dashes(kBaselineColour, kWeakLine);
    const auto relative = dashes(kThresholdColour, kStrongLine);
    const auto absolute = dashes(kThresholdColour, kWeakLine);
    ASSERT_FALSE(baseline.empty() || relative.empty() || absolute.empty());
    EXPECT_EQ(baseline[0][0].y, at70);
    EXPECT_NEAR(relative[0][0].y - base, 0.8 * (at70 - base), 1e-3);
    EXPECT_NEAR(absolute[0][0].y - base, 50.0 / 70.0 * (at70 - base), 1e-3);
    EXPECT_EQ(relative[1], (std::vector<PointF>{{20, relative[0][0].y}, {26, relative[0][0].y}}));
    PolylinePath cut;
    appendDashedLine(cut, {0, 5}, {25, 5}, 6, 4);
    ASSERT_EQ(cut.runCount(), 3u);
    EXPECT_EQ(cut.run(2)[1], (PointF{25, 5})) << "the last dash cut at the end";
}

TEST(TraceRuns, BreakAtGapsAndRestartsAndEndBeforeTheLastSlot) {
    GraphFixture f(12);
    for (auto* data : {&f.store->measured[kRso2], &f.store->measured[kOxhb],
                       &f.store->measured[kDxhb], &f.store->measured[kTohb]}) {
        (*data)[3] = (*data)[4] = noDataValue;
    }
    f.restart(4, clockTag(10, 30, 0));
    f.restart(8, clockTag(10, 40, 0));
    f.view.traceShown = {1, 0, 1, 1};
    const RecordingPainter painter =
        f.draw();  // The headings lie on the time labels' white once the surface has drawn samples.
    EXPECT_EQ(painter.findText("[Index]")->attributes.background, std::nullopt);
    EXPECT_EQ(f.draw().findText("[Index]")->attributes.background, kWhite);
    // Slot 11 is sampleCount - 1, which the drawing never reaches. The haemoglobin traces
    // resume at a restart even without a value, held at the bottom of the plot.
    EXPECT_EQ(runSlots(painter, traceColour(kRso2)), (Runs{{0, 1, 2}, {5, 6, 7}, {8, 9, 10}}));
    EXPECT_EQ(runSlots(painter, traceColour(kTohb)), (Runs{{0, 1, 2}, {4, 5, 6, 7}, {8, 9, 10}}));
    EXPECT_EQ(painter.strokesOf(traceColour(kTohb), 2.0)[0]->runs[1][0].y, 11);
    EXPECT_TRUE(painter.strokesOf(traceColour(kDxhb), 2.0).empty()) << "hidden";
    // The background, then the legend markers: hidden dxHb outlined, the others filled.
    EXPECT_EQ(painter.rectsFilled, (std::vector<bool>{true, true, false, true, true}));
    // rSO2 first, oxHb last, so that oxHb lies on top; the frame and border follow.
    EXPECT_EQ(painter.strokesOf(traceColour(kRso2), 2.0)[0], &*(painter.strokes.end() - 5));
    EXPECT_EQ(painter.strokesOf(traceColour(kOxhb), 2.0)[0], &*(painter.strokes.end() - 3));
    EXPECT_EQ(painter.strokes.back().runs.at(1), (std::vector<PointF>{{0, 599.5}, {1000, 599.5}}))
        << "the border's top on the outermost pixels";
}

TEST(TraceRuns, Rso2AboveAHundredthOnScreenAndAboveZeroOnThePageHeldInsideThePlot) {
    GraphFixture f(12);
    const float rso2[] = {0.1f, 0.1f, 150.0f, 0.01f, 70.0f, 0.005f, 70.0f, 0.0f, 70.0f, -1.0f};
    std::copy(std::begin(rso2), std::end(rso2), f.store->measured[kRso2].begin());
    f.store->measured[kTohb][0] = 0.0f;  // a value of 0 is drawn, at the bottom
    const RecordingPainter painter = f.draw();
    EXPECT_EQ(runSlots(painter, traceColour(kRso2)), (Runs{{0, 1, 2}, {4}, {6}, {8}, {10}}));
    // y 10.53 for 0.1: only the first rSO2 point may go below 11.
    const auto& held = painter.strokesOf(traceColour(kRso2), 2.0)[0]->runs[0];
    EXPECT_EQ((std::vector<double>{std::round(held[0].y * 1000), held[1].y, held[2].y}),
              (std::vector<double>{10528, 11, 537}));
    EXPECT_EQ(painter.strokesOf(traceColour(kTohb), 2.0)[0]->runs[0][0].y, 11);
    EXPECT_EQ(runSlots(f.draw(kPrintPageStyle), traceColour(kRso2)),
              (Runs{{0, 1, 2, 3, 4, 5, 6}, {8}, {10}}));
    // The measured values decide also when the average is drawn.
    f.model.setAverageWindow(1);
    const float mean = f.model.averaged()->values[kRso2][1];  // of 0.1, 0.1 and 150
    ASSERT_NE(mean, f.store->measured[kRso2][1]);
    const RecordingPainter averaged = f.draw();
    EXPECT_EQ(runSlots(averaged, traceColour(kRso2)), (Runs{{0, 1, 2}, {4}, {6}, {8}, {10}}));
    EXPECT_NEAR(averaged.strokesOf(traceColour(kRso2), 2.0)[0]->runs[0][1].y, mean * 5.28 + 10,
                1e-3);
}

TEST(TraceRuns, ColumnsKeepTheirFirstLowestHighestAndLastPointsInRunOrder) {
    // At 2 pixels a unit: columns -1 (x below 0), 0, 1 and 2.
    const std::vector<PointF> run{{-0.3, 2}, {-0.1, 7}, {0.1, 5}, {0.2, 9}, {0.3, 1},
                                  {0.4, 4},  {0.45, 6}, {0.6, 3}, {0.7, 3}, {1.2, 8}};
    std::vector<PointF> reduced{{-5, -5}};
    reduceToColumns(run, 2.0, reduced);
    std::vector<PointF> kept{{-5, -5}};
    for (std::size_t k = 0; k < run.size(); ++k) {
        if (k != 5) {
            kept.push_back(run[k]);  // all but (0.4, 4), neither first, last nor extreme
        }
    }
    EXPECT_EQ(reduced, kept);
}

// As strokePath reduces runs to columns, a dense view's runs must reduce to the same points,
// and its spans cover the same pixels.
TEST(TraceRuns, DenseColumnsFromTheIndexReduceAsTheFullWalkDoes) {
    GraphFixture f(20000);
    Recording& s = *f.store;
    for (std::size_t i = 0; i < 20000; ++i) {
        const double wave =
            std::sin(static_cast<double>(i) * 0.013) + 0.3 * std::sin(static_cast<double>(i) * 1.7);
        s.measured[kOxhb][i] = static_cast<float>(0.4 + 0.2 * wave);
        s.measured[kRso2][i] = static_cast<float>(60.0 + 20.0 * wave);
    }
    // A gap inside a column, a pause, a restart, and rSO2 present on paper alone.
    s.measured[kOxhb][5003] = -1.0f;
    std::fill_n(s.measured[kOxhb].begin() + 9000, 700, -1.0f);
    f.restart(12345, clockTag(11, 0, 0));
    s.measured[kRso2][7001] = 0.005f;
    s.measured[kRso2][7002] = 0.0f;
    f.model.setRecording(f.store);
    for (const std::int32_t window : {0, 3}) {
        f.model.setAverageWindow(window);
        f.view.viewEnd = 20000;
        f.draw();
        const GraphLayout layout = layoutGraph(f.model, f.view);
        for (const double ratio : {1.0, 2.0}) {
            ASSERT_LT(layout.step * ratio, 0.1) << "the view is dense";
            for (const Channel trace : {kOxhb, kRso2}) {
                for (const Rso2Presence presence :
                     {Rso2Presence::AboveHundredth, Rso2Presence::AboveZero}) {
                    SCOPED_TRACE(::testing::Message() << "window " << window << ", ratio " << ratio
                                                      << ", channel " << trace);
                    PolylinePath dense;
                    PolylinePath full;
                    buildTraceRuns(f.model, layout, trace, presence, ratio, dense);
                    buildTraceRuns(f.model, layout, trace, presence, 0.0, full);
                    ASSERT_EQ(dense.runCount(), full.runCount());
                    ASSERT_GT(full.runCount(), 1u);
                    for (std::size_t r = 0; r < full.runCount(); ++r) {
                        std::vector<PointF> reduced;
                        reduceToColumns(full.run(r), ratio, reduced);
                        std::vector<PointF> again;
                        reduceToColumns(dense.run(r), ratio, again);
                        EXPECT_EQ(again, reduced) << "run " << r;
                    }
                    // Spans straight from the index cover what every point's segments cover.
                    std::vector<ColumnSpan> fromPoints;
                    traceColumnSpans(full, ratio, 2.0, fromPoints);
                    std::vector<ColumnSpan> fromIndex;
                    traceColumnSpans(f.model, layout, trace, presence, ratio, 2.0, {}, fromIndex);
                    EXPECT_EQ(fromIndex, fromPoints);
                }
            }
        }
    }
}

TEST(TraceRuns, ColumnSpansCoverEachRunWidenedByTheLine) {
    PolylinePath runs;
    runs.begin({10.0, 20.0});  // within column 10 at 1 pixel a point
    runs.lineTo({10.2, 30.0});
    runs.begin({40.0, 5.0});  // a lone point shows nothing
    runs.begin({0.5, 5.0});   // level across columns 1 to 7 at 2 pixels a point
    runs.lineTo({3.5, 5.0});
    std::vector<ColumnSpan> spans;
    traceColumnSpans(runs, 1.0, 2.0, spans);
    const std::vector<ColumnSpan> tall{{9, 19, 30}, {10, 19, 30}};
    EXPECT_EQ(std::vector<ColumnSpan>(spans.begin(), spans.begin() + 2), tall);
    traceColumnSpans(runs, 2.0, 2.0, spans);
    ASSERT_EQ(spans.size(), 4u + 10u);
    for (std::int32_t c = -1; c <= 8; ++c) {
        EXPECT_EQ(spans[static_cast<std::size_t>(c + 5)], (ColumnSpan{c, 8, 11}));
    }
}

TEST(GraphRenderer, DenseTracesAreFilledAsColumnSpansWhereTheSurfaceCanSparseOnesStroked) {
    GraphFixture f(20000);
    f.view.viewEnd = 20000;
    f.draw();
    const auto drawn = [&f](double ratio, bool spans) {
        RecordingPainter painter;
        painter.columnsPerUnit = ratio;
        painter.spansFilled = spans;
        drawGraph(painter, f.model, f.view, true, kOnScreenStyle);
        return std::pair(painter.columnFills.size(),
                         painter.strokesOf(traceColour(kRso2), 2.0).size());
    };
    EXPECT_EQ(drawn(2.0, true), std::pair(std::size_t{2}, std::size_t{0}));
    EXPECT_EQ(drawn(2.0, false), std::pair(std::size_t{0}, std::size_t{1}));
    f.view.viewEnd = 300;
    f.draw();
    EXPECT_EQ(drawn(2.0, true), std::pair(std::size_t{0}, std::size_t{1}));
}

}  // namespace
}  // namespace nuvisca::test
