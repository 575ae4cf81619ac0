#pragma once

#include <memory>

#include "graph/GraphRenderer.h"
#include "graph/GraphViewState.h"
#include "store/MeasurementStore.h"
#include "support/RecordingPainter.h"

namespace nuvisca::test {

inline std::uint64_t clockTag(int hour, int minute, int second) {
    return static_cast<std::uint64_t>(hour * 3600 + minute * 60 + second);
}

// A loaded recording of `count` slots with steady values, slot 0 tagged with the start
// time, and a 1000 x 600 view reset as after a load.
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
        s.startYear = 24;
        s.startMonth = 5;
        s.startDay = 14;
        s.startHour = static_cast<std::int32_t>(startTag / 3600);
        s.startMinute = static_cast<std::int32_t>(startTag % 3600 / 60);
        s.startSecond = static_cast<std::int32_t>(startTag % 60);
        for (std::int32_t i = 0; i < count; ++i) {
            const auto k = static_cast<std::size_t>(i);
            s.rso2Data[k] = 70.0f;
            s.oxhbData[k] = 0.3f;
            s.dxhbData[k] = 0.2f;
            s.tohbData[k] = 0.5f;
            s.sampleTime[k] = continuationTag;
        }
        s.sampleTime[0] = startTag;
        s.sampleCount = count;
        s.spanSamples = count;
        view.viewWidth = width;
        view.viewHeight = height;
        resetVisibleRange(view, s.spanSamples);
    }

    void gap(std::int32_t from, std::int32_t to) {
        for (std::int32_t i = from; i < to; ++i) {
            const auto k = static_cast<std::size_t>(i);
            store->rso2Data[k] = store->oxhbData[k] = store->dxhbData[k] = store->tohbData[k] =
                noDataValue;
        }
    }

    void restart(std::int32_t slot, std::uint64_t tag) {
        store->sampleTime[static_cast<std::size_t>(slot)] = tag;
    }

    RecordingPainter draw(GraphPageStyle style) {
        RecordingPainter painter;
        drawGraph(painter, *store, view, attributes, style);
        return painter;
    }

    RecordingPainter draw() {
        return draw(onScreenStyle({view.viewWidth, view.viewHeight, 0.0f, 0.0f}));
    }
};

}  // namespace nuvisca::test
