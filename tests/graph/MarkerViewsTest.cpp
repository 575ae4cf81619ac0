#include <gtest/gtest.h>

#include "graph/GraphFixtures.h"
#include "graph/GraphView.h"
#include "graph/MarkerMarks.h"
#include "graph/OverviewStrip.h"
#include "graph/QtPainter.h"

namespace nuvisca {
namespace {

// The columns from..to of the widget as shown now in which a pixel has the marker colour.
std::vector<int> markerColumns(QWidget& widget, int from, int to) {
    const QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb marker = toQColor(kMarkerColour).rgb();
    std::vector<int> columns;
    for (int x = from; x <= to; ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixel(x, y) == marker) {
                columns.push_back(x);
                break;
            }
        }
    }
    return columns;
}

TEST(MarkerViews, TheGraphAndTheStripRedrawWhenTheMarkersChange) {
    test::GraphFixture f(4000);
    GraphView graph(f.model);
    graph.resize(1000, 600);
    OverviewStrip strip(f.model);
    strip.resize(402, 48);  // 400 points inside the frame: ten slots a point
    EXPECT_TRUE(markerColumns(graph, 0, 999).empty());
    EXPECT_TRUE(markerColumns(strip, 0, 401).empty());

    f.model.addMarker({451, 0, "執刀開始"});  // in the strip under the range's box
    f.model.addMarker({3000, 200, "閉創"});
    EXPECT_EQ(markerColumns(graph, 0, 999), (std::vector<int>{500, 501}));
    EXPECT_EQ(markerColumns(strip, 0, 401), (std::vector<int>{301}));

    f.model.removeMarker(1);
    EXPECT_TRUE(markerColumns(strip, 0, 401).empty());
    EXPECT_EQ(markerColumns(graph, 0, 999), (std::vector<int>{500, 501}));
    f.model.removeMarker(0);
    EXPECT_TRUE(markerColumns(graph, 0, 999).empty());
}

}  // namespace
}  // namespace nuvisca
