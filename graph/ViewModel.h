#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "graph/DragRule.h"
#include "graph/GraphViewState.h"
#include "store/MovingAverage.h"
#include "store/Recording.h"

namespace nuvisca {

// What changed in a view model, as a set of flags.
enum ViewChange : unsigned {
    kRecordingChanged = 1u << 0,
    kSeriesChanged = 1u << 1,  // the moving average, and so the values shown
    kRangeChanged = 1u << 2,   // the visible range or the vertical offset
    kTracesChanged = 1u << 3,
    kZoomChanged = 1u << 4,
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

    const GraphViewState& view() const { return view_; }
    // For the view's own geometry, the drag state and edits that commitView then announces.
    GraphViewState& editView() { return view_; }
    // Tells the observers what the edits since the last announcement changed.
    void commitView();

    void showRange(VisibleRange range);
    void setTraceShown(Channel channel, bool shown);

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
    };
    void announce(unsigned changes);
    void recomputeAverage();
    Announced announcedNow() const;

    std::shared_ptr<const Recording> recording_;
    std::int32_t zoomIndex_ = 1;
    std::int32_t averageWindow_ = 0;
    std::unique_ptr<AveragedSeries> averaged_;
    GraphViewState view_;
    std::string fileName_;
    Announced announced_;
    std::vector<std::pair<int, Observer>> observers_;
    int nextObserverId_ = 0;
};

}  // namespace nuvisca
