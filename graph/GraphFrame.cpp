#include "graph/GraphFrame.h"

#include <QPainter>
#include <QRegion>

#include "graph/CoveragePainter.h"
#include "graph/GraphLayout.h"
#include "graph/QtPainter.h"
#include "graph/TraceRuns.h"

namespace nuvisca {

bool GraphFrame::paint(QImage& image, QSize size, const ViewModel& model,
                       const GraphViewState& view, bool drawnBefore) {
    if (!drawnBefore) {
        // Static text without its white box (a view's first picture only) would be smoothed
        // on the layer's transparency unlike on white, so that picture is drawn in one pass.
        image.fill(Qt::white);
        QPainter painter(&image);
        QtPainter onePass(painter, size.height());
        return drawGraph(onePass, model, view, drawnBefore, kOnScreenStyle, &traces_);
    }
    const GraphLayout layout = layoutGraph(model, view);
    if (drawnAsColumnSpans(layout, image.devicePixelRatio())) {
        // Before the picture is cleared, which pushes the series out of the processor's cache.
        traces_.prepare(model, view, layout, kOnScreenStyle.rso2Presence, image.devicePixelRatio());
    }
    StaticPartsKey key = staticPartsKey(model, view, layout);
    if (key_ != key || ratio_ != image.devicePixelRatio() || pixels_ != image.size()) {
        drawLayer(image, size, model, view, layout);
        key_ = std::move(key);
    }
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QtPainter under(painter, size.height());
        drawUnderGrid(under, model, view, layout);
    }
    {
        // In device pixels on both sides, whatever the ratio.
        QImage pixels(image.bits(), image.width(), image.height(), image.bytesPerLine(),
                      image.format());
        QPainter painter(&pixels);
        for (const Piece& piece : pieces_) {
            painter.drawImage(piece.at, piece.image);
        }
    }
    QPainter painter(&image);
    QtPainter over(painter, size.height());
    return drawOverGrid(over, model, view, layout, kOnScreenStyle, &traces_);
}

void GraphFrame::drawLayer(const QImage& image, QSize size, const ViewModel& model,
                           const GraphViewState& view, const GraphLayout& layout) {
    ratio_ = image.devicePixelRatio();
    pixels_ = image.size();
    // Only the plot has bands to show through; elsewhere the layer is as white as the frame,
    // so that text there is smoothed as on white.
    QImage layer(pixels_, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::white);
    const double height = size.height();
    const QRectF plot(kPlotMargin * ratio_, (height - kPlotMargin - layout.plotHeight) * ratio_,
                      layout.plotWidth * ratio_, layout.plotHeight * ratio_);
    {
        QPainter clear(&layer);
        clear.setCompositionMode(QPainter::CompositionMode_Source);
        clear.fillRect(plot.toAlignedRect(), Qt::transparent);
    }
    layer.setDevicePixelRatio(ratio_);
    QPainter painter(&layer);
    QtPainter qtPainter(painter, size.height());
    CoveragePainter coverage(qtPainter);
    drawStaticParts(coverage, model, view, layout, true);
    painter.end();

    QRegion covered;
    for (const RectF& box : coverage.covered()) {
        const QRectF device(box.x * ratio_, (height - box.y - box.height) * ratio_,
                            box.width * ratio_, box.height * ratio_);
        covered += device.toAlignedRect().intersected(layer.rect());
    }
    // Only the covered pieces are kept: a tenth of the picture, which stays in the cache
    // beside the frame it is laid over.
    pieces_.clear();
    for (const QRect& box : covered) {
        pieces_.push_back({box.topLeft(), layer.copy(box)});
        pieces_.back().image.setDevicePixelRatio(1.0);
    }
    ++layersDrawn_;
}

}  // namespace nuvisca
