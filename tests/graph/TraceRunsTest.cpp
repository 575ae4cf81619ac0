#include <gtest/gtest.h>

#include <cmath>

#include "graph/GraphColours.h"
#include "graph/GraphFixtures.h"

namespace nuvisca::test {
namespace {

using Runs = std::vector<std::vector<std::int32_t>>;

constexpr double kStep = 980.0 / 900.0;

// The slots each run of the trace of that colour passes through.
Runs runSlots(const RecordingPainter& painter, const Rgba& colour) {
    Runs slots;
    for (const auto& run : painter.strokesOf(colour, 2.0).at(0)->runs) {
        slots.emplace_back();
        for (const PointF& p : run) {
            slots.back().push_back(static_cast<std::int32_t>(std::lround((p.x - 10) / kStep)));
        }
    }
    return slots;
}

TEST(TraceRuns, BreakAtGapsAndRestartsAndEndBeforeTheLastSlot) {
    GraphFixture f(12);
    f.gap(3, 5);
    f.restart(4, clockTag(10, 30, 0));
    f.restart(8, clockTag(10, 40, 0));
    f.view.traceShown = {1, 0, 1, 1};
    const RecordingPainter painter = f.draw();
    // Slot 11 is sampleCount - 1, which the drawing never reaches. The haemoglobin traces
    // resume at a restart even without a value, held at the bottom of the plot.
    EXPECT_EQ(runSlots(painter, colorSto2), (Runs{{0, 1, 2}, {5, 6, 7}, {8, 9, 10}}));
    for (const Rgba& colour : {colorTohb, colorOxhb}) {
        EXPECT_EQ(runSlots(painter, colour), (Runs{{0, 1, 2}, {4, 5, 6, 7}, {8, 9, 10}}));
    }
    EXPECT_EQ(painter.strokesOf(colorTohb, 2.0)[0]->runs[1][0].y, 11);
    EXPECT_TRUE(painter.strokesOf(colorDxhb, 2.0).empty()) << "hidden";
    // rSO2 first, oxHb last, so that oxHb lies on top; the frame and border follow.
    EXPECT_EQ(painter.strokesOf(colorSto2, 2.0)[0], &painter.strokes[painter.strokes.size() - 5]);
    EXPECT_EQ(painter.strokesOf(colorOxhb, 2.0)[0], &painter.strokes[painter.strokes.size() - 3]);
}

TEST(TraceRuns, Rso2HasAValueAboveAHundredthOnScreenAndAboveZeroOnThePage) {
    GraphFixture f(12);
    f.store->rso2Data[3] = 0.01f;
    f.store->rso2Data[5] = 0.005f;
    f.store->rso2Data[7] = 0.0f;
    f.store->rso2Data[9] = noDataValue;
    EXPECT_EQ(runSlots(f.draw(), colorSto2), (Runs{{0, 1, 2}, {4}, {6}, {8}, {10}}));
    EXPECT_EQ(runSlots(f.draw(printPageStyle()), colorSto2),
              (Runs{{0, 1, 2, 3, 4, 5, 6}, {8}, {10}}));
    // The measured values decide also when the average is drawn.
    f.store->averageWindow = 1;
    f.store->rso2Avg.fill(50.0f);
    const RecordingPainter averaged = f.draw();
    EXPECT_EQ(runSlots(averaged, colorSto2), (Runs{{0, 1, 2}, {4}, {6}, {8}, {10}}));
    EXPECT_NEAR(averaged.strokesOf(colorSto2, 2.0)[0]->runs[0][0].y, 50 * 5.28 + 10, 1e-3);
}

TEST(TraceRuns, ValuesAreHeldInsideThePlot) {
    GraphFixture f(6);
    f.store->rso2Data[0] = 0.1f;  // y 10.53: only the first rSO2 point may go below 11
    f.store->rso2Data[1] = 0.1f;
    f.store->rso2Data[2] = 150.0f;
    f.store->tohbData[0] = 0.0f;  // a value of 0 is drawn, at the bottom
    const RecordingPainter painter = f.draw();
    const auto& rso2 = painter.strokesOf(colorSto2, 2.0).at(0)->runs.at(0);
    EXPECT_NEAR(rso2[0].y, 10.528, 1e-4);
    EXPECT_EQ(rso2[1].y, 11);
    EXPECT_EQ(rso2[2].y, 537);
    EXPECT_EQ(painter.strokesOf(colorTohb, 2.0).at(0)->runs.at(0)[0].y, 11);
}

}  // namespace
}  // namespace nuvisca::test
