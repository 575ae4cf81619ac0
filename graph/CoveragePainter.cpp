#include "graph/CoveragePainter.h"

#include <algorithm>

namespace nuvisca {

void CoveragePainter::cover(double left, double bottom, double right, double top, double margin) {
    covered_.push_back(
        {left - margin, bottom - margin, right - left + 2.0 * margin, top - bottom + 2.0 * margin});
}

void CoveragePainter::fillRect(const RectF& rect, const Rgba& colour) {
    inner_.fillRect(rect, colour);
    cover(rect.x, rect.y, rect.x + rect.width, rect.y + rect.height, 1.0);
}

void CoveragePainter::strokeRect(const RectF& rect, const Rgba& colour, double lineWidth) {
    inner_.strokeRect(rect, colour, lineWidth);
    cover(rect.x, rect.y, rect.x + rect.width, rect.y + rect.height, lineWidth + 1.0);
}

void CoveragePainter::strokePath(const PolylinePath& path, const Rgba& colour, double lineWidth) {
    inner_.strokePath(path, colour, lineWidth);
    // A box for each run: a grid's lines together would cover the whole plot.
    for (std::size_t r = 0; r < path.runCount(); ++r) {
        const std::span<const PointF> run = path.run(r);
        const auto [left, right] = std::minmax_element(
            run.begin(), run.end(), [](PointF a, PointF b) { return a.x < b.x; });
        const auto [bottom, top] = std::minmax_element(
            run.begin(), run.end(), [](PointF a, PointF b) { return a.y < b.y; });
        cover(left->x, bottom->y, right->x, top->y, lineWidth + 1.0);
    }
}

void CoveragePainter::fillColumnSpans(std::span<const ColumnSpan> spans, const Rgba& colour) {
    inner_.fillColumnSpans(spans, colour);
    const double unit = inner_.pixelsPerUnit() > 0.0 ? 1.0 / inner_.pixelsPerUnit() : 1.0;
    for (const ColumnSpan& span : spans) {
        cover(span.column * unit, span.bottom * unit, (span.column + 1) * unit,
              (span.top + 1) * unit, 0.0);
    }
}

void CoveragePainter::drawText(PointF lowerLeft, std::string_view utf8,
                               const TextAttributes& attributes) {
    inner_.drawText(lowerLeft, utf8, attributes);
    const double size = attributes.fontSize;
    cover(lowerLeft.x, lowerLeft.y, lowerLeft.x + inner_.textWidth(utf8, size),
          lowerLeft.y + 1.5 * size, size / 2.0);
}

}  // namespace nuvisca
