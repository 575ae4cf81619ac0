#include <gtest/gtest.h>

#include <QPainter>
#include <cmath>

#include "graph/GraphColours.h"
#include "graph/GraphFixtures.h"
#include "graph/GraphFrame.h"
#include "graph/GraphImage.h"
#include "graph/GraphLayout.h"
#include "graph/QtPainter.h"
#include "graph/ReviewMarks.h"

namespace nuvisca {
namespace {

// Pixels where the two pictures differ.
int differingPixels(const QImage& a, const QImage& b) {
    EXPECT_EQ(a.size(), b.size());
    int apart = 0;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y) {
        for (int x = 0; x < std::min(a.width(), b.width()); ++x) {
            apart += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
        }
    }
    return apart;
}

QImage blankImage(QSize size, qreal ratio) {
    QImage image((QSizeF(size) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    return image;
}

// A dense two-hour trace with a restart, a lasting marker, desaturation events under a
// threshold and a selection: bands under the grid, which the static layer must lie over.
struct ReviewedGraph {
    test::GraphFixture f{14400};
    QSize size{900, 500};

    ReviewedGraph() {
        Recording& s = *f.store;
        for (std::size_t i = 0; i < 14400; ++i) {
            const double wave = std::sin(static_cast<double>(i) * 0.004) +
                                0.2 * std::sin(static_cast<double>(i) * 1.3);
            s.measured[kRso2][i] = static_cast<float>(62.0 + 12.0 * wave);
            s.measured[kOxhb][i] = static_cast<float>(0.35 + 0.1 * wave);
        }
        f.restart(9000, test::clockTag(11, 30, 0));
        f.view.traceShown = {true, true, true, true};
        f.view.viewEnd = 14400;
        f.model.setAbsoluteThreshold(58.0);
        f.model.addMarker({2000, 1500, "導入"});
        f.model.addMarker({7000, 0, "体位"});
        f.model.setSelection({4000, 6000});
    }

    QImage framed(GraphFrame& frame, qreal ratio) {
        settleView(f.view, f.model.zoomIndex(), onScreenBounds(size));
        QImage image = blankImage(size, ratio);
        frame.paint(image, size, f.model, f.view, true);
        return image;
    }

    // As one pass draws it, once a first picture has carried the text backgrounds.
    QImage onePass(qreal ratio) {
        settleView(f.view, f.model.zoomIndex(), onScreenBounds(size));
        QImage image = blankImage(size, ratio);
        image.fill(Qt::white);
        QPainter painter(&image);
        paintGraph(painter, size, f.model, f.view, true);
        return image;
    }
};

TEST(GraphFrame, LaysTheStaticPartsOverTheBandsAsOnePassDrawsThem) {
    ReviewedGraph g;
    ASSERT_FALSE(g.f.model.desaturations().events.empty());
    for (const qreal ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        GraphFrame frame;
        const QImage shown = g.framed(frame, ratio);
        EXPECT_EQ(differingPixels(shown, g.onePass(ratio)), 0);
        // Low in the selection only the band and the grid lie: the grid crosses the band there.
        const GraphLayout layout = layoutGraph(g.f.model, g.f.view);
        const QPoint inBand(qRound(layout.slotX(5000) * ratio),
                            qRound((g.size.height() - double{kPlotMargin} - 15.0) * ratio));
        EXPECT_EQ(shown.pixel(inBand), toQColor(kSelectionBand).rgb());
    }
}

// The layer is drawn again only for what it shows, the traces walked again only when they
// move; each frame must still be the picture one pass draws.
TEST(GraphFrame, KeepsTheLayerAndTheTracesUntilWhatTheyShowChanges) {
    ReviewedGraph g;
    GraphFrame frame;
    g.framed(frame, 1.0);
    ASSERT_EQ(frame.layersDrawn(), 1);
    ASSERT_EQ(frame.tracesWalked(), 4);
    const auto expectFrame = [&](int layers, bool walked, qreal ratio, const char* after) {
        const int walks = frame.tracesWalked();
        const QImage shown = g.framed(frame, ratio);
        EXPECT_EQ(frame.layersDrawn(), layers) << after;
        EXPECT_EQ(frame.tracesWalked() > walks, walked) << after;
        EXPECT_EQ(differingPixels(shown, g.onePass(ratio)), 0) << after;
    };
    g.f.model.addMarker({5000, 0, "追加"});
    g.f.model.setSelection({});
    expectFrame(1, false, 1.0, "a marker and the selection");
    std::tie(g.f.view.viewStart, g.f.view.viewEnd) = std::tuple(1000, 13000);
    expectFrame(1, true, 1.0, "a scroll");

    g.f.model.setAbsoluteThreshold(66.0);
    expectFrame(2, false, 1.0, "the threshold line and its events");
    g.f.view.traceShown[kDxhb] = false;
    expectFrame(3, false, 1.0, "the legend");
    g.f.model.setZoomIndex(2);
    expectFrame(4, true, 1.0, "the scale");
    g.f.model.setAverageWindow(4);
    expectFrame(5, true, 1.0, "the moving average");
    expectFrame(6, true, 2.0, "the ratio");
    g.size = {700, 500};
    expectFrame(7, true, 2.0, "the size");
}

// Segments on whole pixels are filled rather than stroked: the pixels must be the stroke's.
TEST(QtPainterTest, FillsSegmentsOnWholePixelsAsTheirStrokeCoversThem) {
    const QSize size(60, 40);
    struct Line {
        PointF from;
        PointF to;
        double width;
        Rgba colour;
    };
    const std::vector<Line> lines{
        {{5, 10}, {50, 10}, 2.0, kBlack},               // level, on whole pixels
        {{20.5, 3}, {20.5, 35}, 1.0, kRed},             // upright through pixel centres
        {{30, 30.5}, {55, 30.5}, 2.0, kBlack},          // level between whole pixels
        {{40, 3}, {40, 35}, 2.0, Rgba{0, 0, 1, 0.5f}},  // translucent
        {{3, 3}, {25, 20}, 2.0, kBlack}};               // slanted
    for (const qreal ratio : {1.0, 1.5, 2.0}) {
        SCOPED_TRACE(ratio);
        QImage filled = blankImage(size, ratio);
        QImage stroked = blankImage(size, ratio);
        filled.fill(Qt::white);
        stroked.fill(Qt::white);
        QPainter onFilled(&filled);
        QtPainter painter(onFilled, size.height());
        QPainter onStroked(&stroked);
        onStroked.setRenderHint(QPainter::Antialiasing);
        for (const Line& line : lines) {
            PolylinePath path;
            path.begin(line.from);
            path.lineTo(line.to);
            painter.strokePath(path, line.colour, line.width);
            onStroked.setPen(QPen(toQColor(line.colour), line.width, Qt::SolidLine, Qt::FlatCap));
            onStroked.drawLine(QPointF(line.from.x, size.height() - line.from.y),
                               QPointF(line.to.x, size.height() - line.to.y));
        }
        onFilled.end();
        onStroked.end();
        EXPECT_EQ(differingPixels(filled, stroked), 0);
    }
}

}  // namespace
}  // namespace nuvisca
