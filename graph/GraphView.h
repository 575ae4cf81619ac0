#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QStringList>
#include <QWidget>
#include <optional>

#include "graph/DragRule.h"
#include "graph/GraphViewState.h"
#include "graph/Painter.h"
#include "store/MeasurementStore.h"

namespace nuvisca {

// The on-screen trend graph. Draws through the shared renderer and hands mouse presses,
// drags and releases to the graph's handlers as view-local points with y upwards. The
// wheel and the keys move the visible range; a hairline with the values under the cursor
// is drawn over a kept picture of the graph, so moving it does not redraw the graph.
class GraphView : public QWidget {
    Q_OBJECT

public:
    GraphView(MeasurementStore& store, GraphViewState& view, QWidget* parent = nullptr);

    // Asks for a redraw after the recording or its settings changed; the drawing itself
    // happens in the next paint event.
    void requestRedraw();

    // Shows the range, held in as a scroll is; nothing moves while a press is held.
    void showRange(VisibleRange range);

    const MeasurementStore& store() const { return store_; }
    const GraphViewState& state() const { return view_; }

Q_SIGNALS:
    // Ctrl+wheel: the zoom box should move by this many items (positive: more magnified).
    void zoomStepRequested(int steps);
    // The visible range moved.
    void rangeChanged();
    // The recording or its averaging may have changed.
    void contentChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    using Handler = bool (*)(GraphViewState&, const MeasurementStore&, PointF, bool, bool);
    void forward(Handler handler, const QMouseEvent& event);
    void redrawGraph();
    void rangeMoved();
    // Puts the readout at the cursor (or takes it away) and repaints only what it covers.
    void placeReadout(std::optional<QPointF> cursor);

    struct ReadoutOverlay {
        int hairlineX = 0;
        int plotTop = 0;
        int plotBottom = 0;
        QRect box;
        QStringList lines;
        QList<QColor> colours;
        QRect covered() const;
    };
    std::optional<ReadoutOverlay> readoutFor(QPointF cursor) const;
    void paintReadout(QPainter& painter, const ReadoutOverlay& overlay) const;

    MeasurementStore& store_;
    GraphViewState& view_;
    TextAttributes attributes_;
    QImage picture_;
    bool pictureStale_ = true;
    std::optional<QPointF> cursor_;
    std::optional<ReadoutOverlay> readout_;
    int zoomWheelRest_ = 0;
};

}  // namespace nuvisca
