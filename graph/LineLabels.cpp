#include "graph/LineLabels.h"

namespace nuvisca {

LineLabelPlace placeBesideLine(std::int32_t x, double width, double indexLeft,
                               double percentRight) {
    const bool toTheRight = x + 4.0 + width + 4.0 <= indexLeft;
    const double left = toTheRight ? x + 4.0 : x - 4.0 - width;
    return {left, toTheRight ? x > 0 : left >= percentRight};
}

std::size_t LabelRows::place(double from, double to) {
    std::size_t row = (previous_ + 1) % kCount;
    for (std::size_t r = 0; r < kCount; ++r) {
        if (from > lastTo_[r]) {
            row = r;
            break;
        }
    }
    lastTo_[row] = to;
    previous_ = row;
    return row;
}

}  // namespace nuvisca
