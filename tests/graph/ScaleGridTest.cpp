#include <gtest/gtest.h>

#include "graph/GraphColours.h"
#include "graph/GraphFixtures.h"

namespace nuvisca {
namespace {

using test::GraphFixture;

struct ScaleCase {
    std::int32_t zoomIndex;
    float verticalOffset;
    std::vector<std::string> left;
    std::vector<std::string> right;
    std::vector<double> gridYs;
};

class ScaleGridTest : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(ScaleGridTest, LabelsAndGridLinesAtZoomAndOffset) {
    const ScaleCase& c = GetParam();
    GraphFixture f(0);  // grid and scales are drawn with or without data
    f.store->zoomIndex = c.zoomIndex;
    f.view.verticalOffset = c.verticalOffset;
    const test::RecordingPainter painter = f.draw();

    std::vector<std::string> left;
    std::vector<std::string> right;
    for (const test::RecordedText* text : painter.textsIn(colorLine2)) {
        (text->at.x == 14 ? left : right).push_back(text->text);
        if (text->at.x != 14) {
            EXPECT_EQ(text->at.x, 1000 - 59);
        }
    }
    EXPECT_EQ(left, c.left);
    EXPECT_EQ(right, c.right);

    std::vector<double> gridYs;
    for (const test::RecordedStroke* stroke : painter.strokesOf(colorLine1, 2.0)) {
        for (const auto& run : stroke->runs) {
            EXPECT_EQ(run.front().x, 10);
            EXPECT_EQ(run.back().x, 990);
            gridYs.push_back(run.front().y);
        }
    }
    EXPECT_EQ(gridYs, c.gridYs);
}

const std::vector<double> kUnscrolledGrid{116, 221, 327, 432};

INSTANTIATE_TEST_SUITE_P(
    Zooms, ScaleGridTest,
    ::testing::Values(
        ScaleCase{0, 0, {"0.0", "40.0", "80.0"}, {"0.000", "0.400", "0.800"}, kUnscrolledGrid},
        ScaleCase{1,
                  0,
                  {"0.0", "20.0", "40.0", "60.0", "80.0"},
                  {"0.000", "0.200", "0.400", "0.600", "0.800"},
                  kUnscrolledGrid},
        ScaleCase{3,
                  0,
                  {"0.0", "5.0", "10.0", "15.0", "20.0"},
                  {"0.000", "0.050", "0.100", "0.150", "0.200"},
                  kUnscrolledGrid},
        ScaleCase{4,
                  0,
                  {"0.0", "2.5", "5.0", "7.5", "10.0"},
                  {"0.000", "0.025", "0.050", "0.075", "0.100"},
                  kUnscrolledGrid},
        // Value 0 one plot height below the plot: the lowest line is k = 6, while the
        // labels of k = 5 stand on the lower edge without a line.
        ScaleCase{2,
                  528,
                  {"50.0", "60.0", "70.0", "80.0", "90.0"},
                  {"0.500", "0.600", "0.700", "0.800", "0.900"},
                  {116, 221, 327, 432}},
        // An offset beyond the zoom's reach is drawn at the limit.
        ScaleCase{2,
                  5000,
                  {"50.0", "60.0", "70.0", "80.0", "90.0"},
                  {"0.500", "0.600", "0.700", "0.800", "0.900"},
                  {116, 221, 327, 432}}));

TEST(ScaleGrid, OffsetOutOfReachIsKeptUntilTheZoomAllowsNone) {
    GraphFixture f(0);
    f.store->zoomIndex = 2;
    f.view.verticalOffset = 5000;
    f.draw();
    EXPECT_EQ(f.view.verticalOffset, 5000);
    f.store->zoomIndex = 1;
    f.draw();
    EXPECT_EQ(f.view.verticalOffset, 0);
}

TEST(ScaleGrid, LowestLabelsSitOnTheLowerEdgeWhenScrolled) {
    GraphFixture f(0);
    f.store->zoomIndex = 2;
    f.view.verticalOffset = 528;
    const test::RecordingPainter painter = f.draw();
    ASSERT_NE(painter.findText("50.0"), nullptr);
    EXPECT_FLOAT_EQ(static_cast<float>(painter.findText("50.0")->at.y), 12.0f);
}

}  // namespace
}  // namespace nuvisca
