#include "print/PrintPage.h"

#include <QPaintEngine>

#include "graph/QtPainter.h"
#include "print/PdfPainter.h"

namespace nuvisca {

PrintPage::PrintPage(const ViewModel& model) : model_(model), frame_(printPageSize(model.view())) {}

void PrintPage::drawRect(QPainter& painter) {
    // Into a PDF each trace run goes as one polyline, at the columns a printer is given: half
    // the content to compress, and the same lines.
    const QPaintEngine* engine = painter.paintEngine();
    if (engine != nullptr && engine->type() == QPaintEngine::Pdf) {
        PdfPainter pdfPainter(painter, frame_.height, 1.0);
        drawnBefore_ = drawPrintPage(pdfPainter, model_, drawnBefore_) || drawnBefore_;
        return;
    }
    QtPainter qtPainter(painter, frame_.height);
    drawnBefore_ = drawPrintPage(qtPainter, model_, drawnBefore_) || drawnBefore_;
}

}  // namespace nuvisca
