#include <QApplication>
#include <QClipboard>
#include <QMenuBar>
#include <QMouseEvent>

#include "ControllerFixture.h"

namespace nuvisca::test {
namespace {

using CopyGraphTest = ControllerTest;

QImage rgb(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

// The copy is the graph as the screen shows it, at its pixels, but without the readout the
// mouse brings up over it.
TEST_F(CopyGraphTest, TheGraphAsShownWithoutTheReadoutAtTheScreensPixels) {
    window.show();
    QApplication::processEvents();
    // A copy: the marker is written beside the recording it is added to.
    controller.openFiles({sampleCopy("two-hours-pause-restart.NVD")});
    viewModel.addMarker({300, 240, "執刀開始"});
    GraphView& graph = *window.graph();
    const QImage shown = rgb(graph.grab().toImage());
    const QPointF plot(graph.width() / 2.0, graph.height() / 2.0);
    QMouseEvent move(QEvent::MouseMove, plot, graph.mapToGlobal(plot), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&graph, &move);
    ASSERT_NE(rgb(graph.grab().toImage()), shown) << "the readout is up";

    const auto items = window.menuBar()->findChildren<QAction*>();
    const auto copy = std::ranges::find(items, u"グラフをコピー"_s, &QAction::text);
    ASSERT_NE(copy, items.end());
    QGuiApplication::clipboard()->clear();
    (*copy)->trigger();
    const QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), (QSizeF(graph.size()) * graph.devicePixelRatioF()).toSize());
    EXPECT_EQ(rgb(copied), shown);

    // On a screen of two pixels a point, twice the pixels each way of the same picture.
    const QImage doubled = graph.image(2.0);
    EXPECT_EQ(doubled.size(), graph.size() * 2);
}

}  // namespace
}  // namespace nuvisca::test
