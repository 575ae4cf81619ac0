#pragma once

#include <QWidget>

#include "graph/GraphViewState.h"
#include "graph/Painter.h"
#include "store/MeasurementStore.h"

namespace nuvisca {

// The on-screen trend graph. Draws through the shared renderer and hands mouse presses,
// drags and releases to the graph's handlers as view-local points with y upwards.
class GraphView : public QWidget {
    Q_OBJECT

public:
    GraphView(MeasurementStore& store, GraphViewState& view, QWidget* parent = nullptr);

    // Asks for a redraw; the drawing itself happens in the next paint event.
    void requestRedraw();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    using Handler = bool (*)(GraphViewState&, const MeasurementStore&, PointF, bool, bool);
    void forward(Handler handler, const QMouseEvent& event);

    MeasurementStore& store_;
    GraphViewState& view_;
    TextAttributes attributes_;
};

}  // namespace nuvisca
