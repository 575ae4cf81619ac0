#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "graph/GraphViewState.h"

namespace nuvisca {

// Where a label of that width stands beside a vertical line at x: to the right of it, or to
// the left where it would run into the index scale; not shown when it fits neither side.
struct LineLabelPlace {
    double left = 0.0;
    bool shown = false;
};
LineLabelPlace placeBesideLine(std::int32_t x, double width, double indexLeft, double percentRight);

// Stacks labels into rows so that neighbours do not overwrite each other: each goes to the
// lowest row whose last label ends before it begins. When none is free, place() puts it in the
// row after the previous label's, over another.
class LabelRows {
public:
    static constexpr std::size_t kCount = 8;

    // The row of a label that claims from..to; nothing is claimed left of the plot.
    std::size_t place(double from, double to);
    // Whether a label from there on would find a row free.
    bool freeAt(double from) const;
    // The row of a label that claims from..to, or none, claiming nothing, when no row is free.
    std::optional<std::size_t> placeIfFree(double from, double to);

private:
    std::optional<std::size_t> firstFree(double from) const;

    std::array<double, kCount> lastTo_{kPlotMargin, kPlotMargin, kPlotMargin, kPlotMargin,
                                       kPlotMargin, kPlotMargin, kPlotMargin, kPlotMargin};
    std::size_t previous_ = 0;
};

}  // namespace nuvisca
