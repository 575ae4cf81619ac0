#include <gtest/gtest.h>

#include "GraphFixtures.h"
#include "graph/MarkerEntry.h"

namespace nuvisca::test {
namespace {

TEST(MarkerDuration, SecondsOrMinutesAndSecondsToTheNearestSlot) {
    const std::pair<const char*, std::optional<std::int32_t>> cases[] = {{"", 0},
                                                                         {"  ", 0},
                                                                         {"90", 180},
                                                                         {" 12.5 ", 25},
                                                                         {"12.3", 25},
                                                                         {"0.2", 0},
                                                                         {"1:30", 180},
                                                                         {"1:30.5", 181},
                                                                         {"60:00", 7200},
                                                                         {"0:05", 10},
                                                                         {"1:3", std::nullopt},
                                                                         {"1:60", std::nullopt},
                                                                         {"1.5:00", std::nullopt},
                                                                         {":30", std::nullopt},
                                                                         {"1:", std::nullopt},
                                                                         {"-5", std::nullopt},
                                                                         {"5s", std::nullopt},
                                                                         {"1:30:00", std::nullopt},
                                                                         {"12.", std::nullopt},
                                                                         {"99999999", std::nullopt},
                                                                         {"640:01", std::nullopt}};
    for (const auto& [text, slots] : cases) {
        EXPECT_EQ(parseDurationSlots(text), slots) << text;
    }
    for (std::int32_t slots : {0, 1, 2, 119, 120, 121, 181, 1200, 76800}) {
        EXPECT_EQ(parseDurationSlots(formatDurationEntry(slots)), slots)
            << formatDurationEntry(slots);
    }
    EXPECT_EQ(formatDurationEntry(121), "1:00.5");
    EXPECT_EQ(formatDurationEntry(119), "59.5");
}

// 23:59:00 onwards, restarted at 00:05:00 (counted 24:05:00) at slot 240.
struct NightFixture : GraphFixture {
    NightFixture() : GraphFixture(3240, clockTag(23, 59, 0)) { restart(240, clockTag(0, 5, 0)); }
};

TEST(MarkerEntryFields, TheClockMovesTheMarkerAndAnUnchangedOneKeepsItsHalfSecond) {
    NightFixture night;
    const Recording& recording = *night.store;
    const Marker before{121, 4, "遮断解除"};
    const MarkerEntry shown = entryOf(recording, before);
    EXPECT_EQ(shown.clock, "24:00:00");
    EXPECT_EQ(shown.duration, "2");
    using Result = std::variant<Marker, MarkerEntryError>;
    const auto made = [&](std::string label, std::string clock, std::string duration) {
        return markerFromEntry(recording, {std::move(label), std::move(clock), std::move(duration)},
                               before);
    };
    EXPECT_EQ(made(shown.label, shown.clock, shown.duration), Result(before));
    EXPECT_EQ(made("a\tb ", " 24:00:00 ", ""), Result(Marker{121, 0, "a b"}));
    EXPECT_EQ(made("x", "24:00:01", ""), Result(Marker{122, 0, "x"}));
    EXPECT_EQ(made("x", "24:03", ""), Result(Marker{240, 0, "x"})) << "in the pause: the restart";
    EXPECT_EQ(made("x", "24:29:59", "1"), Result(Marker{3238, 2, "x"})) << "to the last slot";
    EXPECT_EQ(made("x", "24:29:59", "1.5"), Result(MarkerEntryError::kPastTheEnd));
    EXPECT_EQ(made(" \t", "24:00", ""), Result(MarkerEntryError::kNoLabel));
    EXPECT_EQ(made("x", "00:05", ""), Result(MarkerEntryError::kClockOutside));
    EXPECT_EQ(made("x", "24:5", ""), Result(MarkerEntryError::kUnreadableClock));
    EXPECT_EQ(made("x", "24:00:00", "abc"), Result(MarkerEntryError::kUnreadableDuration));
}

TEST(MarkerPhase, BetweenTwoMarkersOrFromOneToTheNextLaterOne) {
    const Markers markers{{100, 0, "a"}, {100, 0, "b"}, {400, 30, "c"}, {900, 0, "d"}};
    const std::pair<std::pair<std::size_t, std::optional<std::size_t>>, std::optional<SlotSpan>>
        cases[] = {{{0, 3}, SlotSpan{100, 900}},
                   {{3, 0}, SlotSpan{100, 900}},
                   {{0, std::nullopt}, SlotSpan{100, 400}},
                   {{1, std::nullopt}, SlotSpan{100, 400}},
                   {{3, std::nullopt}, SlotSpan{900, 1000}},
                   {{0, 1}, std::nullopt},
                   {{4, std::nullopt}, std::nullopt},
                   {{0, 4}, std::nullopt}};
    for (const auto& [chosen, span] : cases) {
        EXPECT_EQ(phaseBetween(markers, chosen.first, chosen.second, 1000), span) << chosen.first;
    }
    EXPECT_EQ(phaseBetween(markers, 3, std::nullopt, 900), std::nullopt) << "at the end";
}

}  // namespace
}  // namespace nuvisca::test
