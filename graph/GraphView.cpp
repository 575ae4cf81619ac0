#include "graph/GraphView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

#include "graph/DragRule.h"
#include "graph/GraphImage.h"
#include "graph/MouseInteraction.h"
#include "graph/MouseModifiers.h"

namespace nuvisca {

GraphView::GraphView(MeasurementStore& store, GraphViewState& view, QWidget* parent)
    : QWidget(parent), store_(store), view_(view) {
    view_.mouseDownInPlot = false;
    view_.controlDrag = false;
    view_.shiftDrag = false;
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GraphView::requestRedraw() {
    update();
}

void GraphView::paintEvent(QPaintEvent* /*event*/) {
    settleView(view_, store_.zoomIndex, onScreenBounds(size()));
    QPainter painter(this);
    paintGraph(painter, size(), store_, view_, attributes_);
}

void GraphView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    settleView(view_, store_.zoomIndex, onScreenBounds(event->size()));
    const VisibleRange range = rangeAfterResize(view_, store_);
    view_.viewStart = range.start;
    view_.viewEnd = range.end;
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
    if (pressesGraph(event->button(), event->modifiers())) {
        forward(mouseDown, *event);
    }
}

void GraphView::mouseMoveEvent(QMouseEvent* event) {
    if (dragsGraph(event->buttons())) {
        forward(mouseDragged, *event);
    }
}

void GraphView::mouseReleaseEvent(QMouseEvent* event) {
    if (releasesGraph(event->button())) {
        forward(mouseUp, *event);
    }
}

}  // namespace nuvisca
