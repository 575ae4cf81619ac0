#pragma once

#include <memory>
#include <tuple>

#include "graph/GraphRenderer.h"
#include "graph/GraphViewState.h"
#include "store/MeasurementStore.h"
#include "support/RecordingPainter.h"

namespace nuvisca::test {

inline std::uint64_t clockTag(int hour, int minute, int second) {
    return static_cast<std::uint64_t>(hour * 3600 + minute * 60 + second);
}

// `count` steady slots, slot 0 tagged with the start time, in a 1000 x 600 view reset as after
// a load.
struct GraphFixture {
    std::unique_ptr<MeasurementStore> store = makeMeasurementStore();
    GraphViewState view;
    TextAttributes attributes;

    explicit GraphFixture(std::int32_t count, std::uint64_t startTag = clockTag(10, 0, 0)) {
        MeasurementStore& s = *store;
        resetMeasurementStore(s, 0.0f, 0.0f);
        resetGraphViewState(view);
        const auto clock = static_cast<std::int32_t>(startTag);
        s.zoomIndex = 1;
        std::tie(s.startYear, s.startMonth, s.startDay, s.startHour, s.startMinute, s.startSecond) =
            std::tuple(24, 5, 14, clock / 3600, clock % 3600 / 60, clock % 60);
        s.measured[kRso2].fill(70.0f);
        s.measured[kOxhb].fill(0.3f);
        s.measured[kDxhb].fill(0.2f);
        s.measured[kTohb].fill(0.5f);
        s.sampleTime.fill(continuationTag);
        s.sampleTime[0] = startTag;
        s.sampleCount = s.spanSamples = count;
        std::tie(view.viewWidth, view.viewHeight) = std::tuple(1000.0f, 600.0f);
        resetVisibleRange(view, s.spanSamples);
    }

    void restart(std::size_t slot, std::uint64_t tag) { store->sampleTime[slot] = tag; }

    // Settled as the view paints at its size, then drawn.
    RecordingPainter draw(const GraphPageStyle& style = kOnScreenStyle) {
        settleView(view, store->zoomIndex, {view.viewWidth, view.viewHeight});
        RecordingPainter painter;
        drawGraph(painter, *store, view, attributes, style);
        return painter;
    }
};

}  // namespace nuvisca::test
