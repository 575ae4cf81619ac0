#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

#include "formats/CsvTestSupport.h"
#include "formats/CsvWriter.h"
#include "formats/EdfReadBack.h"
#include "store/MovingAverage.h"

namespace nuvisca {
namespace {

using namespace test;

ReadBack exported(const Recording& store, EdfFlavour flavour,
                  const AveragedSeries* series = nullptr, const Markers* markers = nullptr,
                  std::uintmax_t* size = nullptr) {
    const TempDir dir;
    const EdfResult result = saveEdfExport(dir.file("out.edf"), store, series, flavour, markers);
    EXPECT_TRUE(result.ok) << result.error;
    if (size != nullptr) {
        *size = std::filesystem::file_size(dir.file("out.edf"));
    }
    return ReadBack(dir.file("out.edf"));
}

// From 10:20:30 on (tag 37230) unless slot 0 gets a tag; slot i's oxHb is i + 1, so each step
// of the file tells which slot it holds. A duration of -2 means none.
TEST(EdfExportTest, SlotsLieOnOneContinuousTimelineWithItsGapsMarked) {
    struct Case {
        std::vector<std::pair<std::size_t, std::uint64_t>> tags;
        std::vector<long long> steps;  // of each slot; -1: the slot has no value
        Annotations annotations;
    };
    // clang-format off
    const Case cases[] = {
        {{}, {0, 1, -1, -1, 4, -1, -1, -1, 8}, {{"no data", 5, 3}}},  // 1 s, 1.5 s
        {{{2, 37240}}, {0, 1, 20, 21}, {{"no data", 2, 18}, {"restart", 20, -2}}},  // a pause
        {{{0, 86390}, {2, 5}}, {0, 1, 30}, {{"no data", 2, 28}, {"restart", 30, -2}}},  // midnight
        // restarts earlier than the slot before, more of them than records
        {{{1, 37230}, {2, 37230}, {3, 37230}}, {0, 1, 2, 3},
         {{"restart", 1, -2}, {"restart", 2, -2}, {"restart", 3, -2}}},
        {{{0, continuationTag}, {2, 37232}}, {0, 1, 4}, {{"restart", 4, -2}}},  // the header's start
    };
    // clang-format on
    for (const Case& c : cases) {
        auto store = makeRecording(static_cast<std::int32_t>(c.steps.size()));
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            const float v = c.steps[i] < 0 ? -1.0f : static_cast<float>(i + 1);
            setSample(*store, i, store->sampleTime[i], v, v, v, v);
        }
        for (const auto& [slot, tag] : c.tags) {
            store->sampleTime[slot] = tag;
        }
        const ReadBack file = exported(*store, EdfFlavour::Edf);
        const auto& h = file.header;
        EXPECT_EQ(h.starttime_hour * 3600 + h.starttime_minute * 60 + h.starttime_second,
                  store->sampleTime[0] == continuationTag ? 37230u : store->sampleTime[0]);
        std::vector<long long> steps(c.steps.size(), -1);
        for (std::size_t t = 0; t < file.physical[1].size(); ++t) {
            if (file.digital[1][t] != -32768) {
                steps.at(static_cast<std::size_t>(std::lround(file.physical[1][t]) - 1)) =
                    static_cast<long long>(t);
            }
        }
        EXPECT_EQ(file.physical[1].size(), static_cast<std::size_t>(c.steps.back() / 2 * 2 + 2));
        EXPECT_EQ(steps, c.steps);
        EXPECT_EQ(file.annotations, c.annotations);
    }
}

// Markers are annotations on the same timeline, with their duration cut at the end of the
// recording, after the restart and the gap at their onset; those outside are left out.
TEST(EdfExportTest, MarkersBecomeAnnotationsAfterThoseAtTheirOnset) {
    auto store = makeRecording(40);
    store->sampleTime[0] = 86390;
    store->sampleTime[20] = 20;  // 30 s later, past midnight: step 60
    for (std::size_t i = 24; i < 30; ++i) {
        putSample(*store, i, {-1.0f, -1.0f, -1.0f, -1.0f});
    }
    const Markers markers = {{0, 0, "開始"},        {5, 10, "clamp"},    {20, 0, "after restart"},
                             {24, 0, "in the gap"}, {30, 100, "to end"}, {40, 0, "outside"}};
    for (const EdfFlavour flavour : {EdfFlavour::Edf, EdfFlavour::Bdf}) {
        EXPECT_EQ(exported(*store, flavour, nullptr, &markers).annotations,
                  (Annotations{{"開始", 0, -2},
                               {"clamp", 5, 10},
                               {"no data", 20, 40},
                               {"restart", 60, -2},
                               {"after restart", 60, -2},
                               {"no data", 64, 6},
                               {"in the gap", 64, -2},
                               {"to end", 70, 10}}));
    }
}

// Markers crowded into one second at either end of a recording, with labels of the longest
// UTF-8, all come back in order, and the file grows by about their bytes, not by their bytes in
// every record.
TEST(EdfExportTest, CrowdedMarkersSpreadOverTheRecords) {
    auto store = makeRecording(1200);
    store->sampleTime[600] = 37230 + 600;  // a restart, step 1200
    std::string label;
    while (label.size() + 3 <= kMarkerLabelBytes) {
        label += "あ";
    }
    for (const std::int32_t at : {0, 1199}) {
        Markers markers;
        Annotations expected;
        for (std::int32_t k = 0; k < static_cast<std::int32_t>(kMarkerLimit); ++k) {
            const std::int32_t slot = at + (at == 0 ? k % 2 : -(k % 2));
            const std::string text = label.substr(0, label.size() - 3) + std::to_string(k % 10);
            insertMarker(markers, {slot, k % 3, text});
        }
        for (const Marker& m : markers) {
            const long long end = std::min<long long>(m.endSlot(), 1200);
            expected.emplace_back(m.label, m.slot + (m.slot >= 600 ? 600 : 0),
                                  m.durationSlots > 0 ? end - m.slot : -2);
        }
        expected.insert(at == 0 ? expected.end() : expected.begin(),
                        {{"no data", 600, 600}, {"restart", 1200, -2}});
        std::uintmax_t size = 0;
        const ReadBack file = exported(*store, EdfFlavour::Edf, nullptr, &markers, &size);
        ASSERT_EQ(file.annotations.size(), expected.size());
        const auto [wrong, _] =
            std::mismatch(expected.begin(), expected.end(), file.annotations.begin());
        EXPECT_EQ(wrong - expected.begin(), expected.end() - expected.begin()) << at;
        EXPECT_EQ(file.header.datarecords_in_file, 900);
        // header, samples, a small block in every record, and the markers' own bytes twice
        EXPECT_LT(size, 256u * 6 + 900u * (16 * 2 + 256) + kMarkerLimit * 150 * 2) << at;
    }
}

// The file starts on slot 0's day: a header written just before midnight with slot 0 after it
// starts the next day, and the reverse the day before; 12 hours apart is still the same day.
TEST(EdfExportTest, StartsOnTheDayOfSlotZero) {
    // header year, month, day, start time; slot 0's time; the file's year, month, day
    // clang-format off
    const std::array<int, 8> cases[] = {
        {14, 12, 31, 86399, 0, 2015, 1, 1}, {15, 1, 1, 5, 86390, 2014, 12, 31},
        {14, 3, 1, 10, 86000, 2014, 2, 28}, {16, 2, 29, 80000, 100, 2016, 3, 1},
        {14, 5, 12, 37230, 37230 + 43200, 2014, 5, 12}, {14, 5, 12, 50000, 6800, 2014, 5, 12}};
    // clang-format on
    for (const auto& [year, month, day, header, first, fileYear, fileMonth, fileDay] : cases) {
        auto store = makeRecording(4);
        std::tie(store->startYear, store->startMonth, store->startDay) =
            std::tuple(year, month, day);
        std::tie(store->startHour, store->startMinute, store->startSecond) =
            std::tuple(header / 3600, header / 60 % 60, header % 60);
        store->sampleTime[0] = static_cast<std::uint64_t>(first);
        const edf_hdr_struct& h = exported(*store, EdfFlavour::Edf).header;
        EXPECT_EQ(std::tuple(h.startdate_year, h.startdate_month, h.startdate_day),
                  std::tuple(fileYear, fileMonth, fileDay))
            << header << " " << first;
    }
}

// Random values and every kind of missing one, measured and averaged, in both widths, as
// four 2 Hz signals: a value never decodes to the digital minimum and lies within half a step
// of its original, and the step is as fine as the sample width allows.
TEST(EdfExportTest, ValuesDecodeWithinHalfAStepAndNoValueIsTheDigitalMinimum) {
    const char* const kLabels[] = {"rSO2", "oxHb", "dxHb", "toHb"};
    std::mt19937 random(7);
    std::uniform_real_distribution<float> rso2(40.0f, 95.0f), index(0.0f, 0.9f);
    const float odd[] = {0.01f, 0.0101f, -1.0f, kNaN, kInf};
    auto store = makeRecording(5000);
    for (std::size_t i = 0; i < 5000; ++i) {
        const auto pick = [&](float value) {
            return random() % 9 == 0 ? odd[random() % 5] : value;
        };
        // toHb in a band narrower than what 8 header characters resolve so far from zero
        setSample(*store, i, store->sampleTime[i], pick(rso2(random)), pick(index(random)),
                  pick(index(random)), pick(random() % 2 ? 99999.0f : 99999.0078125f));
    }
    auto average = std::make_unique<AveragedSeries>();
    computeMovingAverage(*store, 3, *average);
    for (const EdfFlavour flavour : {EdfFlavour::Edf, EdfFlavour::Bdf}) {
        for (const AveragedSeries* series :
             {static_cast<AveragedSeries*>(nullptr), average.get()}) {
            const ReadBack file = exported(*store, flavour, series);
            const auto& values = series == nullptr ? store->measured : series->values;
            const edf_hdr_struct& h = file.header;
            const bool edf = flavour == EdfFlavour::Edf;
            EXPECT_EQ(std::tuple(h.filetype, h.edfsignals, h.datarecord_duration,
                                 std::string(h.equipment)),
                      std::tuple(edf ? EDFLIB_FILETYPE_EDFPLUS : EDFLIB_FILETYPE_BDFPLUS, 4,
                                 EDFLIB_TIME_DIMENSION, std::string("0123456789012")));
            for (std::size_t s = 0; s < kEdfSignalCount; ++s) {
                const edf_param_struct& p = h.signalparam[s];
                EXPECT_EQ(std::tuple(std::string(p.label, 4), p.smp_in_datarecord, p.dig_min,
                                     std::string(p.prefilter, 16)),
                          std::tuple(std::string(kLabels[s]), 2, edf ? -32768 : -8388608,
                                     series != nullptr ? std::string("moving average 4")
                                                       : std::string(16, ' ')));
                const double step = (p.phys_max - p.phys_min) / (p.dig_max - p.dig_min);
                double lowest = 1e9, highest = -1e9;
                for (std::size_t i = 0; i < 5000; ++i) {
                    const float v = values[kEdfSignalChannels[s]][i];
                    const bool has = std::isfinite(v) && v >= 0.0f &&
                                     (s != 0 || store->measured[kRso2][i] > 0.01);
                    ASSERT_EQ(file.digital[s][i] == p.dig_min, !has) << s << " " << i;
                    if (has) {
                        EXPECT_LE(std::fabs(file.physical[s][i] - v), step * 0.500001) << i;
                        lowest = std::min(lowest, double{v});
                        highest = std::max(highest, double{v});
                    }
                }
                EXPECT_TRUE(s == 3 ||
                            step < (highest - lowest) / (p.dig_max - p.dig_min - 1) * 1.001);
            }
        }
    }
}

// A refusal names its reason in one line and leaves the file that bore the name as it was.
TEST(EdfExportTest, RefusalsSayWhy) {
    using S = Recording;
    // clang-format off
    const std::pair<const char*, std::function<void(S&)>> cases[] = {
        {"no samples", [](S& s) { s.sampleCount = 0; }},
        {"not a calendar date", [](S& s) { s.startMonth = 13; }},
        {"not a calendar date", [](S& s) { s.startYear = 23, s.startMonth = 2, s.startDay = 29; }},
        {"1985-2084", [](S& s) { s.startYear = 85; }},
        {"1985-2084", [](S& s) { s.startYear = -16; }},
        {"2085", [](S& s) { s.startYear = 84, s.startMonth = 12, s.startDay = 31, s.startHour = 23; }},
        {"not a time of day", [](S& s) { s.sampleTime[0] = 86400; }},
        {"not a time of day", [](S& s) { s.sampleTime[0] = continuationTag, s.startMinute = 60; }},
        {"too large", [](S& s) { s.measured[kTohb][1] = 1e7f; }},
    };
    // clang-format on
    const TempDir dir;
    const auto old = dir.file("old.edf");
    writeText(old, "keep");
    for (const auto& [reason, change] : cases) {
        auto store = makeRecording(4);
        change(*store);
        const EdfResult result = saveEdfExport(old, *store, nullptr, EdfFlavour::Bdf, nullptr);
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.error.find(reason), std::string::npos) << result.error;
        EXPECT_EQ(result.error.find('\n'), std::string::npos);
    }
    EXPECT_EQ(readBytes(old), "keep");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// An export replaces what bore the name whole, or fails (no room, the disk refusing bytes) and
// leaves it as it was and nothing else behind. Both formats write through the same
// replacement, so the EDF+ writer is only checked to pass its failures on.
TEST(ExportSaveTest, ReplacesWholeOrLeavesEverythingAsItWas) {
    const auto store = makeRecording(kSampleCapacity);
    const AveragedSeries* m = nullptr;  // the measured series
    const auto save = [&](const std::filesystem::path& to) { return saveCsvExport(to, *store, m); };
    const TempDir dir;
    const auto old = dir.file("old");
    writeText(old, std::string(100000, 'x'));
    ASSERT_TRUE(save(old));
    EXPECT_EQ(readBytes(old), formatCsvExport(*store, m));
    ASSERT_TRUE(saveEdfExport(dir.file("full.bdf"), *store, m, EdfFlavour::Bdf, nullptr).ok);
    EXPECT_EQ(ReadBack(dir.file("full.bdf")).header.datarecords_in_file, kSampleCapacity / 2);
    writeText(old, "keep");
    EXPECT_FALSE(save(old / "out"));
    EXPECT_FALSE(save(dir.file(std::string(256, 'n'))));  // a name past the limit
    std::filesystem::create_directories(dir.file("taken") / "inside");
    EXPECT_FALSE(save(dir.file("taken")));
    for (const rlim_t bytes : {1000u, 100000u, 500000u}) {
        EXPECT_TRUE(failsPastFileSize(bytes, [&] { return save(old); })) << bytes;
    }
    EXPECT_FALSE(saveEdfExport(old / "out", *store, m, EdfFlavour::Bdf, nullptr).ok);
    EXPECT_EQ(readBytes(old), "keep");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);
}

}  // namespace
}  // namespace nuvisca
