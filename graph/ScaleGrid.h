#pragma once

#include "graph/GraphLayout.h"
#include "graph/Painter.h"

namespace nuvisca {

// Grid lines and both value scales, scrolled with the traces.
void drawGridAndScales(Painter& painter, const GraphLayout& layout, std::optional<Rgba> background);

// The left edge of the index scale's labels, which stand right-aligned inside the frame.
double indexScaleLeft(Painter& painter, const GraphLayout& layout);

// The right edge of the percent scale's widest label, which stands 14 points into the view.
double percentScaleRight(Painter& painter);

}  // namespace nuvisca
