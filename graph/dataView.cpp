#include "graph/dataView.h"

#include <QMouseEvent>
#include <QPainter>

#include "graph/GraphImage.h"
#include "graph/MouseInteraction.h"
#include "graph/MouseModifiers.h"

namespace nuvisca {

dataView::dataView(MeasurementStore& store, GraphViewState& view, QWidget* parent)
    : QWidget(parent), mStore(store), mView(view) {
    mView.mouseDownInPlot = 0;
    mView.controlDrag = 0;
    mView.shiftDrag = 0;
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void dataView::dataViewUpdate() {
    update();
}

void dataView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    paintGraph(painter, size(), mStore, mView, mAttributes);
}

void dataView::forward(Handler handler, const QMouseEvent& event) {
    const QPointF position = event.position();
    const PointF point{position.x(), height() - position.y()};
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if (handler(mView, mStore, point, shiftHeld(modifiers), controlHeld(modifiers))) {
        update();
    }
}

void dataView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        forward(mouseDown, *event);
    }
}

void dataView::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons().testFlag(Qt::LeftButton)) {
        forward(mouseDragged, *event);
    }
}

void dataView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        forward(mouseUp, *event);
    }
}

}  // namespace nuvisca
