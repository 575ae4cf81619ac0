#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "graph/GraphFixtures.h"
#include "graph/ViewModel.h"

namespace nuvisca::test {
namespace {

bool sameAverage(const ViewModel& model, std::int32_t window) {
    auto expected = std::make_unique<AveragedSeries>();
    computeMovingAverage(model.recording(), window, *expected);
    if (model.averaged() == nullptr || model.averaged()->window != window) {
        return false;
    }
    const auto count = static_cast<std::size_t>(model.recording().sampleCount);
    for (std::size_t c = 0; c < kChannelCount; ++c) {
        const SampleArray& shown = model.averaged()->values[c];
        if (!std::equal(shown.begin(), shown.begin() + count, expected->values[c].begin())) {
            return false;
        }
    }
    return true;
}

// Each change is told once, with what it changed; the average follows the box and the
// recording and nothing else, and the box at 1 shows the measured series.
TEST(ViewModel, TellsEachChangeOnceAndAveragesExactlyWhenTheBoxOrTheRecordingChanges) {
    GraphFixture f(3000);
    f.store->measured[kOxhb][7] = 0.9f;
    Heard heard(f.model);
    f.model.setAverageWindow(4);
    EXPECT_EQ(heard.take(), std::vector<unsigned>{kSeriesChanged});
    EXPECT_TRUE(sameAverage(f.model, 4));
    EXPECT_NE(&f.model.shownSeries(kOxhb), &f.store->measured[kOxhb]);
    f.model.setAverageWindow(4);
    f.model.setZoomIndex(3);
    f.model.showRange({100, 1000});
    f.model.showRange({100, 1000});
    f.model.setTraceShown(kOxhb, true);
    f.view.verticalOffset = 12.0f;
    f.model.commitView();
    f.model.commitView();
    EXPECT_EQ(heard.take(),
              (std::vector<unsigned>{kZoomChanged, kRangeChanged, kTracesChanged, kRangeChanged}));

    GraphFixture other(500);
    other.store->measured[kOxhb].fill(0.4f);
    f.model.setRecording(other.store);
    EXPECT_EQ(heard.take(), std::vector<unsigned>{kRecordingChanged | kSeriesChanged |
                                                  kRangeChanged | kMarkersChanged});
    EXPECT_TRUE(sameAverage(f.model, 4));
    EXPECT_EQ(std::tuple(f.view.viewStart, f.view.viewEnd), std::tuple(0, 500));
    f.model.setAverageWindow(0);
    EXPECT_EQ(f.model.averaged(), nullptr);
    EXPECT_EQ(&f.model.shownSeries(kOxhb), &other.store->measured[kOxhb]);
}

// Two models over two recordings, and two over one shared recording, keep their own settings
// and ranges and tell only their own observers.
TEST(ViewModel, ModelsKeepTheirOwnStateAndObserversOverOneOrTwoRecordings) {
    GraphFixture a(3000);
    GraphFixture b(1200);
    Heard heardA(a.model);
    Heard heardB(b.model);
    a.model.setAverageWindow(2);
    b.model.setZoomIndex(4);
    a.model.showRange({1000, 1900});
    EXPECT_EQ(heardB.take(), std::vector<unsigned>{kZoomChanged});
    EXPECT_EQ(heardA.take(), (std::vector<unsigned>{kSeriesChanged, kRangeChanged}));
    EXPECT_EQ(std::tuple(b.model.averaged(), b.view.viewStart, b.model.zoomIndex()),
              std::tuple(nullptr, 0, 4));

    b.model.setRecording(a.store);
    EXPECT_EQ(&a.model.recording(), &b.model.recording());
    EXPECT_EQ(std::tuple(a.view.viewStart, b.view.viewStart), std::tuple(1000, 0));
    EXPECT_EQ(std::tuple(a.model.zoomIndex(), b.model.averaged()), std::tuple(1, nullptr));
    EXPECT_TRUE(heardA.take().empty());

    // A subscription hears until it is replaced or goes; a moved one hears in its new place.
    int heard = 0;
    Subscription kept(a.model, [&heard](unsigned) { ++heard; });
    Subscription moved = std::move(kept);
    a.model.setZoomIndex(2);
    moved = Subscription(b.model, [&heard](unsigned) { heard += 10; });
    a.model.setZoomIndex(3);
    b.model.setZoomIndex(2);
    { const Subscription gone = std::move(moved); }
    b.model.setZoomIndex(3);
    EXPECT_EQ(heard, 11);
}

std::vector<std::int32_t> edges(const Desaturations& found) {
    std::vector<std::int32_t> out;
    for (const DesaturationEvent& event : found.events) {
        out.insert(out.end(), {event.start, event.end});
    }
    return out;
}

// The events follow the effective threshold and the series shown; a measured baseline is
// measured again in the averaged series; a new recording drops the selection and the baseline.
TEST(ViewModel, SelectionBaselineAndEventsFollowTheirSettingsAndTheSeries) {
    GraphFixture f(3000);
    std::fill_n(&f.store->measured[kRso2][1000], 100, 52.0f);
    std::fill_n(&f.store->measured[kRso2][2000], 29, 40.0f);  // a slot short of 15 s
    Heard heard(f.model);
    f.model.setAbsoluteThreshold(kDefaultRso2Threshold);
    EXPECT_TRUE(heard.take().empty());
    EXPECT_TRUE(f.model.desaturations().events.empty());

    f.model.setBaseline(firstMinutesBaseline(*f.store, nullptr, 1));
    EXPECT_EQ(f.model.review().effectiveThreshold(), 56.0);
    EXPECT_EQ(edges(f.model.desaturations()), (std::vector{1000, 1100}));
    f.model.setAverageWindow(40);
    const Baseline averagedBaseline =
        *measureBaseline(*f.store, f.model.averaged(), BaselineMethod::kFirstMinutes, 0, 120);
    EXPECT_EQ(f.model.review().baseline->value, averagedBaseline.value);
    const double effective = f.model.review().effectiveThreshold();
    EXPECT_EQ(edges(f.model.desaturations()),
              edges(findDesaturations(*f.store, f.model.averaged(), 0, 3000, effective, 15.0)));
    f.model.setDropPercent(40.0);
    EXPECT_EQ(f.model.review().effectiveThreshold(), kDefaultRso2Threshold);
    EXPECT_EQ(heard.take(), (std::vector<unsigned>{kReviewChanged | kEditedByUser, kSeriesChanged,
                                                   kReviewChanged}));

    f.model.setSelection({10, 20});
    f.model.setSelection({10, 20});
    EXPECT_EQ(f.model.reviewedSpan(), (SlotSpan{10, 20}));
    f.model.setSelection({30, 30});
    EXPECT_EQ(f.model.reviewedSpan(), (SlotSpan{0, 900})) << "none: the visible range";
    f.model.setSelection({40, 50});
    EXPECT_EQ(heard.take(),
              (std::vector<unsigned>{kSelectionChanged, kSelectionChanged, kSelectionChanged}));
    GraphFixture other(500);
    f.model.setRecording(other.store);
    EXPECT_TRUE(f.model.selection().empty());
    EXPECT_FALSE(f.model.review().baseline);
}

// Adding, changing and removing markers are each one step back and forth; a new edit drops
// what was left to redo, and what is read back with a recording is no edit at all.
TEST(ViewModel, MarkerEditsUndoAndRedoOneAtATime) {
    GraphFixture f(3000);
    Heard heard(f.model);
    EXPECT_EQ(f.model.addMarker({500, 0, "執刀開始"}), 0u);
    EXPECT_EQ(f.model.addMarker({100, 0, "麻酔導入"}), 0u);
    EXPECT_EQ(f.model.addMarker({500, 0, "大動脈遮断"}), 2u) << "after the one at its slot";
    EXPECT_EQ(f.model.replaceMarker(0, {900, 40, "麻酔導入"}), 2u) << "moved past the others";
    f.model.removeMarker(0);
    f.model.removeMarker(7);
    const Markers last{{500, 0, "大動脈遮断"}, {900, 40, "麻酔導入"}};
    EXPECT_EQ(f.model.markers(), last);
    EXPECT_EQ(heard.take(), std::vector<unsigned>(5, kMarkersChanged | kEditedByUser));

    const std::vector<Markers> steps{
        {},
        {{500, 0, "執刀開始"}},
        {{100, 0, "麻酔導入"}, {500, 0, "執刀開始"}},
        {{100, 0, "麻酔導入"}, {500, 0, "執刀開始"}, {500, 0, "大動脈遮断"}},
        {{500, 0, "執刀開始"}, {500, 0, "大動脈遮断"}, {900, 40, "麻酔導入"}},
        last};
    for (std::size_t back = steps.size() - 1; back-- > 0;) {
        f.model.undoMarkerEdit();
        EXPECT_EQ(f.model.markers(), steps[back]) << back;
    }
    EXPECT_FALSE(f.model.canUndoMarkerEdit());
    f.model.undoMarkerEdit();
    f.model.redoMarkerEdit();
    f.model.redoMarkerEdit();
    EXPECT_EQ(f.model.markers(), steps[2]);
    f.model.addMarker({2000, 0, "手術終了"});
    EXPECT_FALSE(f.model.canRedoMarkerEdit());
    f.model.undoMarkerEdit();
    EXPECT_EQ(f.model.markers(), steps[2]);
    heard.take();

    f.model.restoreKept({{10, 0, "a"}}, Baseline{70.0});
    EXPECT_EQ(heard.take(), std::vector<unsigned>{kMarkersChanged | kReviewChanged});
    EXPECT_FALSE(f.model.canUndoMarkerEdit());
    EXPECT_FALSE(f.model.canRedoMarkerEdit());
    EXPECT_EQ(f.model.review().effectiveThreshold(), 56.0);
    GraphFixture other(500);
    f.model.setRecording(other.store);
    EXPECT_TRUE(f.model.markers().empty());
}

// The name shown on the page: at most 255 bytes, cut where no character is split.
TEST(ViewModel, FileNameIsCutAtAWholeCharacter) {
    ViewModel model;
    for (const auto& [prefix, kept] : {std::pair{"", 255u}, {"a", 253u}}) {
        std::string name = prefix;
        for (int i = 0; i < 100; ++i) {
            name += "測";  // three bytes each
        }
        model.setFileName(name);
        EXPECT_EQ(model.fileName(), name.substr(0, kept));
    }
}

}  // namespace
}  // namespace nuvisca::test
