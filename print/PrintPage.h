#pragma once

#include <QPainter>

#include "graph/GraphViewState.h"
#include "graph/Painter.h"
#include "print/PrintPageDrawing.h"
#include "store/MeasurementStore.h"

namespace nuvisca {

// The page of one print request. It holds no data: every draw reads the store and the
// graph view state. Its text attributes are its own and start fresh with each request.
class PrintPage {
public:
    // The frame is fixed here, from the size the graph view last drew itself at.
    PrintPage(const MeasurementStore& store, const GraphViewState& view);

    PageSize frame() const { return frame_; }

    // Draws the page in the painter's current coordinates: one unit per point, the page's
    // top-left corner at the origin.
    void drawRect(QPainter& painter);

private:
    const MeasurementStore& store_;
    const GraphViewState& view_;
    PageSize frame_;
    TextAttributes attributes_;
};

}  // namespace nuvisca
