#pragma once

#include "store/MeasurementStore.h"

namespace nuvisca {

// Derives averaged[kRso2], averaged[kOxhb], averaged[kDxhb] and averaged[kTohb] for slots 0 ..
// sampleCount - 1 from the measured series, averaging each slot with up to averageWindow neighbours
// on each side. Windows never cross a slot without data or a slot with its own time of day.
void computeMovingAverage(MeasurementStore& store);

}  // namespace nuvisca
