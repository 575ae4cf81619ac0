#include <gtest/gtest.h>

#include <string>

#include "graph/GraphColours.h"
#include "graph/GraphFixtures.h"
#include "print/PagePlacement.h"
#include "print/PrintPageDrawing.h"

namespace nuvisca::test {
namespace {

// How the page looks beside the view is pinned by the image tests; here what they cannot see:
// rSO2 above 0 and the name only when it is text.
TEST(PrintPage, DrawsRso2AboveZeroAndTheNameInBlack18) {
    // The bytes of the name and what the band shows: nothing for no UTF-8.
    // clang-format off
    const std::pair<std::string, std::string> names[] = {
        {"朝の記録.csv", "朝の記録.csv"}, {"", ""}, {"bad\xff.NVD", ""}, {"\xe8\xa8", ""}};
    // clang-format on
    for (const auto& [bytes, shown] : names) {
        GraphFixture f(12);
        f.attributes = {24.0, kOxhbColour, kWhite};  // what the view left in them
        f.store->measured[kRso2][5] = 0.005f;
        setCurrentFileName(*f.store, bytes.data(), bytes.size());
        RecordingPainter painter;
        drawPrintPage(painter, *f.store, f.view, f.attributes);
        const auto& rso2 = painter.strokesOf(kRso2Colour, 2.0).at(0)->runs;
        EXPECT_EQ(rso2.size(), 1u) << "one run through the slot of 0.005";
        const RecordedText& last = painter.texts.back();
        EXPECT_EQ(last.at.y >= 600.0 ? last.text : "", shown) << bytes;
        if (!shown.empty()) {
            EXPECT_EQ(last.at, (PointF{10, 600}));
            EXPECT_EQ(std::pair(last.attributes.fontSize, last.attributes.foreground),
                      std::pair(18.0, kBlack));
        }
    }
}

TEST(PagePlacement, FitsTheWidthFromTheTopOrTheHeightWhenThenTooTall) {
    EXPECT_EQ(placePage({1400, 896}, 700, 500), (RectF{0, 52, 700, 448}));
    // Too tall once fitted: still one page, scaled to the height and centred across.
    EXPECT_EQ(placePage({1000, 696}, 785, 522), (RectF{17.5, 0, 750, 522}));
    EXPECT_EQ(placePage({0, 96}, 700, 500), (RectF{0, 500, 0, 0})) << "not yet drawn";
}

}  // namespace
}  // namespace nuvisca::test
