#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <optional>

#include "graph/DragRule.h"
#include "graph/GraphFrame.h"
#include "graph/GraphViewState.h"
#include "graph/Painter.h"
#include "graph/ViewModel.h"

class QMenu;

namespace nuvisca {

// The on-screen trend graph of a view model. Draws through the shared renderer whenever the
// model says something changed, and hands mouse presses, drags and releases to the graph's
// handlers as view-local points with y upwards. The wheel and the keys move the visible
// range; a hairline with the values under the cursor is drawn over a kept picture of the
// graph, so moving it does not redraw the graph.
class GraphView : public QWidget {
    Q_OBJECT

public:
    explicit GraphView(ViewModel& model, QWidget* parent = nullptr);

    // The graph as it is shown, without the readout, at `ratio` device pixels a point.
    QImage image(qreal ratio) const;
    // Where a marker goes: the slot under a point in the plot, else the readout's, else the
    // middle of the visible range; none without samples.
    std::optional<std::int32_t> markerSlot(std::optional<QPointF> at = std::nullopt) const;
    // The context menu for a point of the graph.
    std::unique_ptr<QMenu> contextMenu(QPointF at);

Q_SIGNALS:
    // Ctrl+wheel: the zoom box should move by this many items (positive: more magnified).
    void zoomStepRequested(int steps);
    // Key M, a double click on the plot or the context menu: a marker at this slot.
    void markerRequested(std::int32_t slot);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    using Handler = bool (*)(GraphViewState&, const ViewModel&, PointF, bool, bool, bool);
    void forward(Handler handler, const QMouseEvent& event);
    void redrawGraph();
    // Fits the view state to the widget's size and the zoom: on a resize, a zoom change and
    // after every press, drag and release, so that a paint only reads it.
    GraphViewState& settle(QSize size);
    // Puts the readout at the cursor (or takes it away) and repaints only what it covers.
    void placeReadout(std::optional<QPointF> cursor);

    struct ReadoutOverlay {
        std::int32_t slot = 0;
        int hairlineX = 0;
        int plotTop = 0;
        int plotBottom = 0;
        QRect box;
        QStringList lines;
        QList<QColor> colours;
        QRect covered() const;
    };
    // The slot under a point of the plot, by the layout a readout there would use.
    std::optional<std::int32_t> slotInPlot(QPointF at) const;
    std::optional<ReadoutOverlay> readoutFor(QPointF cursor) const;
    void paintReadout(QPainter& painter, const ReadoutOverlay& overlay) const;

    ViewModel& model_;
    bool drawnRecording_ = false;  // whether a paint has drawn samples yet
    GraphFrame frame_;
    QImage picture_;
    bool pictureStale_ = true;
    std::optional<QPointF> cursor_;
    std::optional<ReadoutOverlay> readout_;
    int zoomWheelRest_ = 0;
    Subscription subscription_;  // last, so that it is the first to go
};

}  // namespace nuvisca
