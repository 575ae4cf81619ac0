#include <gtest/gtest.h>

#include "graph/GraphColours.h"
#include "graph/GraphFixtures.h"

namespace nuvisca {
namespace {

using test::clockTag;
using test::GraphFixture;

std::vector<double> restartLineXs(const test::RecordingPainter& painter) {
    std::vector<double> xs;
    for (const test::RecordedStroke* stroke : painter.strokesOf(kRed, 1.0)) {
        for (const auto& run : stroke->runs) {
            EXPECT_EQ(run.size(), 2u);
            EXPECT_EQ(run.front().y, 10);
            EXPECT_EQ(run.back().y, 538);
            xs.push_back(run.front().x);
        }
    }
    return xs;
}

TEST(RestartMarks, LineAndLabelAtEachRestartStackingWhenClose) {
    GraphFixture f(2000);
    f.restart(300, clockTag(10, 5, 0));
    f.restart(400, clockTag(10, 6, 0));
    f.restart(700, clockTag(10, 20, 0));
    const test::RecordingPainter painter = f.draw();
    EXPECT_EQ(restartLineXs(painter), (std::vector<double>{336, 445, 772}));

    const auto labels = painter.textsIn(colorLine3);
    ASSERT_EQ(labels.size(), 3u);
    EXPECT_EQ(labels[0]->text, "10:02:29\u219210:05:00");  // clock of slot 299
    EXPECT_EQ(labels[0]->at, (PointF{340, 12}));
    EXPECT_EQ(labels[1]->text, "10:05:49\u219210:06:00");
    EXPECT_EQ(labels[1]->at, (PointF{449, 32}));  // within 184 of the first: next row up
    EXPECT_EQ(labels[2]->text, "10:08:29\u219210:20:00");
    EXPECT_EQ(labels[2]->at, (PointF{776, 12}));  // far enough: back on the lowest row
    EXPECT_EQ(labels[2]->attributes.background, kWhite);
}

TEST(RestartMarks, ResumeTimeAfterMidnightGoesPast24Hours) {
    GraphFixture f(2000, clockTag(23, 0, 0));
    f.restart(300, clockTag(0, 0, 10));
    const test::RecordingPainter painter = f.draw();
    const auto labels = painter.textsIn(colorLine3);
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0]->text, "23:02:29\u219224:00:10");
}

TEST(RestartMarks, RestartOnTheFirstVisibleSlotIsNeitherLinedNorLabelled) {
    GraphFixture f(2000);
    f.restart(300, clockTag(10, 5, 0));
    f.restart(500, clockTag(10, 10, 0));
    f.view.viewStart = 300;
    f.view.viewEnd = 1200;
    const test::RecordingPainter painter = f.draw();
    EXPECT_EQ(restartLineXs(painter).size(), 1u);
    const auto labels = painter.textsIn(colorLine3);
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0]->text, "10:06:39\u219210:10:00");
}

TEST(RestartMarks, NinthCrowdedLabelWrapsToTheRowAfterThePrevious) {
    GraphFixture f(2000);
    for (std::int32_t k = 0; k < 9; ++k) {
        f.restart(100 + 10 * k, clockTag(11, k, 0));
    }
    const test::RecordingPainter painter = f.draw();
    const auto labels = painter.textsIn(colorLine3);
    ASSERT_EQ(labels.size(), 9u);
    for (std::size_t k = 0; k < 8; ++k) {
        EXPECT_EQ(labels[k]->at.y, 20.0 * static_cast<double>(k) + 12) << k;
    }
    EXPECT_EQ(labels[8]->at.y, 12);
}

}  // namespace
}  // namespace nuvisca
