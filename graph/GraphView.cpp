#include "graph/GraphView.h"

#include <QMouseEvent>
#include <QPainter>

#include "graph/GraphImage.h"
#include "graph/MouseInteraction.h"
#include "graph/MouseModifiers.h"

namespace nuvisca {

GraphView::GraphView(MeasurementStore& store, GraphViewState& view, QWidget* parent)
    : QWidget(parent), store_(store), view_(view) {
    view_.mouseDownInPlot = 0;
    view_.controlDrag = 0;
    view_.shiftDrag = 0;
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GraphView::requestRedraw() {
    update();
}

void GraphView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    paintGraph(painter, size(), store_, view_, attributes_);
}

void GraphView::forward(Handler handler, const QMouseEvent& event) {
    const QPointF position = event.position();
    const PointF point{position.x(), height() - position.y()};
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if (handler(view_, store_, point, shiftHeld(modifiers), controlHeld(modifiers))) {
        update();
    }
}

void GraphView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        forward(mouseDown, *event);
    }
}

void GraphView::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons().testFlag(Qt::LeftButton)) {
        forward(mouseDragged, *event);
    }
}

void GraphView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        forward(mouseUp, *event);
    }
}

}  // namespace nuvisca
