#include <gtest/gtest.h>

#include "print/PagePlacement.h"

namespace nuvisca {
namespace {

struct PlacementCase {
    const char* name;
    PageSize page;
    double areaWidth;
    double areaHeight;
    PageFit fit;
    RectF placed;
};

class PagePlacementTest : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(PagePlacementTest, PlacedInThePrintableArea) {
    const PlacementCase& c = GetParam();
    const RectF placed = placePage(c.page, c.areaWidth, c.areaHeight, c.fit);
    EXPECT_DOUBLE_EQ(placed.x, c.placed.x);
    EXPECT_DOUBLE_EQ(placed.y, c.placed.y);
    EXPECT_DOUBLE_EQ(placed.width, c.placed.width);
    EXPECT_DOUBLE_EQ(placed.height, c.placed.height);
}

constexpr PageFit kPrintFit{.fitToWidth = true, .verticallyCentred = false};

INSTANTIATE_TEST_SUITE_P(
    Placements, PagePlacementTest,
    ::testing::Values(
        // A wide page: scaled to the width and hung from the top of the area.
        PlacementCase{
            "FitsTheWidthFromTheTop", {1400, 896}, 700, 500, kPrintFit, {0, 52, 700, 448}},
        // Too tall once fitted: one page still, scaled to the height and centred across.
        PlacementCase{"TallPageShrinksToTheHeight",
                      {1000, 696},
                      785,
                      522,
                      kPrintFit,
                      {(785 - 750) / 2.0, 0, 750, 522}},
        PlacementCase{"CentredWhenAskedTo", {1400, 896}, 700, 500, {true, true}, {0, 26, 700, 448}},
        // Unfitted, a point stays a point and what does not fit is cut.
        PlacementCase{
            "UnfittedKeepsItsSize", {300, 200}, 700, 500, {false, false}, {200, 300, 300, 200}},
        PlacementCase{
            "UnfittedWideIsCutAtTheRight", {900, 200}, 700, 500, {false, true}, {0, 150, 900, 200}},
        PlacementCase{"NoPageBeforeTheViewDrew", {0, 96}, 700, 500, kPrintFit, {0, 500, 0, 0}}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace nuvisca
