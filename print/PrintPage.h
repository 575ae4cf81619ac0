#pragma once

#include <QPainter>

#include "graph/GraphViewState.h"
#include "graph/Painter.h"
#include "print/PrintPageDrawing.h"
#include "store/Recording.h"

namespace nuvisca {

// The page of one print request. It holds no data: every draw reads the view model. Each
// request starts as a surface that has drawn nothing yet.
class PrintPage {
public:
    // The frame is fixed here, from the size the graph view last drew itself at.
    explicit PrintPage(const ViewModel& model);

    PageSize frame() const { return frame_; }

    // Draws the page in the painter's current coordinates: one unit per point, the page's
    // top-left corner at the origin.
    void drawRect(QPainter& painter);

private:
    const ViewModel& model_;
    PageSize frame_;
    bool drawnBefore_ = false;  // whether an earlier draw of this request drew samples
};

}  // namespace nuvisca
