#include <gtest/gtest.h>

#include "print/PagePlacement.h"

namespace nuvisca {
namespace {

TEST(PagePlacement, FitsTheWidthFromTheTopOrTheHeightWhenThenTooTall) {
    constexpr PageFit kPrint{.fitToWidth = true, .verticallyCentred = false};
    EXPECT_EQ(placePage({1400, 896}, 700, 500, kPrint), (RectF{0, 52, 700, 448}));
    // Too tall once fitted: still one page, scaled to the height and centred across.
    EXPECT_EQ(placePage({1000, 696}, 785, 522, kPrint), (RectF{17.5, 0, 750, 522}));
    EXPECT_EQ(placePage({0, 96}, 700, 500, kPrint), (RectF{0, 500, 0, 0})) << "not yet drawn";
}

}  // namespace
}  // namespace nuvisca
