#include <gtest/gtest.h>

#include <cmath>

#include "graph/GraphColours.h"
#include "graph/GraphFixtures.h"
#include "graph/TraceRuns.h"

namespace nuvisca {
namespace {

using test::clockTag;
using test::GraphFixture;

constexpr double kStep = 980.0 / 900.0;

std::vector<std::vector<std::int32_t>> runSlots(const test::RecordingPainter& painter,
                                                const Rgba& colour) {
    const auto strokes = painter.strokesOf(colour, 2.0);
    EXPECT_EQ(strokes.size(), 1u);
    std::vector<std::vector<std::int32_t>> slots;
    for (const auto& run : strokes.front()->runs) {
        std::vector<std::int32_t> r;
        for (const PointF& p : run) {
            r.push_back(static_cast<std::int32_t>(std::lround((p.x - 10) / kStep)));
        }
        slots.push_back(r);
    }
    return slots;
}

TEST(TraceRuns, BreakAtGapsAndRestartsAndEndBeforeTheLastSlot) {
    GraphFixture f(12);
    f.gap(3, 5);
    f.restart(7, clockTag(10, 30, 0));
    f.view.traceShown = {1, 1, 1, 1};
    const test::RecordingPainter painter = f.draw();
    // Slot 11 is sampleCount - 1, which the drawing never reaches.
    const std::vector<std::vector<std::int32_t>> expected{{0, 1, 2}, {5, 6}, {7, 8, 9, 10}};
    for (const Rgba& colour : {colorSto2, colorTohb, colorDxhb, colorOxhb}) {
        EXPECT_EQ(runSlots(painter, colour), expected);
    }
    // rSO2 first, oxHb last, so that oxHb lies on top.
    EXPECT_EQ(painter.strokesOf(colorSto2, 2.0).front(),
              &painter.strokes[painter.strokes.size() - 6]);
    EXPECT_EQ(painter.strokesOf(colorOxhb, 2.0).front(),
              &painter.strokes[painter.strokes.size() - 3]);
}

TEST(TraceRuns, HiddenTracesAreNotDrawn) {
    GraphFixture f(12);  // start-up selection: toHb and rSO2
    const test::RecordingPainter painter = f.draw();
    EXPECT_TRUE(painter.strokesOf(colorOxhb, 2.0).empty());
    EXPECT_TRUE(painter.strokesOf(colorDxhb, 2.0).empty());
    EXPECT_EQ(painter.strokesOf(colorTohb, 2.0).size(), 1u);
    EXPECT_EQ(painter.strokesOf(colorSto2, 2.0).size(), 1u);
}

TEST(TraceRuns, Rso2HasAValueAboveAHundredthOnScreenAndAboveZeroOnThePage) {
    GraphFixture f(12);
    f.store->rso2Data[3] = 0.01f;
    f.store->rso2Data[5] = 0.005f;
    f.store->rso2Data[7] = 0.0f;
    f.store->rso2Data[9] = noDataValue;
    EXPECT_EQ(runSlots(f.draw(), colorSto2),
              (std::vector<std::vector<std::int32_t>>{{0, 1, 2}, {4}, {6}, {8}, {10}}));
    EXPECT_EQ(runSlots(f.draw(printPageStyle()), colorSto2),
              (std::vector<std::vector<std::int32_t>>{{0, 1, 2, 3, 4, 5, 6}, {8}, {10}}));
}

TEST(TraceRuns, RawRso2DecidesWhenTheAverageIsDrawn) {
    GraphFixture f(6);
    f.store->averageWindow = 1;
    f.store->rso2Avg.fill(50.0f);
    f.store->rso2Data[2] = noDataValue;
    const test::RecordingPainter painter = f.draw();
    const auto strokes = painter.strokesOf(colorSto2, 2.0);
    ASSERT_EQ(strokes.front()->runs.size(), 2u);
    EXPECT_NEAR(strokes.front()->runs[0][0].y, 50 * 5.28 + 10, 1e-3);
}

TEST(TraceRuns, ValuesAreHeldInsideThePlot) {
    GraphFixture f(6);
    f.store->rso2Data[0] = 0.1f;  // y 10.53: only the first rSO2 point may go below 11
    f.store->rso2Data[1] = 0.1f;
    f.store->rso2Data[2] = 150.0f;
    f.store->tohbData[0] = 0.0f;  // a value of 0 is drawn, at the bottom
    const test::RecordingPainter painter = f.draw();
    const auto& rso2 = painter.strokesOf(colorSto2, 2.0).front()->runs.front();
    EXPECT_NEAR(rso2[0].y, 10.528, 1e-4);
    EXPECT_EQ(rso2[1].y, 11);
    EXPECT_EQ(rso2[2].y, 537);
    EXPECT_EQ(painter.strokesOf(colorTohb, 2.0).front()->runs.front()[0].y, 11);
}

TEST(TraceRuns, HaemoglobinResumesAtARestartEvenWithoutAValue) {
    GraphFixture f(8);
    f.gap(3, 5);
    f.restart(4, clockTag(11, 0, 0));
    const test::RecordingPainter painter = f.draw();
    const auto& tohb = painter.strokesOf(colorTohb, 2.0).front()->runs;
    ASSERT_EQ(tohb.size(), 2u);
    EXPECT_EQ(tohb[1].front().y, 11);  // the restart slot's -1 is held at the bottom
    EXPECT_EQ(runSlots(painter, colorSto2),
              (std::vector<std::vector<std::int32_t>>{{0, 1, 2}, {5, 6}}));
}

TEST(ReduceToColumns, KeepsFirstLowestHighestAndLastOfEachColumnInOrder) {
    const std::vector<PointF> run{{10.0, 5}, {10.2, 9}, {10.4, 1}, {10.6, 4}, {10.8, 6},  {11.1, 6},
                                  {12.0, 7}, {12.5, 8}, {13.0, 3}, {13.2, 2}, {13.4, 2.5}};
    std::vector<PointF> reduced;
    reduceToColumns(run, 1.0, reduced);
    EXPECT_EQ(reduced, (std::vector<PointF>{{10.0, 5},
                                            {10.2, 9},
                                            {10.4, 1},
                                            {10.8, 6},
                                            {11.1, 6},
                                            {12.0, 7},
                                            {12.5, 8},
                                            {13.0, 3},
                                            {13.2, 2},
                                            {13.4, 2.5}}));
    // Two device pixels per unit split each unit column in two.
    std::vector<PointF> fine;
    reduceToColumns(run, 2.0, fine);
    EXPECT_EQ(fine.size(), run.size());
}

}  // namespace
}  // namespace nuvisca
