#pragma once

#include <string>

#include "graph/GraphLayout.h"
#include "graph/GraphViewState.h"
#include "graph/Painter.h"
#include "store/Recording.h"

namespace nuvisca {

// "測定日時 ..." line with the recording's start date and time and its end time.
std::string recordingDateLine(const Recording& store);

// "移動平均 N", N as the moving-average box shows it.
std::string movingAverageLine(std::int32_t box);

// The two scale headings and, with data, the recording date line, followed by the moving
// average when it is on.
void drawHeadings(Painter& painter, const ViewModel& model, const GraphLayout& layout,
                  std::optional<Rgba> background);

// The legend entries and markers, in the layout's boxes.
void drawLegend(Painter& painter, const GraphViewState& view, const GraphLayout& layout,
                std::optional<Rgba> background);

}  // namespace nuvisca
