#pragma once

#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QRectF>

#include "print/PagePlacement.h"
#include "print/PrintPage.h"
#include "print/PrintSettings.h"

namespace nuvisca {

// Draws the page inside `area` (painter coordinates, y down) where placePage puts it.
void paintPageInArea(QPainter& painter, const QRectF& area, PrintPage& page);

// Prints the page on exactly one sheet. False when the printer cannot start or finish the job.
bool printPage(PrintSettings& settings, PrintPage& page);

// The sheet as the printer would put it out: white paper with the page in its printable area.
QImage renderPrintedSheet(const QPageLayout& layout, PrintPage& page, int dotsPerInch);

}  // namespace nuvisca
