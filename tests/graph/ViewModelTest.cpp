#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "graph/GraphFixtures.h"
#include "graph/ViewModel.h"

namespace nuvisca::test {
namespace {

// Every announcement, as the flags it carried.
struct Heard {
    std::vector<unsigned> changes;
    explicit Heard(ViewModel& model) {
        model.subscribe([this](unsigned change) { changes.push_back(change); });
    }
    std::vector<unsigned> take() { return std::exchange(changes, {}); }
};

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
    EXPECT_EQ(heard.take(),
              std::vector<unsigned>{kRecordingChanged | kSeriesChanged | kRangeChanged});
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
