#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <optional>
#include <vector>

#include "graph/Painter.h"

namespace nuvisca {

// Draws on a QPainter, turning the graph's y-up points into Qt's y-down ones at this one
// place. Text uses the application's font, so Japanese glyphs come from its fallbacks.
class QtPainter : public Painter {
public:
    // `height` is the height of the surface in the painter's logical coordinates.
    QtPainter(QPainter& painter, double height);

    void fillRect(const RectF& rect, const Rgba& colour) override;
    void strokeRect(const RectF& rect, const Rgba& colour, double lineWidth) override;
    void strokePath(const PolylinePath& path, const Rgba& colour, double lineWidth) override;
    double pixelsPerUnit() const override { return pixelsPerUnit_; }
    bool fillsColumnSpans() const override;
    void fillColumnSpans(std::span<const ColumnSpan> spans, const Rgba& colour) override;
    void drawText(PointF lowerLeft, std::string_view utf8,
                  const TextAttributes& attributes) override;
    double textWidth(std::string_view utf8, double fontSize) override;

protected:
    QPainter& qpainter() { return painter_; }
    QPointF toQt(PointF point) const { return {point.x, height_ - point.y}; }
    static QPen linePen(const Rgba& colour, double lineWidth);

private:
    QRectF toQt(const RectF& rect) const;
    // The rectangle, in Qt's coordinates, a segment of that width covers, where it is level or
    // upright and its edges lie between device pixels.
    std::optional<QRectF> wholePixels(PointF from, PointF to, double lineWidth) const;
    QImage* directImage() const;
    // Sets the image's pixels in that rectangle to an opaque or premultiplied pixel.
    static void fillPixels(QImage& image, const QRect& pixels, QRgb pixel);
    const QFont& fontOfSize(double size);

    QPainter& painter_;
    double height_;
    double pixelsPerUnit_;
    QFont font_;
    std::vector<PointF> reduced_;
    std::vector<QLineF> segments_;
};

QColor toQColor(const Rgba& colour);

}  // namespace nuvisca
