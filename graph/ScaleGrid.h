#pragma once

#include <string>

#include "graph/DrawFrame.h"
#include "graph/Painter.h"

namespace nuvisca {

// A scale value with as many decimals as its grid step needs ("%2.1f" .. "%2.6f").
std::string formatScaleValue(float value, int decimals);

// Grid lines and both value scales, scrolled with the traces.
void drawGridAndScales(Painter& painter, const DrawFrame& frame, TextAttributes& attributes);

}  // namespace nuvisca
