#include "print/PagePlacement.h"

#include <algorithm>

namespace nuvisca {

RectF placePage(PageSize page, double areaWidth, double areaHeight) {
    if (page.width <= 0.0 || page.height <= 0.0) {
        return {0.0, areaHeight, 0.0, 0.0};
    }
    const double scale = std::min(areaWidth / page.width, areaHeight / page.height);
    const double width = page.width * scale;
    const double height = page.height * scale;
    return {std::max(0.0, (areaWidth - width) / 2.0), areaHeight - height, width, height};
}

}  // namespace nuvisca
