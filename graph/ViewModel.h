#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "graph/DragRule.h"
#include "graph/GraphViewState.h"
#include "graph/TraceIndex.h"
#include "store/Baseline.h"
#include "store/Desaturation.h"
#include "store/Markers.h"
#include "store/MovingAverage.h"
#include "store/Recording.h"

namespace nuvisca {

// What changed in a view model, as a set of flags.
enum ViewChange : unsigned {
    kRecordingChanged = 1u << 0,  // and with it all the rest
    kSeriesChanged = 1u << 1,     // the moving average, and so the values shown
    kRangeChanged = 1u << 2,      // the visible range or the vertical offset
    kTracesChanged = 1u << 3,
    kZoomChanged = 1u << 4,
    kSelectionChanged = 1u << 5,
    kReviewChanged = 1u << 6,  // the baseline or a threshold; the events follow it and the series
    kMarkersChanged = 1u << 7,
    // With kMarkersChanged or kReviewChanged: a user's edit changed the markers or the
    // baseline, which are kept with the recording.
    kEditedByUser = 1u << 8,
};

// What desaturation is judged by in a recording's review.
struct ReviewSettings {
    double absoluteThreshold = kDefaultRso2Threshold;
    std::optional<Baseline> baseline;
    double dropPercent = kDefaultDropPercent;
    double minimumSeconds = kDefaultMinimumSeconds;

    double effectiveThreshold() const {
        return nuvisca::effectiveThreshold(absoluteThreshold, baseline, dropPercent);
    }
    friend bool operator==(const ReviewSettings&, const ReviewSettings&) = default;
};

// One shown recording and how it is shown: the zoom, the moving average (computed once per
// recording and box setting), the traces, the visible range, the drag and the file name.
// Views, the print page and the command line read it; it tells its observers what changed,
// once per change. Several may exist at once, each over a recording of its own or a shared one.
class ViewModel {
public:
    using Observer = std::function<void(unsigned changes)>;

    ViewModel();

    const Recording& recording() const { return *recording_; }
    const std::shared_ptr<const Recording>& sharedRecording() const { return recording_; }
    // Shows a recording from its start, the range sized by the view's width.
    void setRecording(std::shared_ptr<const Recording> recording);

    std::int32_t zoomIndex() const { return zoomIndex_; }  // 0 = 1/2x .. 4 = 8x
    void setZoomIndex(std::int32_t zoomIndex);

    // Neighbours on each side; the box shows this + 1, and 0 is off.
    std::int32_t averageWindow() const { return averageWindow_; }
    void setAverageWindow(std::int32_t window);
    // The averaged series while the moving average is on, else null.
    const AveragedSeries* averaged() const;
    // The series drawn for a channel: averaged while the moving average is on.
    const SampleArray& shownSeries(Channel channel) const;
    // The shown series of a channel read for dense drawing, with its runs broken by that rule.
    // Counts the changes of the shown series: a new recording or moving-average box.
    std::uint64_t seriesRevision() const { return seriesRevision_; }
    // The recording's restarts: its tagged slots after slot 0, ascending.
    const std::vector<std::int32_t>& restartSlots() const { return restartSlots_; }
    const TraceIndex& traceIndex(Channel channel, Rso2Presence presence) const {
        // Only rSO2 is broken differently by the rules; the others keep one index.
        return traceIndexes_[channel][channel == kRso2 ? static_cast<std::size_t>(presence) : 0];
    }

    const GraphViewState& view() const { return view_; }
    // For the view's own geometry, the drag state and edits that commitView then announces.
    GraphViewState& editView() { return view_; }
    // Tells the observers what the edits since the last announcement changed.
    void commitView();

    void showRange(VisibleRange range);
    void setTraceShown(Channel channel, bool shown);

    // The stretch chosen for review; empty when none. Cleared with each new recording.
    SlotSpan selection() const { return view_.selection; }
    void setSelection(SlotSpan selection);
    // The selection when there is one, else the visible range.
    SlotSpan reviewedSpan() const;

    const ReviewSettings& review() const { return review_; }
    void setAbsoluteThreshold(double percent);
    void setDropPercent(double percent);
    // The shortest run of desaturation that counts as an event.
    void setMinimumSeconds(double seconds);
    // A user's choice of baseline. A measured baseline is measured again whenever the series
    // shown changes.
    void setBaseline(std::optional<Baseline> baseline);
    // The events of the whole recording in the series shown, by the effective threshold.
    const Desaturations& desaturations() const { return desaturations_; }

    const Markers& markers() const { return markers_; }
    // A user's edits of the markers, each undoable. Indexes are those of markers().
    std::size_t addMarker(Marker marker);
    // Changes a marker's label, slot or duration; returns its index in the new order.
    std::size_t replaceMarker(std::size_t index, Marker marker);
    void removeMarker(std::size_t index);
    bool canUndoMarkerEdit() const { return markerHistory_.canUndo(); }
    bool canRedoMarkerEdit() const { return markerHistory_.canRedo(); }
    void undoMarkerEdit();
    void redoMarkerEdit();
    // What was kept with the recording, as read back with it: not an edit, nothing to undo. A
    // measured baseline is measured over its slots in the series shown.
    void restoreKept(Markers markers, std::optional<Baseline> baseline);

    const std::string& fileName() const { return fileName_; }
    void setFileName(std::string name);

    // Returns an id for unsubscribe.
    int subscribe(Observer observer);
    void unsubscribe(int id);

private:
    struct Announced {
        VisibleRange range;
        float verticalOffset = 0.0f;
        std::array<bool, kChannelCount> traceShown{};
        SlotSpan selection;
    };
    void announce(unsigned changes);
    void recomputeAverage();
    void reindexTraces();
    Announced announcedNow() const;
    void reviewChanged(unsigned changes);
    void markersEdited(Markers after);
    void remeasureBaseline();

    std::shared_ptr<const Recording> recording_;
    std::int32_t zoomIndex_ = 1;
    std::int32_t averageWindow_ = 0;
    std::unique_ptr<AveragedSeries> averaged_;
    std::array<std::array<TraceIndex, 2>, kChannelCount> traceIndexes_;
    std::vector<std::int32_t> restartSlots_;
    std::uint64_t seriesRevision_ = 0;
    GraphViewState view_;
    ReviewSettings review_;
    Desaturations desaturations_;
    Markers markers_;
    MarkerHistory markerHistory_;
    std::string fileName_;
    Announced announced_;
    std::vector<std::pair<int, Observer>> observers_;
    int nextObserverId_ = 0;
};

// A view model's observer for as long as it lives: it unsubscribes when it goes or is replaced.
class Subscription {
public:
    Subscription() = default;
    Subscription(ViewModel& model, ViewModel::Observer observer)
        : model_(&model), id_(model.subscribe(std::move(observer))) {}
    Subscription(Subscription&& other) noexcept
        : model_(std::exchange(other.model_, nullptr)), id_(other.id_) {}
    Subscription& operator=(Subscription&& other) noexcept {
        if (this != &other) {
            end();
            model_ = std::exchange(other.model_, nullptr);
            id_ = other.id_;
        }
        return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription() { end(); }

private:
    void end() {
        if (model_ != nullptr) {
            model_->unsubscribe(id_);
            model_ = nullptr;
        }
    }

    ViewModel* model_ = nullptr;
    int id_ = 0;
};

}  // namespace nuvisca
