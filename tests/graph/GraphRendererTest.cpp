#include <gtest/gtest.h>

#include "graph/GraphColours.h"
#include "graph/GraphFixtures.h"

namespace nuvisca::test {
namespace {

TEST(GraphRenderer, LegendBoxesAndMarkersFollowTheTraceSelection) {
    GraphFixture f(100);
    const RecordingPainter painter = f.draw();
    EXPECT_EQ(f.view.legendLeft, (std::array<float, 4>{120, 240, 360, 480}));
    EXPECT_EQ(f.view.legendRight, (std::array<float, 4>{228, 348, 468, 588}));
    EXPECT_EQ(f.view.legendBottom, (std::array<float, 4>{566, 566, 566, 566}));
    EXPECT_EQ(f.view.legendTop, (std::array<float, 4>{590, 590, 590, 590}));
    // White background first, then the four markers: the hidden oxHb and dxHb outlined.
    ASSERT_EQ(painter.rects.size(), 5u);
    const std::array<Rgba, 4> colours{colorOxhb, colorDxhb, colorTohb, colorSto2};
    for (std::size_t k = 0; k < 4; ++k) {
        const RecordedRect& marker = painter.rects[k + 1];
        EXPECT_EQ(marker.rect, (RectF{132.0 + 120.0 * static_cast<double>(k), 571, 18, 18}));
        EXPECT_EQ(marker.colour, colours[k]);
        EXPECT_EQ(marker.filled, k >= 2);
    }
    EXPECT_EQ(painter.findText("DXHB]")->at, (PointF{276, 566}));
    EXPECT_EQ(painter.findText("DXHB]")->attributes.fontSize, 24);
}

TEST(GraphRenderer, ViewMeasuresItselfAndDrawsHeadingsFrameAndBorder) {
    GraphFixture f(100, clockTag(10, 0, 0), 700.0f, 500.0f);
    f.store->endHour = 11;
    f.store->endMinute = 5;
    f.store->endSecond = 9;
    EXPECT_EQ(f.view.viewSpan, 680);  // as the load left it
    const RecordingPainter painter = f.draw();
    EXPECT_EQ(f.view.viewSpan, 700);
    EXPECT_FLOAT_EQ(pixelsPerSample(f.view), 680.0f / 700.0f);
    const std::string date = "測定日時 2024年05月14日 10時00分00秒 終了時刻 11時05分09秒";
    ASSERT_NE(painter.findText(date), nullptr);
    EXPECT_EQ(painter.findText(date)->at, (PointF{120, 440}));
    EXPECT_EQ(painter.findText("[Index]")->at, (PointF{627, 440}));
    EXPECT_EQ(painter.strokesOf(kBlack, 2.0).at(0)->runs[0],
              (std::vector<PointF>{{9, 9}, {691, 9}, {691, 439}, {9, 439}, {9, 8}}));
    EXPECT_EQ(painter.strokesOf(kBlack, 1.0).at(0)->runs[0],
              (std::vector<PointF>{{0, 0}, {0, 500}, {700, 500}, {700, 0}, {0, 0}}));
    // The white text background the time axis sets stays for later draws.
    EXPECT_FALSE(painter.findText("rSO2[%]")->attributes.background.has_value());
    EXPECT_EQ(f.draw().findText("rSO2[%]")->attributes.background, kWhite);
    f.store->sampleCount = 0;
    EXPECT_EQ(f.draw().findText(date), nullptr);
}

TEST(GraphRenderer, ScaleLabelsAndGridAtEachZoomAndOffset) {
    struct Case {
        std::int32_t zoomIndex;
        float offset;
        float offsetAfter;
        std::string left;
        std::string right;
    };
    // At offset 528 value 0 lies one plot height below the plot: the labels of its fifth
    // line stand on the lower edge. An offset beyond the zoom's reach is drawn at the limit
    // and kept until a zoom allows none.
    // clang-format off
    const Case cases[] = {
        {0, 0, 0, "0.0 40.0 80.0", "0.000 0.400 0.800"},
        {1, 0, 0, "0.0 20.0 40.0 60.0 80.0", "0.000 0.200 0.400 0.600 0.800"},
        {3, 0, 0, "0.0 5.0 10.0 15.0 20.0", "0.000 0.050 0.100 0.150 0.200"},
        {4, 0, 0, "0.0 2.5 5.0 7.5 10.0", "0.000 0.025 0.050 0.075 0.100"},
        {2, 528, 528, "50.0 60.0 70.0 80.0 90.0", "0.500 0.600 0.700 0.800 0.900"},
        {2, 5000, 5000, "50.0 60.0 70.0 80.0 90.0", "0.500 0.600 0.700 0.800 0.900"},
        {1, 5000, 0, "0.0 20.0 40.0 60.0 80.0", "0.000 0.200 0.400 0.600 0.800"}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "zoom " << c.zoomIndex << ", offset " << c.offset);
        GraphFixture f(0);  // drawn with or without data
        f.store->zoomIndex = c.zoomIndex;
        f.view.verticalOffset = c.offset;
        const RecordingPainter painter = f.draw();
        EXPECT_EQ(f.view.verticalOffset, c.offsetAfter);
        std::string left;
        std::string right;
        for (const RecordedText* text : painter.textsIn(colorLine2)) {
            EXPECT_TRUE(text->at.x == 14 || text->at.x == 1000 - 59) << text->at.x;
            std::string& side = text->at.x == 14 ? left : right;
            side += (side.empty() ? "" : " ") + text->text;
        }
        EXPECT_EQ(left, c.left);
        EXPECT_EQ(right, c.right);
        EXPECT_EQ(painter.textsIn(colorLine2).at(0)->at.y, 12) << "on the lower edge";
        std::vector<double> gridYs;
        for (const auto& run : painter.strokesOf(colorLine1, 2.0).at(0)->runs) {
            EXPECT_EQ(run, (std::vector<PointF>{{10, run[0].y}, {990, run[0].y}}));
            gridYs.push_back(run[0].y);
        }
        EXPECT_EQ(gridYs, (std::vector<double>{116, 221, 327, 432}));
    }
}

}  // namespace
}  // namespace nuvisca::test
