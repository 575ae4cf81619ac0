#include "print/PdfPainter.h"

#include <cmath>

#include "graph/TraceRuns.h"

namespace nuvisca {

namespace {

// Hundredths of a unit, a hundredth of a point or less on paper: far finer than any printer,
// and whole numbers, which the PDF writes in a third of the characters of fractions.
constexpr double kStepsPerUnit = 100.0;

}  // namespace

void PdfPainter::strokePath(const PolylinePath& path, const Rgba& colour, double lineWidth) {
    QPainter& painter = qpainter();
    painter.save();
    painter.scale(1.0 / kStepsPerUnit, 1.0 / kStepsPerUnit);
    painter.setPen(linePen(colour, lineWidth * kStepsPerUnit));
    for (std::size_t r = 0; r < path.runCount(); ++r) {
        reduced_.clear();
        reduceToColumns(path.run(r), columnsPerUnit_, reduced_);
        if (reduced_.size() < 2) {
            continue;  // a zero-length run shows nothing with butt ends
        }
        polyline_.clear();
        for (const PointF& point : reduced_) {
            const QPointF at = toQt(point) * kStepsPerUnit;
            polyline_.append({std::round(at.x()), std::round(at.y())});
        }
        painter.drawPolyline(polyline_);
    }
    painter.restore();
}

}  // namespace nuvisca
