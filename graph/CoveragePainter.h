#pragma once

#include <vector>

#include "graph/Painter.h"

namespace nuvisca {

// Passes every step on to another painter and notes a box around what each one may touch, in
// the same points, so that what was drawn can be taken from its surface alone. The boxes are
// generous (anti-aliased edges, glyphs reaching past their line) and may overlap.
class CoveragePainter : public Painter {
public:
    explicit CoveragePainter(Painter& inner) : inner_(inner) {}

    const std::vector<RectF>& covered() const { return covered_; }

    void fillRect(const RectF& rect, const Rgba& colour) override;
    void strokeRect(const RectF& rect, const Rgba& colour, double lineWidth) override;
    void strokePath(const PolylinePath& path, const Rgba& colour, double lineWidth) override;
    double pixelsPerUnit() const override { return inner_.pixelsPerUnit(); }
    bool fillsColumnSpans() const override { return inner_.fillsColumnSpans(); }
    void fillColumnSpans(std::span<const ColumnSpan> spans, const Rgba& colour) override;
    void drawText(PointF lowerLeft, std::string_view utf8,
                  const TextAttributes& attributes) override;
    double textWidth(std::string_view utf8, double fontSize) override {
        return inner_.textWidth(utf8, fontSize);
    }

private:
    void cover(double left, double bottom, double right, double top, double margin);

    Painter& inner_;
    std::vector<RectF> covered_;
};

}  // namespace nuvisca
