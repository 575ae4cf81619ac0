#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <sstream>

#include "graph/GraphColours.h"
#include "graph/GraphFixtures.h"
#include "graph/LineLabels.h"
#include "graph/MarkerMarks.h"

namespace nuvisca::test {
namespace {

// 900 slots across the 980-point plot of the fixture's view, from slot 0.
double slotX(double slot) {
    return 10.0 + slot * 980.0 / 900.0;
}

using Labels = std::vector<std::string>;

// Each marker label as "text@x,y".
Labels markerLabels(const RecordingPainter& painter) {
    Labels labels;
    for (const RecordedText* text : painter.textsIn(kMarkerLabelColour)) {
        std::ostringstream at;
        at << text->text << '@' << text->at.x << ',' << text->at.y;
        labels.push_back(at.str());
    }
    return labels;
}

// The x of each dashed marker line, each checked to run up the 528-point plot, 6 on, 4 off.
std::set<double> markerLineXs(const RecordingPainter& painter) {
    std::map<double, std::vector<std::vector<PointF>>> dashes;
    for (const auto& run : painter.strokesOf(kMarkerColour, kMarkerLineWidth).at(0)->runs) {
        dashes[run.front().x].push_back(run);
    }
    std::set<double> xs;
    for (const auto& [x, runs] : dashes) {
        EXPECT_EQ(runs.size(), 53u);
        EXPECT_EQ(runs.front().front(), (PointF{x, 10}));
        EXPECT_EQ(runs.back().back(), (PointF{x, 536}));
        xs.insert(x);
    }
    return xs;
}

TEST(MarkerMarks, LineAndLabelForEachMarkerInTheVisibleRangeOnly) {
    GraphFixture f(3000);
    f.model.addMarker({100, 0, "挿管"});
    f.model.addMarker({451, 0, "執刀開始"});
    f.model.addMarker({899, 0, "終了"});  // the last visible slot: left of its line
    f.model.addMarker({900, 0, "次"});
    f.model.addMarker({2000, 0, "閉創"});
    RecordingPainter painter = f.draw();
    EXPECT_EQ(markerLineXs(painter), (std::set<double>{118, 501, 988}));
    // At 16 points a character is 9.6 wide; rows below the two rows of clock labels.
    EXPECT_EQ(markerLabels(painter),
              (Labels{"挿管@122,474", "執刀開始@505,474", "終了@964.8,474"}));
    EXPECT_EQ(painter.textsIn(kMarkerLabelColour)[0]->attributes.background, kWhite);
    const auto ticks = painter.strokesOf(kGridColour, 1.0);
    ASSERT_EQ(ticks.size(), 1u);
    EXPECT_LT(ticks[0], painter.strokesOf(kMarkerColour, kMarkerLineWidth).at(0))
        << "over the minute ticks, which markers often stand on";

    // Scrolled on: only the markers of the new range.
    std::tie(f.view.viewStart, f.view.viewEnd) = std::tuple(1500, 2400);
    painter = f.draw();
    EXPECT_EQ(markerLineXs(painter), (std::set<double>{std::floor(slotX(500))}));
    EXPECT_EQ(markerLabels(painter).size(), 1u);
}

TEST(MarkerMarks, LabelsOfNearbyMarkersStaggerIntoRowsThatDoNotOverlap) {
    GraphFixture f(3000);
    f.model.addMarker({100, 0, "挿管"});      // 122 .. 141.2
    f.model.addMarker({105, 0, "執刀開始"});  // 128: over the first, one row down
    f.model.addMarker({110, 0, "A"});         // 133: over both, two rows down
    f.model.addMarker({600, 0, "閉創"});      // clear of all: the first row again
    f.model.addMarker({890, 0, "ここまで"});  // left of its line, clear of 閉創
    RecordingPainter painter = f.draw();
    EXPECT_EQ(markerLabels(painter), (Labels{"挿管@122,474", "執刀開始@128,450", "A@133,426",
                                             "閉創@667,474", "ここまで@936.6,474"}));

    // A crowd: eight rows down, then the labels that find no row are left out.
    GraphFixture crowd(3000);
    for (std::int32_t k = 0; k < 12; ++k) {
        crowd.model.addMarker({300 + k, 0, "ラベル" + std::to_string(k)});
    }
    painter = crowd.draw();
    const Labels shown = markerLabels(painter);
    ASSERT_EQ(shown.size(), 8u);
    EXPECT_EQ(shown.front(), "ラベル0@340,474");
    EXPECT_EQ(shown.back(), "ラベル7@348,306");
    EXPECT_EQ(markerLineXs(painter).size(), 12u) << "every line is drawn";
}

TEST(MarkerMarks, ADurationIsAnOpaqueBandUnderTheReviewBands) {
    GraphFixture f(3000);
    std::fill_n(&f.store->measured[kRso2][250], 100, 40.0f);  // an event from slot 250
    f.model.setRecording(f.store);
    f.model.addMarker({200, 100, "麻酔"});
    f.model.addMarker({600, 0, "体位変換"});
    const RecordingPainter painter = f.draw();
    std::vector<std::size_t> bands;
    std::vector<std::size_t> events;
    for (std::size_t k = 0; k < painter.fills.size(); ++k) {
        if (painter.fills[k].colour == kMarkerBand) {
            bands.push_back(k);
        } else if (painter.fills[k].colour == kEventBand) {
            events.push_back(k);
        }
    }
    ASSERT_EQ(bands.size(), 1u) << "a moment has no band";
    ASSERT_EQ(events.size(), 1u);
    EXPECT_LT(bands[0], events[0]);
    const RectF band = painter.fills[bands[0]].rect;
    EXPECT_NEAR(band.x, slotX(200), 1e-3);
    EXPECT_NEAR(band.x + band.width, slotX(300), 1e-3);
    EXPECT_TRUE(band.y == 10 && band.height == 528 && kMarkerBand.a == 1.0f);
}

TEST(LineLabels, RightOfTheLineUnlessItRunsIntoTheIndexScaleAndNeverOverAScale) {
    // Line x, width, and where the label stands (NaN: not shown), the index scale at 932 and
    // the percent scale ending at 68.
    const std::tuple<std::int32_t, double, double> cases[] = {
        {900, 24.0, 904.0}, {900, 24.5, 871.5}, {100, 50.0, 104.0},
        {90, 900.0, NAN},   {0, 10.0, NAN},     {1, 10.0, 5.0}};
    for (const auto& [x, width, left] : cases) {
        const LineLabelPlace place = placeBesideLine(x, width, 932.0, 68.0);
        EXPECT_EQ(place.shown, !std::isnan(left)) << x << ", " << width;
        if (place.shown) {
            EXPECT_EQ(place.left, left) << x << ", " << width;
        }
    }
}

}  // namespace
}  // namespace nuvisca::test
