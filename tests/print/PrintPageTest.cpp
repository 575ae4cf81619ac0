#include <gtest/gtest.h>

#include <string>

#include "graph/GraphColours.h"
#include "graph/GraphFixtures.h"
#include "print/PrintPage.h"

namespace nuvisca::test {
namespace {

RecordingPainter drawPage(GraphFixture& f) {
    RecordingPainter painter;
    drawPrintPage(painter, *f.store, f.view, f.attributes);
    return painter;
}

// How the page looks beside the view is pinned by the image tests; here what they cannot see.
TEST(PrintPage, TakesTheViewsMeasuresWithoutChangingThemAndDrawsRso2AboveZero) {
    GraphFixture f(12);
    f.view.viewSpan = 800;  // not what a 1000-wide view measures: the page must use it
    f.view.viewOriginX = 5.0f;
    f.store->rso2Data[5] = 0.005f;
    const RecordingPainter painter = drawPage(f);
    EXPECT_EQ(f.view.viewSpan, 800);
    EXPECT_EQ(f.view.viewOriginX, 5.0f);
    const auto& rso2 = painter.strokesOf(colorSto2, 2.0).at(0)->runs;
    ASSERT_EQ(rso2.size(), 1u) << "one run through the slot of 0.005";
    EXPECT_NEAR(rso2[0][1].x - rso2[0][0].x, 980.0 / 800.0, 1e-4);
}

TEST(PrintPage, NameInBlack18AtTheFootOfTheBandOnlyWhenItIsText) {
    // The bytes of the name and what the band shows: nothing for no UTF-8.
    // clang-format off
    const std::pair<std::string, std::string> names[] = {
        {"朝の記録.csv", "朝の記録.csv"}, {"", ""}, {"bad\xff.NVD", ""}, {"\xe8\xa8", ""}};
    // clang-format on
    for (const auto& [bytes, shown] : names) {
        GraphFixture f(10);
        f.attributes = {24.0, colorOxhb, kWhite};  // what the view left in them
        setCurrentFileName(*f.store, bytes.data(), bytes.size());
        const RecordingPainter painter = drawPage(f);
        const RecordedText& last = painter.texts.back();
        EXPECT_EQ(last.at.y >= 600.0 ? last.text : "", shown) << bytes;
        if (!shown.empty()) {
            EXPECT_EQ(last.at, (PointF{10, 600}));
            EXPECT_EQ(last.attributes.fontSize, 18.0);
            EXPECT_EQ(last.attributes.foreground, kBlack);
        }
    }
}

}  // namespace
}  // namespace nuvisca::test
