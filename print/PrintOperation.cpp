#include "print/PrintOperation.h"

namespace nuvisca {

void paintPageInArea(QPainter& painter, const QRectF& area, PrintPage& page) {
    const PageSize frame = page.frame();
    const RectF placed = placePage(frame, area.width(), area.height());
    if (placed.width <= 0.0 || placed.height <= 0.0) {
        return;
    }
    painter.save();
    painter.setClipRect(area);
    // The placement counts y up from the area's bottom; Qt counts down from its top.
    painter.translate(area.left() + placed.x, area.bottom() - placed.y - placed.height);
    painter.scale(placed.width / frame.width, placed.height / frame.height);
    page.drawRect(painter);
    painter.restore();
}

bool printPage(PrintSettings& settings, PrintPage& page) {
    QPainter painter;
    if (!painter.begin(&settings.printer)) {
        return false;
    }
    // The painter's origin is the corner of the printable area, whatever the margins.
    const QRectF area(QPointF(0.0, 0.0), settings.printer.pageRect(QPrinter::DevicePixel).size());
    paintPageInArea(painter, area, page);
    return painter.end();
}

QImage renderPrintedSheet(const QPageLayout& layout, PrintPage& page, int dotsPerInch) {
    QImage sheet(layout.fullRectPixels(dotsPerInch).size(), QImage::Format_RGB32);
    const int dotsPerMetre = qRound(dotsPerInch / 0.0254);
    sheet.setDotsPerMeterX(dotsPerMetre);
    sheet.setDotsPerMeterY(dotsPerMetre);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    paintPageInArea(painter, QRectF(layout.paintRectPixels(dotsPerInch)), page);
    painter.end();
    return sheet;
}

}  // namespace nuvisca
