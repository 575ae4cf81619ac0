#pragma once

#include <QPolygonF>

#include "graph/QtPainter.h"

namespace nuvisca::bench {

// The reference the column reduction is measured against: every run stroked as one
// polyline through all of its points.
class PlainQtPainter : public QtPainter {
public:
    using QtPainter::QtPainter;

    double pixelsPerUnit() const override { return 0.0; }
    bool fillsColumnSpans() const override { return false; }

    void strokePath(const PolylinePath& path, const Rgba& colour, double lineWidth) override {
        qpainter().setPen(linePen(colour, lineWidth));
        for (std::size_t r = 0; r < path.runCount(); ++r) {
            QPolygonF polyline;
            for (const PointF& point : path.run(r)) {
                polyline.append(toQt(point));
            }
            if (polyline.size() >= 2) {
                qpainter().drawPolyline(polyline);
            }
        }
    }
};

}  // namespace nuvisca::bench
