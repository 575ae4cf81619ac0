#pragma once

#include "graph/DrawFrame.h"
#include "graph/Painter.h"
#include "store/MeasurementStore.h"

namespace nuvisca {

// A red line at every restart inside the visible range.
void drawRestartLines(Painter& painter, const MeasurementStore& store, const DrawFrame& frame);

// At every restart, the clock reached before it and the time it resumed at.
void drawRestartLabels(Painter& painter, const MeasurementStore& store, const DrawFrame& frame,
                       TextAttributes& attributes);

}  // namespace nuvisca
