#include "print/PrintPage.h"

#include "graph/QtPainter.h"

namespace nuvisca {

PrintPage::PrintPage(const MeasurementStore& store, const GraphViewState& view)
    : store_(store), view_(view), frame_(printPageSize(view)) {}

void PrintPage::drawRect(QPainter& painter) {
    QtPainter qtPainter(painter, frame_.height);
    drawPrintPage(qtPainter, store_, view_, attributes_);
}

}  // namespace nuvisca
