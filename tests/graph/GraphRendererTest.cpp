#include <gtest/gtest.h>

#include "graph/GraphColours.h"
#include "graph/GraphFixtures.h"
#include "graph/GraphHeader.h"

namespace nuvisca {
namespace {

using test::GraphFixture;

TEST(GraphRenderer, LegendBoxesAndMarkersFollowTheTraceSelection) {
    GraphFixture f(100);
    const test::RecordingPainter painter = f.draw();
    EXPECT_EQ(f.view.legendLeft, (std::array<float, 4>{120, 240, 360, 480}));
    EXPECT_EQ(f.view.legendRight, (std::array<float, 4>{228, 348, 468, 588}));
    EXPECT_EQ(f.view.legendBottom, (std::array<float, 4>{566, 566, 566, 566}));
    EXPECT_EQ(f.view.legendTop, (std::array<float, 4>{590, 590, 590, 590}));

    // White background first, then the four markers: oxHb and dxHb outlined.
    ASSERT_EQ(painter.rects.size(), 5u);
    const std::array<double, 4> markerX{132, 252, 372, 492};
    const std::array<Rgba, 4> colours{colorOxhb, colorDxhb, colorTohb, colorSto2};
    for (std::size_t k = 0; k < 4; ++k) {
        const test::RecordedRect& marker = painter.rects[k + 1];
        EXPECT_EQ(marker.rect, (RectF{markerX[k], 571, 18, 18}));
        EXPECT_EQ(marker.colour, colours[k]);
        EXPECT_EQ(marker.filled, k >= 2);
    }
    const test::RecordedText* name = painter.findText("DXHB]");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->at, (PointF{276, 566}));
    EXPECT_EQ(name->attributes.fontSize, 24);
}

TEST(GraphRenderer, HeadingsAndDateLine) {
    GraphFixture f(100);
    f.store->endHour = 11;
    f.store->endMinute = 5;
    f.store->endSecond = 9;
    const test::RecordingPainter painter = f.draw();
    EXPECT_EQ(painter.findText("rSO2[%]")->at, (PointF{10, 540}));
    EXPECT_EQ(painter.findText("[Index]")->at, (PointF{927, 540}));
    const std::string date = "測定日時 2024年05月14日 10時00分00秒 終了時刻 11時05分09秒";
    ASSERT_NE(painter.findText(date), nullptr);
    EXPECT_EQ(painter.findText(date)->at, (PointF{120, 540}));

    f.store->startYear = 123;  // kept as it is when not two digits
    EXPECT_EQ(recordingDateLine(*f.store).substr(0, 19), "測定日時 123年");

    f.store->sampleCount = 0;
    EXPECT_EQ(f.draw().findText(date), nullptr);
}

TEST(GraphRenderer, WhiteTextBackgroundStaysOnceTheTimeAxisSetIt) {
    GraphFixture f(100);
    EXPECT_FALSE(f.draw().findText("rSO2[%]")->attributes.background.has_value());
    EXPECT_EQ(f.draw().findText("rSO2[%]")->attributes.background, kWhite);
    f.store->sampleCount = 0;
    EXPECT_EQ(f.draw().findText("0.0")->attributes.background, kWhite);
}

TEST(GraphRenderer, ViewMeasuresItselfAndDrawsFrameAndBorder) {
    GraphFixture f(100, test::clockTag(10, 0, 0), 700.0f, 500.0f);
    EXPECT_EQ(f.view.viewSpan, 680);  // after the load
    const test::RecordingPainter painter = f.draw();
    EXPECT_EQ(f.view.viewSpan, 700);
    EXPECT_FLOAT_EQ(pixelsPerSample(f.view), 680.0f / 700.0f);
    const auto frame = painter.strokesOf(kBlack, 2.0);
    ASSERT_EQ(frame.size(), 1u);
    EXPECT_EQ(frame[0]->runs[0],
              (std::vector<PointF>{{9, 9}, {691, 9}, {691, 439}, {9, 439}, {9, 8}}));
    const auto border = painter.strokesOf(kBlack, 1.0);
    ASSERT_EQ(border.size(), 1u);
    EXPECT_EQ(border[0]->runs[0],
              (std::vector<PointF>{{0, 0}, {0, 500}, {700, 500}, {700, 0}, {0, 0}}));
}

TEST(GraphRenderer, PageReadsTheViewsMeasurementsAndDrawsNoBorder) {
    GraphFixture f(100);
    f.view.viewWidth = 920.0f;
    f.view.viewSpan = 700;  // what the page must leave alone
    f.view.viewOriginX = 5.0f;
    const test::RecordingPainter painter = f.draw(printPageStyle());
    EXPECT_EQ(f.view.viewSpan, 700);
    EXPECT_EQ(f.view.viewOriginX, 5.0f);
    EXPECT_TRUE(painter.strokesOf(kBlack, 1.0).empty());
    EXPECT_EQ(painter.findText("[Index]")->at.x, 920 - 73);
}

TEST(GraphRenderer, WidthOf920GivesOnePixelPerSample) {
    GraphFixture f(100, test::clockTag(10, 0, 0), 920.0f, 600.0f);
    f.draw();
    EXPECT_EQ(f.view.viewSpan, 900);
    EXPECT_EQ(pixelsPerSample(f.view), 1.0f);
}

}  // namespace
}  // namespace nuvisca
