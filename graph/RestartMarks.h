#pragma once

#include "graph/GraphLayout.h"
#include "graph/Painter.h"
#include "store/Recording.h"

namespace nuvisca {

// A red line at every restart inside the visible range.
void drawRestartLines(Painter& painter, const Recording& store, const GraphLayout& layout);

// At every restart, the clock reached before it and the time it resumed at.
void drawRestartLabels(Painter& painter, const Recording& store, const GraphLayout& layout);

}  // namespace nuvisca
