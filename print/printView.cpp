#include "print/printView.h"

#include "graph/QtPainter.h"

namespace nuvisca {

printView::printView(const MeasurementStore& store, GraphViewState& view)
    : mStore(store), mView(view), mFrame(printPageSize(view)) {}

void printView::drawRect(QPainter& painter) {
    QtPainter qtPainter(painter, mFrame.height);
    drawPrintPage(qtPainter, mStore, mView, attributes);
}

}  // namespace nuvisca
