#include "print/PrintPage.h"

#include <QPaintDevice>
#include <QPaintEngine>

#include "graph/QtPainter.h"
#include "print/PdfPainter.h"

namespace nuvisca {

PrintPage::PrintPage(const ViewModel& model) : model_(model), frame_(printPageSize(model.view())) {}

void PrintPage::drawRect(QPainter& painter) {
    // Into a PDF each trace run goes as one polyline, reduced to columns of a point of paper:
    // finer than a trace's width, and a fraction of the content to compress.
    const QPaintEngine* engine = painter.paintEngine();
    if (engine != nullptr && engine->type() == QPaintEngine::Pdf) {
        const double pointsPerInch = 72.0;
        const double pointsPerUnit =
            painter.worldTransform().m11() * pointsPerInch / painter.device()->logicalDpiX();
        PdfPainter pdfPainter(painter, frame_.height, pointsPerUnit);
        drawnBefore_ = drawPrintPage(pdfPainter, model_, drawnBefore_) || drawnBefore_;
        return;
    }
    QtPainter qtPainter(painter, frame_.height);
    drawnBefore_ = drawPrintPage(qtPainter, model_, drawnBefore_) || drawnBefore_;
}

}  // namespace nuvisca
