#pragma once

#include <QWidget>

#include "graph/GraphViewState.h"
#include "graph/Painter.h"
#include "store/MeasurementStore.h"

namespace nuvisca {

// The on-screen trend graph. Draws through the shared renderer and hands mouse presses,
// drags and releases to the graph's handlers as view-local points with y upwards.
class dataView : public QWidget {
    Q_OBJECT

public:
    dataView(MeasurementStore& store, GraphViewState& view, QWidget* parent = nullptr);

    // Asks for a redraw; the drawing itself happens in the next paint event.
    void dataViewUpdate();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    using Handler = bool (*)(GraphViewState&, const MeasurementStore&, PointF, bool, bool);
    void forward(Handler handler, const QMouseEvent& event);

    MeasurementStore& mStore;
    GraphViewState& mView;
    TextAttributes mAttributes;
};

}  // namespace nuvisca
