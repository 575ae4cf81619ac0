#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>
#include <cstdlib>
#include <random>

#include "ControllerFixture.h"
#include "graph/GraphViewState.h"
#include "graph/OverviewStrip.h"

namespace nuvisca::test {
namespace {

constexpr int kEvents = 20000;

TEST_F(ControllerTest, RandomWalkKeepsTheRangeInsideTheRecording) {
    // A restart past midnight, a pause and a gap, and a recording shorter than the view.
    controller.addFiles({QStringLiteral(NUVISCA_SAMPLES_DIR "/over-midnight.NVD"),
                         QStringLiteral(NUVISCA_SAMPLES_DIR "/two-hours-pause-restart.NVD"),
                         QStringLiteral(NUVISCA_SAMPLES_DIR "/short-3min.NVD")});
    window.resize(1200, 700);
    window.show();
    QApplication::processEvents();  // the graph measures itself before the first load
    selectRow(0);
    GraphView& graph = *window.graph();
    QWidget* overview = graph.parentWidget()->findChild<OverviewStrip*>();
    ASSERT_NE(overview, nullptr);
    ASSERT_GT(store->sampleCount, 0);

    // NUVISCA_WALK_SEED repeats a failed walk.
    const char* given = std::getenv("NUVISCA_WALK_SEED");
    const auto seed = given ? static_cast<unsigned>(std::stoul(given)) : std::random_device{}();
    std::mt19937 random(seed);
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const auto at = [&](QWidget& w) { return QPointF(pick(w.width()), pick(w.height())); };
    const auto mouse = [&](QWidget& w, QEvent::Type type, QPointF p, Qt::MouseButtons buttons,
                           Qt::KeyboardModifiers modifiers) {
        QMouseEvent event(type, p, w.mapToGlobal(p), Qt::LeftButton, buttons, modifiers);
        QCoreApplication::sendEvent(&w, &event);
    };
    constexpr std::array kModifiers{Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier};
    constexpr std::array kKeys{Qt::Key_Left, Qt::Key_Right, Qt::Key_PageUp, Qt::Key_PageDown,
                               Qt::Key_Home, Qt::Key_End,   Qt::Key_Plus,   Qt::Key_Minus,
                               Qt::Key_0,    Qt::Key_Up,    Qt::Key_Down};
    for (int n = 0; n < kEvents; ++n) {
        const Qt::KeyboardModifiers modifiers = kModifiers[static_cast<std::size_t>(pick(3))];
        switch (pick(9)) {
            case 0:
            case 1: {
                const QPoint angle =
                    pick(4) == 0 ? QPoint(pick(481) - 240, 0) : QPoint(0, pick(481) - 240);
                const QPointF p = at(graph);
                QWheelEvent event(p, graph.mapToGlobal(p), {}, angle, Qt::NoButton, modifiers,
                                  Qt::NoScrollPhase, false);
                QCoreApplication::sendEvent(&graph, &event);
                break;
            }
            case 2: {
                QKeyEvent event(QEvent::KeyPress, kKeys[static_cast<std::size_t>(pick(11))],
                                Qt::NoModifier);
                QCoreApplication::sendEvent(&graph, &event);
                break;
            }
            case 3:
            case 4:
            case 5: {  // a drag, a click when it does not move, a legend or an overview click
                QWidget& w = pick(3) == 0 ? *overview : static_cast<QWidget&>(graph);
                QPointF p = at(w);
                mouse(w, QEvent::MouseButtonPress, p, Qt::LeftButton, modifiers);
                for (int k = pick(6); k > 0; --k) {
                    p = at(w);
                    mouse(w, QEvent::MouseMove, p, Qt::LeftButton, modifiers);
                }
                mouse(w, QEvent::MouseButtonRelease, p, Qt::NoButton, modifiers);
                EXPECT_FALSE(view->mouseDownInPlot) << "seed " << seed;
                break;
            }
            case 6:
                mouse(graph, QEvent::MouseMove, at(graph), Qt::NoButton, Qt::NoModifier);
                break;
            case 7:
                switch (pick(4)) {
                    case 0:
                        window.zoomBox()->setCurrentIndex(pick(5));
                        break;
                    case 1:
                        window.averageBox()->setCurrentIndex(pick(30));
                        break;
                    case 2:
                        selectRow(pick(3));
                        break;
                    default:
                        window.resize(600 + pick(1000), 400 + pick(600));
                }
                break;
            default:
                QApplication::processEvents();
        }
        const std::int32_t limit = std::max(store->sampleCount, store->spanSamples);
        ASSERT_TRUE(view->viewStart >= 0 && view->viewStart < limit &&
                    view->viewEnd > view->viewStart && view->verticalOffset >= 0.0f)
            << "seed " << seed << " event " << n << ": " << view->viewStart << " .. "
            << view->viewEnd << ", offset " << view->verticalOffset;
    }
}

}  // namespace
}  // namespace nuvisca::test
