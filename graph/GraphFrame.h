#pragma once

#include <QImage>
#include <QPoint>
#include <QSize>
#include <optional>
#include <vector>

#include "graph/GraphRenderer.h"
#include "graph/GraphViewState.h"
#include "graph/TraceSpansCache.h"
#include "graph/ViewModel.h"

namespace nuvisca {

// The on-screen graph drawn a frame at a time. The static parts (headings, legend, grid, scales,
// threshold and baseline lines) stay while the visible range moves, so they are kept as a layer,
// transparent over the plot, with the boxes they cover, and laid over each new frame's bands;
// only the rest is drawn anew, and the dense traces' spans are kept until the traces move. The
// picture is paintGraph's, pixel for pixel: the static text lies on white boxes once samples
// have been drawn, and a picture before that is drawn in one pass.
class GraphFrame {
public:
    // Draws into `image`, which has `size` times its device pixel ratio pixels. Returns whether
    // it drew a recording's samples.
    bool paint(QImage& image, QSize size, const ViewModel& model, const GraphViewState& view,
               bool drawnBefore);

    // How many times the static layer has been drawn: a scroll must not draw it again.
    int layersDrawn() const { return layersDrawn_; }
    // How many traces have been walked: a marker or the selection must not walk them again.
    int tracesWalked() const { return traces_.walks(); }

private:
    void drawLayer(const QImage& image, QSize size, const ViewModel& model,
                   const GraphViewState& view, const GraphLayout& layout);

    // A part of the layer, in device pixels.
    struct Piece {
        QPoint at;
        QImage image;
    };

    std::optional<StaticPartsKey> key_;
    qreal ratio_ = 0.0;
    QSize pixels_;
    std::vector<Piece> pieces_;  // not overlapping
    int layersDrawn_ = 0;
    TraceSpansCache traces_;
};

}  // namespace nuvisca
