#include <QApplication>
#include <QMouseEvent>

#include "ControllerFixture.h"

namespace nuvisca::test {
namespace {

// A user's path through the real main window: import, select, zoom, smooth, drag, remove.
class UserWalkTest : public ControllerTest {
protected:
    void mouse(QEvent::Type type, QPointF at, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        dataView* graph = window.graph();
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, graph->mapToGlobal(at), button, buttons, modifiers);
        QApplication::sendEvent(graph, &event);
    }

    void drag(QPointF from, QPointF to, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, modifiers);
        const int steps = 8;
        for (int k = 1; k <= steps; ++k) {
            mouse(QEvent::MouseMove, from + (to - from) * k / steps, Qt::LeftButton, modifiers);
        }
        mouse(QEvent::MouseButtonRelease, to, Qt::NoButton, modifiers);
    }
};

TEST_F(UserWalkTest, ImportSelectZoomSmoothDragAndRemove) {
    onMedia("morning.NVD", 9, 0, 4000);
    onMedia("noon.NVD", 12, 0, 3000);
    addVolume(media.path());
    window.show();
    QApplication::processEvents();
    window.graph()->repaint();  // the first draw measures the view
    ASSERT_GT(view->viewWidth, 100.0f);

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
    const QPointF middle(window.graph()->width() / 2.0, window.graph()->height() / 2.0);
    const std::int32_t span = view->viewEnd - view->viewStart;
    drag(middle, middle - QPointF(200, 0));  // leftwards: later samples
    EXPECT_GT(view->viewStart, 0);
    EXPECT_EQ(view->viewEnd - view->viewStart, std::max(span, view->viewSpan));
    EXPECT_EQ(view->mouseDownInPlot, 0);
    const float before = view->verticalOffset;
    drag(middle, middle + QPointF(0, 100));  // downwards on screen scrolls the traces down
    EXPECT_GT(view->verticalOffset, before);

    selectRow(1);
    controller.onClickedButton5();
    EXPECT_EQ(controller.tableModel()->rowCount(), 1);
    EXPECT_EQ(store->sampleCount, 4000);
    EXPECT_EQ(currentName(), u"morning.NVD"_s);
}

}  // namespace
}  // namespace nuvisca::test
