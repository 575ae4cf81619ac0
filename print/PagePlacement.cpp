#include "print/PagePlacement.h"

#include <algorithm>

namespace nuvisca {

RectF placePage(PageSize page, double areaWidth, double areaHeight, PageFit fit) {
    if (page.width <= 0.0 || page.height <= 0.0) {
        return {0.0, areaHeight, 0.0, 0.0};
    }
    double scale = 1.0;
    if (fit.fitToWidth) {
        scale = std::min(areaWidth / page.width, areaHeight / page.height);
    }
    const double width = page.width * scale;
    const double height = page.height * scale;
    const double x = std::max(0.0, (areaWidth - width) / 2.0);
    const double y = fit.verticallyCentred ? (areaHeight - height) / 2.0 : areaHeight - height;
    return {x, y, width, height};
}

}  // namespace nuvisca
