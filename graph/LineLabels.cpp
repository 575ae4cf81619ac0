#include "graph/LineLabels.h"

namespace nuvisca {

LineLabelPlace placeBesideLine(std::int32_t x, double width, double indexLeft,
                               double percentRight) {
    const bool toTheRight = x + 4.0 + width + 4.0 <= indexLeft;
    const double left = toTheRight ? x + 4.0 : x - 4.0 - width;
    return {left, toTheRight ? x > 0 : left >= percentRight};
}

std::size_t LabelRows::place(double from, double to) {
    const std::size_t row = firstFree(from).value_or((previous_ + 1) % kCount);
    lastTo_[row] = to;
    previous_ = row;
    return row;
}

bool LabelRows::freeAt(double from) const {
    return firstFree(from).has_value();
}

std::optional<std::size_t> LabelRows::placeIfFree(double from, double to) {
    if (!freeAt(from)) {
        return std::nullopt;
    }
    return place(from, to);
}

std::optional<std::size_t> LabelRows::firstFree(double from) const {
    for (std::size_t r = 0; r < kCount; ++r) {
        if (from > lastTo_[r]) {
            return r;
        }
    }
    return std::nullopt;
}

}  // namespace nuvisca
