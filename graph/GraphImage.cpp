#include "graph/GraphImage.h"

#include "graph/GraphRenderer.h"
#include "graph/QtPainter.h"

namespace nuvisca {

void paintGraph(QPainter& painter, QSize size, const MeasurementStore& store, GraphViewState& view,
                TextAttributes& attributes) {
    QtPainter qtPainter(painter, size.height());
    // The widget passes view-local points to the mouse handlers, so its origin is (0, 0).
    const ViewBounds bounds{static_cast<float>(size.width()), static_cast<float>(size.height()),
                            0.0f, 0.0f};
    drawGraph(qtPainter, store, view, attributes, onScreenStyle(bounds));
}

QImage renderGraphImage(const MeasurementStore& store, GraphViewState& view, QSize size,
                        TextAttributes& attributes) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintGraph(painter, size, store, view, attributes);
    painter.end();
    return image;
}

}  // namespace nuvisca
