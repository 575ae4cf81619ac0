#include "print/PlacedPainter.h"

namespace nuvisca {

void PlacedPainter::strokePath(const PolylinePath& path, const Rgba& colour, double lineWidth) {
    path_.clear();
    for (std::size_t r = 0; r < path.runCount(); ++r) {
        bool first = true;
        for (const PointF point : path.run(r)) {
            if (first) {
                path_.begin(moved(point));
                first = false;
            } else {
                path_.lineTo(moved(point));
            }
        }
    }
    surface_.strokePath(path_, colour, lineWidth);
}

void PlacedPainter::fillColumnSpans(std::span<const ColumnSpan> spans, const Rgba& colour) {
    const double perUnit = surface_.pixelsPerUnit();
    if (perUnit <= 0.0) {
        return;
    }
    for (const ColumnSpan& span : spans) {
        fillRect({span.column / perUnit, span.bottom / perUnit, 1.0 / perUnit,
                  (span.top - span.bottom + 1) / perUnit},
                 colour);
    }
}

}  // namespace nuvisca
