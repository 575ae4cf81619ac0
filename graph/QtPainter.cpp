#include "graph/QtPainter.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPaintDevice>
#include <algorithm>
#include <cmath>

#include "graph/TraceRuns.h"

namespace nuvisca {

QColor toQColor(const Rgba& colour) {
    return QColor::fromRgbF(colour.r, colour.g, colour.b, colour.a);
}

QtPainter::QtPainter(QPainter& painter, double height)
    : painter_(painter),
      height_(height),
      pixelsPerUnit_(painter.device() != nullptr ? painter.device()->devicePixelRatioF() : 1.0),
      font_(QGuiApplication::font()) {
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
}

QPen QtPainter::linePen(const Rgba& colour, double lineWidth) {
    // Butt ends as the graph expects; Qt's default bevel joins.
    return QPen(toQColor(colour), lineWidth, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin);
}

QRectF QtPainter::toQt(const RectF& rect) const {
    return {rect.x, height_ - rect.y - rect.height, rect.width, rect.height};
}

void QtPainter::fillRect(const RectF& rect, const Rgba& colour) {
    painter_.fillRect(toQt(rect), toQColor(colour));
}

void QtPainter::strokeRect(const RectF& rect, const Rgba& colour, double lineWidth) {
    painter_.setPen(linePen(colour, lineWidth));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(toQt(rect));
}

std::optional<QRectF> QtPainter::wholePixels(PointF from, PointF to, double lineWidth) const {
    const auto whole = [this](double v) {
        const double pixels = v * pixelsPerUnit_;
        return std::abs(pixels - std::round(pixels)) < 1e-9;
    };
    const double half = lineWidth / 2.0;
    QRectF rect;
    if (from.y == to.y && from.x != to.x) {
        rect = QRectF(std::min(from.x, to.x), from.y - half, std::abs(to.x - from.x), lineWidth);
    } else if (from.x == to.x && from.y != to.y) {
        rect = QRectF(from.x - half, std::min(from.y, to.y), lineWidth, std::abs(to.y - from.y));
    } else {
        return std::nullopt;
    }
    if (!(whole(rect.left()) && whole(rect.right()) && whole(rect.top()) && whole(rect.bottom()))) {
        return std::nullopt;
    }
    return QRectF(rect.left(), height_ - rect.bottom(), rect.width(), rect.height());
}

void QtPainter::strokePath(const PolylinePath& path, const Rgba& colour, double lineWidth) {
    painter_.setPen(linePen(colour, lineWidth));
    // On an image, an opaque level or upright segment on whole pixels covers them wholly: its
    // pixels are set as a stroke would set them, for a fraction of the time (grid, ticks,
    // frame). Translucent segments are stroked together, as their overlaps must not darken;
    // vector output keeps its lines.
    QImage* image = colour.a >= 1.0f ? directImage() : nullptr;
    const QRgb pixel = toQColor(colour).rgba();
    for (std::size_t r = 0; r < path.runCount(); ++r) {
        const std::span<const PointF> run = path.run(r);
        if (run.size() < 2) {
            continue;  // a zero-length run shows nothing with butt ends
        }
        // Qt's stroker spends most of its time on the joins of long wide polylines: fewer
        // points (one column holds dozens of samples when widened) drawn as separate
        // segments cost a small fraction of the same run as one polyline.
        reduced_.clear();
        reduceToColumns(run, pixelsPerUnit_, reduced_);
        segments_.clear();
        for (std::size_t k = 1; k < reduced_.size(); ++k) {
            const std::optional<QRectF> rect =
                image != nullptr ? wholePixels(reduced_[k - 1], reduced_[k], lineWidth)
                                 : std::nullopt;
            if (rect) {
                const double p = pixelsPerUnit_;
                fillPixels(
                    *image,
                    QRectF(rect->x() * p, rect->y() * p, rect->width() * p, rect->height() * p)
                        .toAlignedRect(),
                    pixel);
            } else {
                segments_.emplace_back(toQt(reduced_[k - 1]), toQt(reduced_[k]));
            }
        }
        painter_.drawLines(segments_.data(), static_cast<int>(segments_.size()));
    }
}

QImage* QtPainter::directImage() const {
    QPaintDevice* device = painter_.device();
    if (device == nullptr || device->devType() != QInternal::Image || painter_.hasClipping() ||
        painter_.deviceTransform() != QTransform::fromScale(pixelsPerUnit_, pixelsPerUnit_)) {
        return nullptr;
    }
    auto* image = static_cast<QImage*>(device);
    const QImage::Format format = image->format();
    return format == QImage::Format_ARGB32_Premultiplied || format == QImage::Format_RGB32
               ? image
               : nullptr;
}

bool QtPainter::fillsColumnSpans() const {
    return directImage() != nullptr;
}

void QtPainter::fillColumnSpans(std::span<const ColumnSpan> spans, const Rgba& colour) {
    const QColor qcolour = toQColor(colour);
    QImage* image = directImage();
    if (image == nullptr) {
        const bool antialiased = painter_.testRenderHint(QPainter::Antialiasing);
        painter_.setRenderHint(QPainter::Antialiasing, false);
        const double unit = 1.0 / pixelsPerUnit_;
        for (const ColumnSpan& span : spans) {
            painter_.fillRect(QRectF(span.column * unit, height_ - (span.top + 1) * unit, unit,
                                     (span.top - span.bottom + 1) * unit),
                              qcolour);
        }
        painter_.setRenderHint(QPainter::Antialiasing, antialiased);
        return;
    }
    const QRgb pixel = qPremultiply(qcolour.rgba());
    const int width = image->width();
    const int height = image->height();
    uchar* bits = image->bits();
    const qsizetype stride = image->bytesPerLine();
    for (const ColumnSpan& span : spans) {
        if (span.column < 0 || span.column >= width) {
            continue;
        }
        const int from = std::max(height - 1 - span.top, 0);
        const int to = std::min(height - 1 - span.bottom, height - 1);
        uchar* at = bits + from * stride + span.column * qsizetype{sizeof(QRgb)};
        for (int row = from; row <= to; ++row, at += stride) {
            *reinterpret_cast<QRgb*>(at) = pixel;
        }
    }
}

void QtPainter::fillPixels(QImage& image, const QRect& pixels, QRgb pixel) {
    const QRect inside = pixels.intersected(image.rect());
    if (inside.isEmpty()) {
        return;
    }
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (int row = inside.top(); row <= inside.bottom(); ++row) {
        std::fill_n(reinterpret_cast<QRgb*>(bits + row * stride) + inside.left(), inside.width(),
                    pixel);
    }
}

const QFont& QtPainter::fontOfSize(double size) {
    const int pixels = static_cast<int>(std::lround(size));
    if (font_.pixelSize() != pixels) {
        font_.setPixelSize(std::max(pixels, 1));
    }
    return font_;
}

namespace {

QString toQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace

double QtPainter::textWidth(std::string_view utf8, double fontSize) {
    return QFontMetricsF(fontOfSize(fontSize)).horizontalAdvance(toQString(utf8));
}

void QtPainter::drawText(PointF lowerLeft, std::string_view utf8,
                         const TextAttributes& attributes) {
    const QString text = toQString(utf8);
    const QFont& font = fontOfSize(attributes.fontSize);
    const QFontMetricsF metrics(font);
    const double bottom = height_ - lowerLeft.y;
    if (attributes.background) {
        const QRectF box(lowerLeft.x, bottom - metrics.height(), metrics.horizontalAdvance(text),
                         metrics.height());
        painter_.fillRect(box, toQColor(*attributes.background));
    }
    painter_.setFont(font);
    painter_.setPen(toQColor(attributes.foreground));
    painter_.drawText(QPointF(lowerLeft.x, bottom - metrics.descent()), text);
}

}  // namespace nuvisca
