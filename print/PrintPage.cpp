#include "print/PrintPage.h"

#include "graph/QtPainter.h"

namespace nuvisca {

PrintPage::PrintPage(const ViewModel& model) : model_(model), frame_(printPageSize(model.view())) {}

void PrintPage::drawRect(QPainter& painter) {
    QtPainter qtPainter(painter, frame_.height);
    drawnBefore_ = drawPrintPage(qtPainter, model_, drawnBefore_) || drawnBefore_;
}

}  // namespace nuvisca
