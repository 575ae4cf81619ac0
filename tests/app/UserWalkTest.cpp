#include <QApplication>
#include <QMouseEvent>

#include "ControllerFixture.h"

namespace nuvisca::test {
namespace {

// A user's path through the real main window: import, select, zoom, smooth, drag, remove.
TEST_F(ControllerTest, UserWalkImportSelectZoomSmoothDragAndRemove) {
    EXPECT_EQ(window.zoomBox()->currentText(), u"  1倍"_s);
    EXPECT_EQ(window.averageBox()->count(), 30);
    EXPECT_EQ((std::array{store->zoomIndex, store->averageWindow}), (std::array{1, 0}));
    onMedia("morning.NVD", 9, 0, 4000);
    onMedia("noon.NVD", 12, 0, 3000);
    addVolume(media.path());
    window.show();
    QApplication::processEvents();
    window.graph()->repaint();  // the first draw measures the view
    controller.onClickedButton1();
    ASSERT_EQ(controller.tableModel()->rowCount(), 2);
    EXPECT_EQ(controller.tableModel()->cellText(u"TABLE_FNAME"_s, 0), u"morning.NVD"_s);
    selectRow(0);
    EXPECT_EQ((std::array{store->sampleCount, view->viewStart}), (std::array{4000, 0}));
    window.zoomBox()->setCurrentIndex(3);
    window.averageBox()->setCurrentIndex(4);
    EXPECT_EQ((std::array{store->zoomIndex, store->averageWindow}), (std::array{3, 4}));
    EXPECT_NE(store->oxhbAvg[0], store->oxhbData[0]);  // the first slot averages forwards only
    window.graph()->repaint();
    dataView* graph = window.graph();
    const QPointF middle(graph->width() / 2.0, graph->height() / 2.0);
    const auto drag = [&](QPointF to) {
        for (int k = 0; k <= 9; ++k) {
            const auto type = k == 0 ? QEvent::MouseButtonPress
                                     : (k == 9 ? QEvent::MouseButtonRelease : QEvent::MouseMove);
            const QPointF at = middle + (to - middle) * std::min(k, 8) / 8;
            QMouseEvent event(type, at, graph->mapToGlobal(at),
                              type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                              k == 9 ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(graph, &event);
        }
    };
    const std::int32_t span = view->viewEnd - view->viewStart;
    drag(middle - QPointF(200, 0));  // leftwards: later samples
    EXPECT_GT(view->viewStart, 0);
    EXPECT_EQ(view->viewEnd - view->viewStart, std::max(span, view->viewSpan));
    EXPECT_EQ(view->mouseDownInPlot, 0);
    const float offset = view->verticalOffset;
    drag(middle + QPointF(0, 100));  // downwards on screen scrolls the traces down
    EXPECT_GT(view->verticalOffset, offset);
    selectRow(1);
    controller.onClickedButton5();
    EXPECT_EQ(controller.tableModel()->rowCount(), 1);
    EXPECT_EQ(currentName(), u"morning.NVD"_s);
}

}  // namespace
}  // namespace nuvisca::test
