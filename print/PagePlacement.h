#pragma once

#include "graph/Painter.h"
#include "print/PrintPageDrawing.h"

namespace nuvisca {

// Where the page goes inside a printable area of the given size, in the area's units with
// the origin at its lower left: scaled to the area's width and hung from its top. One page
// is always printed, so a page that is then too tall is scaled down to the height as well
// and centred across the width.
RectF placePage(PageSize page, double areaWidth, double areaHeight);

}  // namespace nuvisca
