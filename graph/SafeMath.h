#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace nuvisca {

// Truncation toward zero that stays defined for values outside int32 and for NaN (0),
// which a zero pixelsPerSample can produce.
inline std::int32_t truncToInt(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double kLow = std::numeric_limits<std::int32_t>::min();
    constexpr double kHigh = std::numeric_limits<std::int32_t>::max();
    if (value <= kLow) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (value >= kHigh) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

inline std::int32_t clampToInt(std::int64_t value) {
    if (value < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

// Lower bound first, so an inverted range in a tiny view still gives one answer.
inline float limitTo(float value, float low, float high) {
    const float raised = value < low ? low : value;
    return raised > high ? high : raised;
}

}  // namespace nuvisca
