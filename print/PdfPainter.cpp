#include "print/PdfPainter.h"

#include "graph/TraceRuns.h"

namespace nuvisca {

void PdfPainter::strokePath(const PolylinePath& path, const Rgba& colour, double lineWidth) {
    qpainter().setPen(linePen(colour, lineWidth));
    for (std::size_t r = 0; r < path.runCount(); ++r) {
        reduced_.clear();
        reduceToColumns(path.run(r), columnsPerUnit_, reduced_);
        if (reduced_.size() < 2) {
            continue;  // a zero-length run shows nothing with butt ends
        }
        polyline_.clear();
        for (const PointF& point : reduced_) {
            polyline_.append(toQt(point));
        }
        qpainter().drawPolyline(polyline_);
    }
}

}  // namespace nuvisca
