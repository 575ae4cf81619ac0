#include "graph/GraphImage.h"

#include "graph/GraphFrame.h"
#include "graph/GraphRenderer.h"
#include "graph/QtPainter.h"

namespace nuvisca {

bool paintGraph(QPainter& painter, QSize size, const ViewModel& model, const GraphViewState& view,
                bool drawnBefore) {
    QtPainter qtPainter(painter, size.height());
    return drawGraph(qtPainter, model, view, drawnBefore, kOnScreenStyle);
}

QImage renderGraphImage(const ViewModel& model, const GraphViewState& view, QSize size,
                        bool drawnBefore, qreal devicePixelRatio) {
    QImage image((QSizeF(size) * devicePixelRatio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    // The same size on paper as at ratio 1.
    image.setDotsPerMeterX(qRound(image.dotsPerMeterX() * devicePixelRatio));
    image.setDotsPerMeterY(qRound(image.dotsPerMeterY() * devicePixelRatio));
    GraphFrame().paint(image, size, model, view, drawnBefore);
    return image;
}

ViewBounds onScreenBounds(QSize size) {
    return {static_cast<float>(size.width()), static_cast<float>(size.height()), 0.0f, 0.0f};
}

}  // namespace nuvisca
