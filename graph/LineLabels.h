#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

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
// lowest row whose last label ends before it begins; when none is free, to the row after the
// previous label's.
class LabelRows {
public:
    static constexpr std::size_t kCount = 8;

    // The row of a label that claims from..to; nothing is claimed left of the plot.
    std::size_t place(double from, double to);

private:
    std::array<double, kCount> lastTo_{kPlotMargin, kPlotMargin, kPlotMargin, kPlotMargin,
                                       kPlotMargin, kPlotMargin, kPlotMargin, kPlotMargin};
    std::size_t previous_ = 0;
};

}  // namespace nuvisca
