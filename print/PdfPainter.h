#pragma once

#include <QPolygonF>

#include "graph/QtPainter.h"

namespace nuvisca {

// Draws into a PDF, where nothing is rasterised on the way: each run, reduced to
// columnsPerUnit columns a unit, is written as one polyline rather than as separate segments,
// which keeps the page's content, and the time spent compressing it, small.
class PdfPainter final : public QtPainter {
public:
    PdfPainter(QPainter& painter, double height, double columnsPerUnit)
        : QtPainter(painter, height), columnsPerUnit_(columnsPerUnit) {}

    double pixelsPerUnit() const override { return columnsPerUnit_; }
    bool fillsColumnSpans() const override { return false; }
    void strokePath(const PolylinePath& path, const Rgba& colour, double lineWidth) override;

private:
    double columnsPerUnit_;
    std::vector<PointF> reduced_;
    QPolygonF polyline_;
};

}  // namespace nuvisca
