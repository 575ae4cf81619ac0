#pragma once

#include "graph/Painter.h"

namespace nuvisca {

// Draws on another painter with the origin moved to `origin`, so that a drawing made for a
// surface of its own lands in one place of a page.
class PlacedPainter final : public Painter {
public:
    PlacedPainter(Painter& surface, PointF origin) : surface_(surface), origin_(origin) {}

    void fillRect(const RectF& rect, const Rgba& colour) override {
        surface_.fillRect(moved(rect), colour);
    }
    void strokeRect(const RectF& rect, const Rgba& colour, double lineWidth) override {
        surface_.strokeRect(moved(rect), colour, lineWidth);
    }
    void strokePath(const PolylinePath& path, const Rgba& colour, double lineWidth) override;
    // The surface's columns reduce the runs; column spans, which name its pixels, are never
    // filled through a placed painter.
    double pixelsPerUnit() const override { return surface_.pixelsPerUnit(); }
    void fillColumnSpans(std::span<const ColumnSpan> spans, const Rgba& colour) override;
    void drawText(PointF lowerLeft, std::string_view utf8,
                  const TextAttributes& attributes) override {
        surface_.drawText(moved(lowerLeft), utf8, attributes);
    }
    double textWidth(std::string_view utf8, double fontSize) override {
        return surface_.textWidth(utf8, fontSize);
    }

private:
    PointF moved(PointF point) const { return {point.x + origin_.x, point.y + origin_.y}; }
    RectF moved(const RectF& rect) const {
        return {rect.x + origin_.x, rect.y + origin_.y, rect.width, rect.height};
    }

    Painter& surface_;
    PointF origin_;
    PolylinePath path_;
};

}  // namespace nuvisca
