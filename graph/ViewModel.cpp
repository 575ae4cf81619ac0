#include "graph/ViewModel.h"

#include <algorithm>
#include <utility>

#include "graph/SlotClock.h"

namespace nuvisca {
namespace {

// One empty recording serves every view model that shows none.
const std::shared_ptr<const Recording>& emptyRecording() {
    static const std::shared_ptr<const Recording> empty = std::make_shared<const Recording>();
    return empty;
}

}  // namespace

ViewModel::ViewModel() : recording_(emptyRecording()) {
    resetGraphViewState(view_);
    announced_ = announcedNow();
}

void ViewModel::setRecording(std::shared_ptr<const Recording> recording) {
    recording_ = recording ? std::move(recording) : emptyRecording();
    restartSlots_.clear();
    for (std::int32_t i = nextTaggedSlot(*recording_, 1, recording_->sampleCount);
         i < recording_->sampleCount;
         i = nextTaggedSlot(*recording_, i + 1, recording_->sampleCount)) {
        restartSlots_.push_back(i);
    }
    resetVisibleRange(view_, recording_->spanSamples);
    recomputeAverage();
    view_.selection = {};
    view_.selecting = false;
    review_.baseline.reset();
    markers_.clear();
    markerHistory_.clear();
    announced_ = announcedNow();
    reviewChanged(kRecordingChanged | kSeriesChanged | kRangeChanged | kMarkersChanged);
}

void ViewModel::setZoomIndex(std::int32_t zoomIndex) {
    if (zoomIndex == zoomIndex_) {
        return;
    }
    zoomIndex_ = zoomIndex;
    announce(kZoomChanged);
}

void ViewModel::setAverageWindow(std::int32_t window) {
    if (window == averageWindow_) {
        return;
    }
    averageWindow_ = window;
    recomputeAverage();
    remeasureBaseline();
    reviewChanged(kSeriesChanged);
}

const AveragedSeries* ViewModel::averaged() const {
    return averageWindow_ > 0 ? averaged_.get() : nullptr;
}

const SampleArray& ViewModel::shownSeries(Channel channel) const {
    const AveragedSeries* series = averaged();
    return series != nullptr ? series->values[channel] : recording_->measured[channel];
}

void ViewModel::recomputeAverage() {
    if (averageWindow_ > 0 && recording_->sampleCount > 0) {
        if (!averaged_) {
            averaged_ = std::make_unique<AveragedSeries>();
        }
        computeMovingAverage(*recording_, averageWindow_, *averaged_);
    }
    reindexTraces();
}

void ViewModel::reindexTraces() {
    ++seriesRevision_;
    for (std::size_t c = 0; c < kChannelCount; ++c) {
        const auto channel = static_cast<Channel>(c);
        const bool rso2 = channel == kRso2;
        for (const Rso2Presence presence :
             {Rso2Presence::AboveHundredth, Rso2Presence::AboveZero}) {
            const auto slot = static_cast<std::size_t>(presence);
            traceIndexes_[c][slot] = rso2 || slot == 0
                                         ? TraceIndex(*recording_, shownSeries(channel),
                                                      recording_->measured[channel], rso2, presence)
                                         : TraceIndex();
        }
    }
}

void ViewModel::commitView() {
    const Announced now = announcedNow();
    unsigned changes = 0;
    if (now.range != announced_.range || now.verticalOffset != announced_.verticalOffset) {
        changes |= kRangeChanged;
    }
    if (now.traceShown != announced_.traceShown) {
        changes |= kTracesChanged;
    }
    if (now.selection != announced_.selection) {
        changes |= kSelectionChanged;
    }
    announced_ = now;
    if (changes != 0) {
        announce(changes);
    }
}

void ViewModel::showRange(VisibleRange range) {
    view_.viewStart = range.start;
    view_.viewEnd = range.end;
    commitView();
}

void ViewModel::setTraceShown(Channel channel, bool shown) {
    view_.traceShown[channel] = shown;
    commitView();
}

void ViewModel::setSelection(SlotSpan selection) {
    view_.selection = selection.empty() ? SlotSpan{} : selection;
    commitView();
}

SlotSpan ViewModel::reviewedSpan() const {
    return view_.selection.empty() ? SlotSpan{view_.viewStart, view_.viewEnd} : view_.selection;
}

void ViewModel::setAbsoluteThreshold(double percent) {
    if (percent != review_.absoluteThreshold) {
        review_.absoluteThreshold = percent;
        reviewChanged(kReviewChanged);
    }
}

void ViewModel::setDropPercent(double percent) {
    if (percent != review_.dropPercent) {
        review_.dropPercent = percent;
        reviewChanged(kReviewChanged);
    }
}

void ViewModel::setMinimumSeconds(double seconds) {
    if (seconds != review_.minimumSeconds) {
        review_.minimumSeconds = seconds;
        reviewChanged(kReviewChanged);
    }
}

void ViewModel::setBaseline(std::optional<Baseline> baseline) {
    review_.baseline = baseline;
    reviewChanged(kReviewChanged | kEditedByUser);
}

std::size_t ViewModel::addMarker(Marker marker) {
    Markers after = markers_;
    const std::size_t index = insertMarker(after, std::move(marker));
    markersEdited(std::move(after));
    return index;
}

std::size_t ViewModel::replaceMarker(std::size_t index, Marker marker) {
    if (index >= markers_.size()) {
        return index;
    }
    Markers after = markers_;
    after.erase(after.begin() + static_cast<std::ptrdiff_t>(index));
    const std::size_t placed = insertMarker(after, std::move(marker));
    if (after != markers_) {
        markersEdited(std::move(after));
    }
    return placed;
}

void ViewModel::removeMarker(std::size_t index) {
    if (index < markers_.size()) {
        Markers after = markers_;
        after.erase(after.begin() + static_cast<std::ptrdiff_t>(index));
        markersEdited(std::move(after));
    }
}

void ViewModel::markersEdited(Markers after) {
    markerHistory_.recordEdit(std::exchange(markers_, std::move(after)));
    announce(kMarkersChanged | kEditedByUser);
}

void ViewModel::undoMarkerEdit() {
    if (auto before = markerHistory_.undo(markers_)) {
        markers_ = std::move(*before);
        announce(kMarkersChanged | kEditedByUser);
    }
}

void ViewModel::redoMarkerEdit() {
    if (auto after = markerHistory_.redo(markers_)) {
        markers_ = std::move(*after);
        announce(kMarkersChanged | kEditedByUser);
    }
}

void ViewModel::restoreKept(Markers markers, std::optional<Baseline> baseline) {
    markers_ = std::move(markers);
    markerHistory_.clear();
    review_.baseline = baseline;
    remeasureBaseline();
    reviewChanged(kMarkersChanged | kReviewChanged);
}

void ViewModel::remeasureBaseline() {
    if (review_.baseline && review_.baseline->method != BaselineMethod::kTyped) {
        const Baseline& was = *review_.baseline;
        review_.baseline = measureBaseline(*recording_, averaged(), was.method, was.start, was.end);
    }
}

void ViewModel::reviewChanged(unsigned changes) {
    desaturations_ = findDesaturations(*recording_, averaged(), 0, recording_->sampleCount,
                                       review_.effectiveThreshold(), review_.minimumSeconds);
    announce(changes);
}

void ViewModel::setFileName(std::string name) {
    // 255 bytes at most, cut where no character is split.
    constexpr std::size_t kRoom = 255;
    if (name.size() > kRoom) {
        std::size_t cut = kRoom;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0u) == 0x80u) {
            --cut;
        }
        name.resize(cut);
    }
    fileName_ = std::move(name);
}

int ViewModel::subscribe(Observer observer) {
    observers_.emplace_back(nextObserverId_, std::move(observer));
    return nextObserverId_++;
}

void ViewModel::unsubscribe(int id) {
    std::erase_if(observers_, [id](const auto& entry) { return entry.first == id; });
}

ViewModel::Announced ViewModel::announcedNow() const {
    return {
        {view_.viewStart, view_.viewEnd}, view_.verticalOffset, view_.traceShown, view_.selection};
}

void ViewModel::announce(unsigned changes) {
    // A copy: an observer may subscribe or unsubscribe while being told.
    const auto observers = observers_;
    for (const auto& [id, observer] : observers) {
        observer(changes);
    }
}

}  // namespace nuvisca
