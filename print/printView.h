#pragma once

#include <QPainter>

#include "graph/GraphViewState.h"
#include "graph/Painter.h"
#include "print/PrintPage.h"
#include "store/MeasurementStore.h"

namespace nuvisca {

// The page of one print request. It holds no data: every draw reads the store and the
// graph view state. Its text attributes are its own and start fresh with each request.
class printView {
public:
    // The frame is fixed here, from the size the graph view last drew itself at.
    printView(const MeasurementStore& store, GraphViewState& view);

    PageSize frame() const { return mFrame; }

    // Draws the page in the painter's current coordinates: one unit per point, the page's
    // top-left corner at the origin.
    void drawRect(QPainter& painter);

private:
    const MeasurementStore& mStore;
    GraphViewState& mView;
    PageSize mFrame;
    TextAttributes attributes;
};

}  // namespace nuvisca
