#pragma once

#include <memory>
#include <tuple>
#include <utility>
#include <vector>

#include "graph/GraphRenderer.h"
#include "graph/GraphViewState.h"
#include "graph/ViewModel.h"
#include "store/Recording.h"
#include "support/RecordingPainter.h"

namespace nuvisca::test {

inline std::uint64_t clockTag(int hour, int minute, int second) {
    return static_cast<std::uint64_t>(hour * 3600 + minute * 60 + second);
}

// Every announcement, as the flags it carried.
struct Heard {
    std::vector<unsigned> changes;
    explicit Heard(ViewModel& model) {
        model.subscribe([this](unsigned change) { changes.push_back(change); });
    }
    std::vector<unsigned> take() { return std::exchange(changes, {}); }
};

// `count` steady slots, slot 0 tagged with the start time, in a 1000 x 600 view reset as after
// a load. The recording stays writable here so that each test can shape it.
struct GraphFixture {
    std::shared_ptr<Recording> store = std::make_shared<Recording>();
    ViewModel model;
    GraphViewState& view = model.editView();
    bool drawnBefore = false;  // whether a draw of this surface has drawn samples

    explicit GraphFixture(std::int32_t count, std::uint64_t startTag = clockTag(10, 0, 0)) {
        Recording& s = *store;
        const auto clock = static_cast<std::int32_t>(startTag);
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
        model.setRecording(store);
    }

    // The model reads its restarts from the recording it is handed, so it is handed it again.
    void restart(std::size_t slot, std::uint64_t tag) {
        store->sampleTime[slot] = tag;
        model.setRecording(store);
    }

    // Settled as the view paints at its size, then drawn.
    RecordingPainter draw(const GraphPageStyle& style = kOnScreenStyle) {
        settleView(view, model.zoomIndex(), {view.viewWidth, view.viewHeight});
        RecordingPainter painter;
        drawnBefore = drawGraph(painter, model, view, drawnBefore, style) || drawnBefore;
        return painter;
    }
};

}  // namespace nuvisca::test
