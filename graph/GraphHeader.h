#pragma once

#include <string>

#include "graph/DrawFrame.h"
#include "graph/GraphViewState.h"
#include "graph/Painter.h"
#include "store/MeasurementStore.h"

namespace nuvisca {

// "測定日時 ..." line with the recording's start date and time and its end time.
std::string recordingDateLine(const MeasurementStore& store);

// The two scale headings and, with data, the recording date line.
void drawHeadings(Painter& painter, const MeasurementStore& store, const DrawFrame& frame,
                  TextAttributes& attributes);

// The legend entries and markers; records each entry's clickable box in the state.
void drawLegend(Painter& painter, GraphViewState& view, const DrawFrame& frame,
                TextAttributes& attributes);

}  // namespace nuvisca
