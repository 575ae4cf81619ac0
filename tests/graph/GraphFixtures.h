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

// A loaded recording of `count` slots with steady values, slot 0 tagged with the start
// time, and a view of the given size reset as after a load.
struct GraphFixture {
    std::unique_ptr<MeasurementStore> store = makeMeasurementStore();
    GraphViewState view;
    TextAttributes attributes;

    explicit GraphFixture(std::int32_t count, std::uint64_t startTag = clockTag(10, 0, 0),
                          float width = 1000.0f, float height = 600.0f) {
        MeasurementStore& s = *store;
        resetMeasurementStore(s, 0.0f, 0.0f);
        resetGraphViewState(view);
        s.zoomIndex = 1;
        const auto clock = static_cast<std::int32_t>(startTag);
        std::tie(s.startYear, s.startMonth, s.startDay, s.startHour, s.startMinute, s.startSecond) =
            std::tuple(24, 5, 14, clock / 3600, clock % 3600 / 60, clock % 60);
        for (std::size_t k = 0; k < static_cast<std::size_t>(count); ++k) {
            s.rso2Data[k] = 70.0f;
            s.oxhbData[k] = 0.3f;
            s.dxhbData[k] = 0.2f;
            s.tohbData[k] = 0.5f;
            s.sampleTime[k] = continuationTag;
        }
        s.sampleTime[0] = startTag;
        s.sampleCount = s.spanSamples = count;
        view.viewWidth = width;
        view.viewHeight = height;
        resetVisibleRange(view, s.spanSamples);
    }

    void gap(std::size_t from, std::size_t to) {
        for (std::size_t k = from; k < to; ++k) {
            store->rso2Data[k] = store->oxhbData[k] = store->dxhbData[k] = store->tohbData[k] =
                noDataValue;
        }
    }

    void restart(std::size_t slot, std::uint64_t tag) { store->sampleTime[slot] = tag; }

    RecordingPainter draw(const GraphPageStyle& style) {
        RecordingPainter painter;
        drawGraph(painter, *store, view, attributes, style);
        return painter;
    }

    RecordingPainter draw() { return draw(onScreenStyle({view.viewWidth, view.viewHeight})); }
};

}  // namespace nuvisca::test
