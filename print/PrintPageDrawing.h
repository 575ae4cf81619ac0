#pragma once

#include <string_view>

#include "graph/GraphViewState.h"
#include "graph/Painter.h"
#include "graph/ViewModel.h"
#include "store/Recording.h"

namespace nuvisca {

// The band above the graph that carries the file name and the device.
inline constexpr float kHeaderBandHeight = 4.0f * kLegendRowHeight;

struct PageSize {
    double width = 0.0;
    double height = 0.0;
};

// W x (H + 96), from the size the graph view last measured itself at.
PageSize printPageSize(const GraphViewState& view);

// The shown file's name; empty when it is no valid UTF-8.
std::string_view printableFileName(const ViewModel& model);

// The whole print page: the graph exactly as the view shows it, without the border and with
// the page's rSO2 rule, under the header band. Reads the view's size and never writes it.
// Returns whether it drew a recording's samples, as drawGraph does.
bool drawPrintPage(Painter& painter, const ViewModel& model, bool drawnBefore);

}  // namespace nuvisca
