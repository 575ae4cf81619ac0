#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>
#include <cstdlib>
#include <random>
#include <string>

#include "ControllerFixture.h"
#include "graph/GraphViewState.h"
#include "graph/OverviewStrip.h"

namespace nuvisca::test {
namespace {

// Two recordings, one restarted past midnight with a gap in it.
std::filesystem::path writeLongRecording(const std::filesystem::path& folder,
                                         const std::string& name, int slots) {
    NvdBuilder builder;
    builder.start(2013, 7, 15, 23, 50, 0).end(0, 30, 0);
    builder.timeStamp(23, 50, 0, 0.7f, 0.4f, 0.2f);
    for (int k = 1; k < slots; ++k) {
        const float wave = 0.1f * static_cast<float>(k % 97) / 97.0f;
        if (k == slots / 2) {
            builder.timeStamp(0, 10, 0, 0.6f + wave, 0.4f, 0.2f);
        } else if (k == slots / 3) {
            builder.gap(0, 0, 0, 0.0f, -1.0f, -1.0f);
        } else {
            builder.continuation(0.6f + wave, 0.3f + wave, 0.2f);
        }
    }
    builder.writeTo(folder / name);
    return folder / name;
}

constexpr int kEvents = 20000;

TEST_F(ControllerTest, RandomWalkKeepsTheRangeInsideTheRecording) {
    controller.addFiles({qPath(writeLongRecording(desktop.path(), "a.NVD", 4000)),
                         qPath(writeLongRecording(desktop.path(), "b.NVD", 1500))});
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
                        selectRow(pick(2));
                        break;
                    default:
                        window.resize(600 + pick(1000), 400 + pick(600));
                }
                break;
            default:
                QApplication::processEvents();
        }
        const std::int32_t limit = std::max(store->sampleCount, store->spanSamples);
        ASSERT_GE(view->viewStart, 0) << "seed " << seed << " event " << n;
        ASSERT_LT(view->viewStart, limit) << "seed " << seed << " event " << n;
        ASSERT_GT(view->viewEnd, view->viewStart) << "seed " << seed << " event " << n;
        ASSERT_GE(view->verticalOffset, 0.0f) << "seed " << seed << " event " << n;
    }
}

}  // namespace
}  // namespace nuvisca::test
