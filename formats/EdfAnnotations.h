#pragma once

#include <string>
#include <vector>

#include "formats/EdfPlan.h"

namespace nuvisca {

// Each record's annotation bytes: the record's own time first, then annotations in timeline
// order. An annotation goes into the record its onset lies in while every record's bytes stay
// small; when more lie close together, they spread over the records that follow (or, near the
// end, those before), so that the bytes every record must hold grow with their count over the
// whole file rather than with their count in one second.
std::vector<std::string> annotationBlocks(const EdfPlan& plan);

}  // namespace nuvisca
