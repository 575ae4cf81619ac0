#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>
#include <cstdlib>
#include <functional>
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
    const auto modifiers = [&] {
        constexpr std::array kModifiers{Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier};
        return kModifiers[static_cast<std::size_t>(pick(3))];
    };
    const auto mouse = [&](QWidget& w, QEvent::Type type, QPointF p, Qt::MouseButtons buttons,
                           Qt::KeyboardModifiers held) {
        QMouseEvent event(type, p, w.mapToGlobal(p), Qt::LeftButton, buttons, held);
        QCoreApplication::sendEvent(&w, &event);
    };
    constexpr std::array kKeys{Qt::Key_Left, Qt::Key_Right, Qt::Key_PageUp, Qt::Key_PageDown,
                               Qt::Key_Home, Qt::Key_End,   Qt::Key_Plus,   Qt::Key_Minus,
                               Qt::Key_0,    Qt::Key_Up,    Qt::Key_Down};
    const std::function<void()> actions[] = {
        [&] {
            const int delta = pick(481) - 240;
            const QPointF p = at(graph);
            QWheelEvent event(p, graph.mapToGlobal(p), {},
                              pick(4) == 0 ? QPoint(delta, 0) : QPoint(0, delta), Qt::NoButton,
                              modifiers(), Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(&graph, &event);
        },
        [&] {
            QKeyEvent event(QEvent::KeyPress, kKeys[static_cast<std::size_t>(pick(11))], {});
            QCoreApplication::sendEvent(&graph, &event);
        },
        [&] {  // a drag, a click when it does not move, a legend or an overview click
            QWidget& w = pick(3) == 0 ? *overview : static_cast<QWidget&>(graph);
            const Qt::KeyboardModifiers held = modifiers();
            QPointF p = at(w);
            mouse(w, QEvent::MouseButtonPress, p, Qt::LeftButton, held);
            for (int k = pick(6); k > 0; --k) {
                mouse(w, QEvent::MouseMove, p = at(w), Qt::LeftButton, held);
            }
            mouse(w, QEvent::MouseButtonRelease, p, Qt::NoButton, held);
            EXPECT_FALSE(view->mouseDownInPlot) << "seed " << seed;
        },
        [&] { mouse(graph, QEvent::MouseMove, at(graph), Qt::NoButton, {}); },
        [&] { window.zoomBox()->setCurrentIndex(pick(5)); },
        [&] { window.averageBox()->setCurrentIndex(pick(30)); },
        [&] { selectRow(pick(3)); },
        [&] { window.resize(600 + pick(1000), 400 + pick(600)); },
        [] { QApplication::processEvents(); }};
    std::discrete_distribution<std::size_t> next({8, 4, 12, 4, 1, 1, 1, 1, 8});  // of 40
    for (int n = 0; n < kEvents; ++n) {
        actions[next(random)]();
        const std::int32_t limit = std::max(store->sampleCount, store->spanSamples);
        ASSERT_TRUE(view->viewStart >= 0 && view->viewStart < limit &&
                    view->viewEnd > view->viewStart && view->verticalOffset >= 0.0f)
            << "seed " << seed << " event " << n << ": " << view->viewStart << " .. "
            << view->viewEnd << ", offset " << view->verticalOffset;
    }
}

}  // namespace
}  // namespace nuvisca::test
