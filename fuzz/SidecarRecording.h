#pragma once

#include <memory>

#include "store/Recording.h"

namespace nuvisca::fuzz {

// The recording fuzzed sidecars are read against: from 23:53:20, a pause with a restart past
// midnight at slot 1000, an early restart at slot 2000 and a stretch without rSO2.
inline std::unique_ptr<Recording> sidecarRecording() {
    auto store = makeEmptyRecording();
    store->sampleCount = 3000;
    for (std::size_t i = 0; i < 3000; ++i) {
        const float rso2 = i >= 2500 && i < 2600 ? noDataValue : 60.0f + static_cast<float>(i % 7);
        putSample(*store, i, {0.4f, 0.2f, 0.6f, rso2});
        store->sampleTime[i] = continuationTag;
    }
    store->sampleTime[0] = 86000;
    store->sampleTime[1000] = 300;
    store->sampleTime[2000] = 700;
    store->startYear = 24;
    store->startMonth = 5;
    store->startDay = 14;
    store->startHour = 23;
    store->startMinute = 53;
    store->startSecond = 20;
    return store;
}

}  // namespace nuvisca::fuzz
