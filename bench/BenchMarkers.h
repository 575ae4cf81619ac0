#pragma once

#include <string>

#include "store/Markers.h"
#include "store/Recording.h"

namespace nuvisca::bench {

// The most markers a recording keeps, with labels of the longest UTF-8: half of them spread
// over the recording, some lasting a minute, and half crowded into its last second.
inline Markers benchMarkers(const Recording& store) {
    std::string label;
    while (label.size() + 3 <= kMarkerLabelBytes) {
        label += "麻";
    }
    Markers markers;
    const std::int32_t count = store.sampleCount;
    for (std::int32_t k = 0; k < static_cast<std::int32_t>(kMarkerLimit); ++k) {
        const bool crowded = k % 2 != 0;
        const std::int32_t slot = crowded ? count - 1 - (k / 2) % 2 : count / 1000 * (k / 2);
        insertMarker(markers, {slot, !crowded && k % 3 == 0 ? 120 : 0, label});
    }
    return markers;
}

}  // namespace nuvisca::bench
