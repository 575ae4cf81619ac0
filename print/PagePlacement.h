#pragma once

#include "graph/Painter.h"
#include "print/PrintPageDrawing.h"

namespace nuvisca {

// How a page is laid on the paper's printable area.
struct PageFit {
    bool fitToWidth = false;        // scale the page to the printable width
    bool verticallyCentred = true;  // else it hangs from the top of the area
};

// Where the page goes inside a printable area of the given size, in the area's units with
// the origin at its lower left. A page wider than the area without fitting is cut at the
// right. One page is always printed, so a page that fitted to the width but is then too tall
// is scaled down to the height as well and centred across the width.
RectF placePage(PageSize page, double areaWidth, double areaHeight, PageFit fit);

}  // namespace nuvisca
