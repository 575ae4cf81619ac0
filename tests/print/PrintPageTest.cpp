#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "graph/GraphColours.h"
#include "graph/GraphFixtures.h"
#include "print/PrintPage.h"

namespace nuvisca {
namespace {

using test::GraphFixture;
using test::RecordingPainter;

RecordingPainter drawPage(GraphFixture& f) {
    RecordingPainter painter;
    drawPrintPage(painter, *f.store, f.view, f.attributes);
    return painter;
}

// Slots whose x the rSO2 trace passes through, over all of its runs of more than one point.
std::vector<std::int32_t> rso2Slots(const RecordingPainter& painter, double step) {
    std::vector<std::int32_t> slots;
    for (const auto* stroke : painter.strokesOf(colorSto2, 2.0)) {
        for (const auto& run : stroke->runs) {
            for (const PointF& p : run) {
                if (run.size() > 1) {
                    slots.push_back(static_cast<std::int32_t>(std::lround((p.x - 10.0) / step)));
                }
            }
        }
    }
    return slots;
}

TEST(PrintPage, GraphUnderAHeaderBandOf96Points) {
    GraphFixture f(100);
    f.draw();  // the view measures itself first
    const PageSize page = printPageSize(f.view);
    EXPECT_EQ(page.width, 1000.0);
    EXPECT_EQ(page.height, 696.0);

    setCurrentFileName(*f.store, "a.NVD", 5);
    const RecordingPainter painter = drawPage(f);
    ASSERT_FALSE(painter.rects.empty());
    EXPECT_EQ(painter.rects.front().rect, (RectF{0, 0, 1000, 696}));
    EXPECT_EQ(painter.rects.front().colour, kWhite);
    // The graph keeps the view's coordinates; only the name lies in the band.
    EXPECT_EQ(painter.findText("rSO2[%]")->at, (PointF{10, 540}));
    EXPECT_EQ(painter.findText("OXHB]")->at, (PointF{156, 566}));
    for (const test::RecordedText& text : painter.texts) {
        EXPECT_EQ(text.at.y >= 600.0, text.text == "a.NVD") << text.text;
    }
    EXPECT_TRUE(painter.strokesOf(kBlack, 1.0).empty()) << "no view border on the page";
}

TEST(PrintPage, ReadsTheViewsSizeAndNeverWritesIt) {
    GraphFixture f(100);
    f.view.viewWidth = 1200.0f;
    f.view.viewHeight = 700.0f;
    f.view.viewSpan = 800;  // not what a 1200-wide view measures: the page must keep it
    const RecordingPainter painter = drawPage(f);
    EXPECT_EQ(f.view.viewWidth, 1200.0f);
    EXPECT_EQ(f.view.viewHeight, 700.0f);
    EXPECT_EQ(f.view.viewSpan, 800);
    EXPECT_EQ(painter.rects.front().rect, (RectF{0, 0, 1200, 796}));
    // One sample per 1180 / 800 points: the view's span, not one of the page's own.
    const auto runs = painter.strokesOf(colorTohb, 2.0).front()->runs;
    EXPECT_NEAR(runs[0][1].x - runs[0][0].x, 1180.0 / 800.0, 1e-4);
}

TEST(PrintPage, Rso2OfAHundredthOrLessIsDrawnOnThePageOnly) {
    GraphFixture f(12);
    f.store->rso2Data[3] = 0.01f;
    f.store->rso2Data[5] = 0.005f;
    f.store->rso2Data[7] = 0.0f;
    f.store->rso2Data[9] = noDataValue;
    const std::vector<std::int32_t> view = rso2Slots(f.draw(), pixelsPerSample(f.view));
    const std::vector<std::int32_t> page = rso2Slots(drawPage(f), pixelsPerSample(f.view));
    for (const std::int32_t slot : {3, 5}) {
        EXPECT_EQ(std::count(view.begin(), view.end(), slot), 0) << slot;
        EXPECT_EQ(std::count(page.begin(), page.end(), slot), 1) << slot;
    }
    for (const std::int32_t slot : {7, 9}) {
        EXPECT_EQ(std::count(page.begin(), page.end(), slot), 0) << slot;
    }
}

struct NameCase {
    std::string bytes;
    std::optional<std::string> shown;  // none: nothing is drawn in the band
};

void PrintTo(const NameCase& c, std::ostream* out) {
    *out << (c.shown ? *c.shown : std::string("(nothing)"));
}

class PrintPageNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(PrintPageNameTest, NameAtTheFootOfTheBandInBlack18) {
    GraphFixture f(10);
    const std::string& bytes = GetParam().bytes;
    setCurrentFileName(*f.store, bytes.data(), bytes.size());
    f.attributes.fontSize = 24.0;
    f.attributes.foreground = colorOxhb;
    const RecordingPainter painter = drawPage(f);
    std::vector<const test::RecordedText*> inBand;
    for (const test::RecordedText& text : painter.texts) {
        if (text.at.y >= 600.0) {
            inBand.push_back(&text);
        }
    }
    if (!GetParam().shown) {
        EXPECT_TRUE(inBand.empty());
        return;
    }
    ASSERT_EQ(inBand.size(), 1u);
    EXPECT_EQ(inBand[0]->text, *GetParam().shown);
    EXPECT_EQ(inBand[0]->at, (PointF{10, 600}));
    EXPECT_EQ(inBand[0]->attributes.fontSize, 18.0);
    EXPECT_EQ(inBand[0]->attributes.foreground, kBlack);
}

INSTANTIATE_TEST_SUITE_P(
    Names, PrintPageNameTest,
    ::testing::Values(NameCase{"", std::nullopt}, NameCase{"morning.NVD", "morning.NVD"},
                      NameCase{"朝の記録.csv", "朝の記録.csv"},
                      NameCase{"bad\xff.NVD", std::nullopt},  // no UTF-8: no string at all
                      NameCase{"\xe8\xa8", std::nullopt},     // a character cut short
                      NameCase{std::string(300, 'n'), std::string(255, 'n')}));

}  // namespace
}  // namespace nuvisca
