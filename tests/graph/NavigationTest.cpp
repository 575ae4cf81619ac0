#include <gtest/gtest.h>

#include <cmath>

#include "formats/CsvWriter.h"
#include "graph/GraphFixtures.h"
#include "graph/GraphLayout.h"
#include "graph/Overview.h"
#include "graph/RangeNavigation.h"
#include "graph/Readout.h"

namespace nuvisca::test {
namespace {

// 5000 slots in a view 1000 wide: viewSpan 900, the whole recording about 5.6 ranges.
struct Navigation : GraphFixture {
    Navigation() : GraphFixture(5000) { settleView(view, 1, {1000.0f, 600.0f}); }
    VisibleRange range() const { return {view.viewStart, view.viewEnd}; }
};

TEST(NavigationTest, WheelZoomKeepsTheSlotUnderTheCursorWithinTheLimits) {
    // The cursor's x, the factor, and the range zoomed.
    for (const auto& [x, factor, from] : {std::tuple(500.0f, 1.25, VisibleRange{1000, 1900}),
                                          {120.0f, 4.0, {1000, 1900}},
                                          {900.0f, 0.8, {1000, 2500}},
                                          {300.0f, 0.5, {0, 3000}}}) {
        Navigation n;
        applyRange(n.view, from);
        const double before = slotAtX(n.view, *n.store, x);
        applyRange(n.view, zoomedRange(n.view, *n.store, x, factor));
        const std::int64_t length = std::int64_t{n.view.viewEnd} - n.view.viewStart;
        EXPECT_NEAR(slotAtX(n.view, *n.store, x), before, 1.0) << x << ' ' << factor;
        EXPECT_EQ(length, std::llround((from.end - from.start) * factor)) << x;
    }
    // The length's limits are the zoom keys' cases.
    Navigation n;
    applyRange(n.view, zoomedRange(n.view, *n.store, 900.0f, 2.0));
    EXPECT_EQ(n.range(), (VisibleRange{0, 1800})) << "held after the start";
    applyRange(n.view, {4099, 4999});
    applyRange(n.view, zoomedRange(n.view, *n.store, 100.0f, 2.0));
    EXPECT_EQ(n.range(), (VisibleRange{3199, 4999})) << "held before the end";
}

TEST(NavigationTest, KeysStopAtBothEnds) {
    using K = NavigationKey;
    using Case = std::tuple<VisibleRange, K, VisibleRange, bool>;  // from, key, to, changed
    // clang-format off
    const Case cases[] = {
        {{0, 900}, K::kBack, {0, 900}, false}, {{0, 900}, K::kToStart, {0, 900}, false},
        {{0, 900}, K::kPageBack, {0, 900}, false}, {{0, 900}, K::kForward, {90, 990}, true},
        {{0, 900}, K::kPageForward, {900, 1800}, true}, {{0, 900}, K::kToEnd, {4099, 4999}, true},
        {{4099, 4999}, K::kForward, {4099, 4999}, false}, {{4099, 4999}, K::kPageForward, {4099, 4999}, false},
        {{4050, 4950}, K::kPageForward, {4099, 4999}, true}, {{4099, 4999}, K::kBack, {4009, 4909}, true},
        {{2000, 3000}, K::kZoomOut, {1875, 3125}, true}, {{2000, 2900}, K::kZoomIn, {2000, 2900}, false},
        {{2000, 2900}, K::kWholeRecording, {0, 5000}, true}};
    // clang-format on
    for (const auto& [from, key, to, changed] : cases) {
        Navigation n;
        applyRange(n.view, from);
        EXPECT_EQ(navigate(n.view, *n.store, n.model.zoomIndex(), key), changed)
            << static_cast<int>(key);
        EXPECT_EQ(n.range(), to) << static_cast<int>(key) << " from " << from.start;
    }
}

TEST(NavigationTest, VerticalKeysScrollWithinTheZoomsReachAndNothingMovesDuringAPress) {
    Navigation n;
    EXPECT_FALSE(navigate(n.view, *n.store, n.model.zoomIndex(), NavigationKey::kTracesDown))
        << "1x cannot scroll";
    n.model.setZoomIndex(2);  // reach: one plot height, 528
    EXPECT_TRUE(navigate(n.view, *n.store, n.model.zoomIndex(), NavigationKey::kTracesDown));
    EXPECT_EQ(n.view.verticalOffset, 52.0f);
    n.view.mouseDownInPlot = true;
    EXPECT_FALSE(navigate(n.view, *n.store, n.model.zoomIndex(), NavigationKey::kTracesUp));
}

TEST(NavigationTest, OverviewClickCentresAndDragMovesTheBox) {
    Navigation n;  // a strip 500 wide: 10 slots a point, the box over 0 .. 90
    const OverviewScale scale = overviewScale(*n.store, 500.0);
    // Where the strip is pressed and released, and the range that gives.
    for (const auto& [press, release, to] : {std::tuple(250.0, 250.0, VisibleRange{2050, 2950}),
                                             {45.0, 45.0, {0, 900}},
                                             {20.0, 145.0, {1250, 2150}},
                                             {80.0, 495.0, {4099, 4999}},
                                             {300.0, -40.0, {0, 900}}}) {
        Navigation m;
        const OverviewGrab grab = grabOverview(m.view, scale, press);
        EXPECT_EQ(overviewRange(m.view, *m.store, scale, grab, release), to) << press;
    }
    applyRange(n.view, {4099, 4999});
    const OverviewBox box = overviewBox(n.view, scale);
    EXPECT_DOUBLE_EQ(box.left, 409.9);
    EXPECT_DOUBLE_EQ(box.right, 499.9);
}

TEST(NavigationTest, OverviewColumnsSpanTheirSlotsAndSkipGaps) {
    Navigation n;
    n.store->measured[kRso2][10] = 40.0f;
    n.store->measured[kRso2][11] = 90.0f;
    n.store->measured[kRso2][20] = 0.01f;  // no value, as the drawing decides
    n.store->measured[kRso2][21] = noDataValue;
    n.store->sampleCount = 30;
    const auto columns = overviewColumns(n.model, kRso2, 3);
    EXPECT_FLOAT_EQ(columns[1].low, 0.4f);
    EXPECT_FLOAT_EQ(columns[1].high, 0.9f);
    EXPECT_FLOAT_EQ(columns[2].low, 0.7f);
    const auto narrow = overviewColumns(n.model, kRso2, 60);  // half a slot a column
    EXPECT_FLOAT_EQ(narrow[22].low, 0.9f);
    EXPECT_FLOAT_EQ(narrow[23].high, 0.9f);
    EXPECT_FALSE(narrow[40].hasValue || narrow[42].hasValue);
    n.restart(12, clockTag(11, 0, 0));
    EXPECT_EQ(restartSlots(*n.store), (std::vector<std::int32_t>{12}));
}

TEST(NavigationTest, ReadoutCountsTimeAsTheAxisAcrossRestartsMidnightAndGaps) {
    Navigation n;
    n.restart(100, clockTag(11, 0, 0));
    n.store->measured[kRso2][103] = noDataValue;
    n.store->measured[kTohb][103] = noDataValue;
    // The slot, then its clock and the texts of the traces shown.
    for (const auto& [slot, clock, rso2, tohb] :
         {std::tuple(99, "10:00:49", "rSO2 70.0 %", "toHb 0.500"),
          {100, "11:00:00", "rSO2 70.0 %", "toHb 0.500"},
          {103, "11:00:01", "rSO2 \u2014", "toHb \u2014"}}) {
        const Readout r = readoutAt(n.model, n.view.traceShown, slot);
        ASSERT_EQ(r.traces.size(), 2u);
        EXPECT_EQ(std::tuple(r.clock, r.traces[0].text, r.traces[1].text),
                  std::tuple(clock, rso2, tohb))
            << slot;
    }

    Navigation late;  // begun at 23:59:50, restarted after midnight at 00:10:00
    late.store->sampleTime[0] = clockTag(23, 59, 50);
    late.restart(200, clockTag(0, 10, 0));
    EXPECT_EQ(readoutAt(late.model, late.view.traceShown, 203).clock, "24:10:01")
        << "as the time axis counts it";
    // The elapsed time is the export's 経過時間 with the half second the export leaves out,
    // counted from slot 0's time and re-synchronised by the restart, not by counting slots.
    const std::string csv = formatCsvExport(*late.store, nullptr);
    const auto exported = [&csv](std::int32_t slot) {
        std::size_t line = 0;
        for (std::int32_t k = 0; k < slot + 3; ++k) {
            line = csv.find('\n', line) + 1;
        }
        return csv.substr(line + 9, 8);
    };
    EXPECT_EQ(std::tuple(readoutAt(late.model, {}, 203).elapsed, exported(203)),
              std::tuple("+0:10:11.5", "00:10:11"));
    for (const std::int32_t slot : {0, 1, 199, 200, 201, 4999}) {
        const std::string shown = readoutAt(late.model, {}, slot).elapsed;
        EXPECT_EQ(std::string("0").append(shown, 1, shown.size() - 3), exported(slot)) << slot;
    }

    // Slot 6 averages with slot 7 only: slot 5 has no haemoglobin, and so no average at all.
    late.store->measured[kOxhb][5] = noDataValue;
    late.store->measured[kRso2][7] = 66.5f;
    late.model.setAverageWindow(1);
    const Readout averaged = readoutAt(late.model, {true, false, true, true}, 6);
    EXPECT_EQ(averaged.traces.size(), 3u);
    EXPECT_EQ(averaged.traces[0].text, "rSO2 68.2 % (70.0 %)");
    EXPECT_EQ(readoutAt(late.model, {false, false, true, false}, 5).traces[0].text,
              "toHb \u2014 (0.500)");
}

TEST(NavigationTest, SlotUnderTheCursorIsTheNearestDrawnSlot) {
    Navigation n;
    applyRange(n.view, {1000, 1900});
    const GraphLayout layout = layoutGraph(n.model, n.view);
    EXPECT_EQ(slotUnder(layout, *n.store, layout.slotX(1234)), 1234);
    EXPECT_EQ(slotUnder(layout, *n.store, layout.slotX(1234) + 0.4f * layout.step), 1234);
    EXPECT_EQ(slotUnder(layout, *n.store, layout.slotX(1234) + 0.6f * layout.step), 1235);
    EXPECT_EQ(slotUnder(layout, *n.store, 5.0f), std::nullopt);
    EXPECT_EQ(slotUnder(layout, *n.store, layout.slotX(layout.last)), std::nullopt) << "not drawn";
    EXPECT_EQ(slotUnder(layout, *n.store, 995.0f), std::nullopt);
}

}  // namespace
}  // namespace nuvisca::test
