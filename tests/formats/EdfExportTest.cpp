#include <edflib.h>
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <functional>
#include <limits>
#include <random>

#include "formats/CsvTestSupport.h"
#include "formats/EdfExport.h"
#include "formats/NvdReader.h"
#include "store/MovingAverage.h"

namespace nuvisca {
namespace {

using namespace test;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr EdfFlavour kFlavours[] = {EdfFlavour::Edf, EdfFlavour::Bdf};

// A file as edflib's own reader sees it; annotations as (onset, duration) in half-seconds.
struct ReadBack {
    edf_hdr_struct header{};
    std::array<std::vector<int>, kEdfSignalCount> digital;
    std::array<std::vector<double>, kEdfSignalCount> physical;
    std::vector<std::tuple<std::string, long long, long long>> annotations;

    explicit ReadBack(const std::filesystem::path& file) {
        EXPECT_EQ(edfopen_file_readonly(file.c_str(), &header, EDFLIB_READ_ALL_ANNOTATIONS), 0);
        for (std::size_t s = 0;
             s < std::min<std::size_t>(kEdfSignalCount,
                                       static_cast<std::size_t>(std::max(header.edfsignals, 0)));
             ++s) {
            const int n = static_cast<int>(header.signalparam[s].smp_in_file),
                      signal = static_cast<int>(s);
            digital[s].resize(static_cast<std::size_t>(n));
            physical[s].resize(static_cast<std::size_t>(n));
            edfread_digital_samples(header.handle, signal, n, digital[s].data());
            edfseek(header.handle, signal, 0, EDFSEEK_SET);
            edfread_physical_samples(header.handle, signal, n, physical[s].data());
        }
        for (int i = 0; i < header.annotations_in_file; ++i) {
            edf_annotation_struct a{};
            edf_get_annotation(header.handle, i, &a);
            annotations.emplace_back(a.annotation, a.onset / 5000000,
                                     a.duration_l < 0 ? -1 : a.duration_l / 5000000);
        }
        edfclose_file(header.handle);
    }
};

ReadBack exported(const MeasurementStore& store, EdfFlavour flavour,
                  ExportSeries series = ExportSeries::Measured) {
    const TempDir dir;
    const EdfResult result = saveEdfExport(dir.file("out.edf"), store, series, flavour);
    EXPECT_TRUE(result.ok) << result.error;
    return ReadBack(dir.file("out.edf"));
}

// Slot i's oxHb is i + 1, so each step of the file tells which slot it holds, if any.
struct TimelineCase {
    const char* name;
    std::int32_t count;
    std::function<void(MeasurementStore&)> change;
    std::vector<long long> steps;  // of each slot, -1 for one without a value
    std::vector<std::tuple<std::string, long long, long long>> annotations;
};

TEST(EdfExportTest, SlotsLieOnOneContinuousTimelineWithItsGapsMarked) {
    const auto restart = [](std::size_t slot, std::uint64_t tag) {
        return [=](MeasurementStore& s) { s.sampleTime[slot] = tag; };
    };
    const TimelineCase cases[] = {
        {"no value for 1 s, then for 1.5 s",
         9,
         [](MeasurementStore& s) {
             for (std::size_t k : {2u, 3u, 5u, 6u, 7u}) {
                 s.measured[kRso2][k] = s.measured[kOxhb][k] = s.measured[kDxhb][k] =
                     s.measured[kTohb][k] = noDataValue;
             }
         },
         {0, 1, -1, -1, 4, -1, -1, -1, 8},
         {{"no data", 5, 3}}},
        {"pause and restart 10 s on",
         4,
         restart(2, 37240),
         {0, 1, 20, 21},
         {{"no data", 2, 18}, {"restart", 20, -1}}},
        {"restart after midnight",
         3,
         [](MeasurementStore& s) { s.sampleTime[0] = 86390, s.sampleTime[2] = 5; },
         {0, 1, 30},
         {{"no data", 2, 28}, {"restart", 30, -1}}},
        {"restart earlier than the slot before",
         5,
         restart(3, 37230),
         {0, 1, 2, 3, 4},
         {{"restart", 3, -1}}},
        {"first slot without a time",
         3,
         [](MeasurementStore& s) { s.sampleTime[0] = continuationTag, s.sampleTime[2] = 37232; },
         {0, 1, 4},
         {{"restart", 4, -1}}},
    };
    for (const TimelineCase& c : cases) {
        auto store = makeRecording(c.count);
        for (std::size_t i = 0; i < static_cast<std::size_t>(c.count); ++i) {
            store->measured[kOxhb][i] = static_cast<float>(i + 1);
        }
        c.change(*store);
        const ReadBack file = exported(*store, EdfFlavour::Edf);
        EXPECT_EQ(file.header.starttime_hour * 3600 + file.header.starttime_minute * 60 +
                      file.header.starttime_second,
                  store->sampleTime[0] == continuationTag
                      ? 37230ll
                      : static_cast<long long>(store->sampleTime[0]));
        std::vector<long long> steps(static_cast<std::size_t>(c.count), -1);
        for (std::size_t t = 0; t < file.physical[1].size(); ++t) {
            if (file.digital[1][t] != -32768) {
                const auto slot = static_cast<std::size_t>(std::lround(file.physical[1][t]) - 1);
                ASSERT_LT(slot, steps.size());
                steps[slot] = static_cast<long long>(t);
            }
        }
        EXPECT_EQ(file.physical[1].size(), static_cast<std::size_t>(c.steps.back() / 2 * 2 + 2));
        EXPECT_EQ(steps, c.steps) << c.name;
        EXPECT_EQ(file.annotations, c.annotations) << c.name;
    }
}

// Random values and every kind of missing one, measured and averaged, in both widths: a
// value never decodes to the digital minimum and lies within half a step of its original,
// and the step is as fine as the sample width allows.
TEST(EdfExportTest, ValuesDecodeWithinHalfAStepAndNoValueIsTheDigitalMinimum) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> rso2(40.0f, 95.0f), index(0.0f, 0.9f);
    const float odd[] = {0.01f, 0.0101f, -1.0f, kNaN, std::numeric_limits<float>::infinity()};
    auto store = makeRecording(5000);
    for (std::size_t i = 0; i < 5000; ++i) {
        const auto pick = [&](float value) {
            return random() % 9 == 0 ? odd[random() % 5] : value;
        };
        setSample(*store, i, store->sampleTime[i], pick(rso2(random)), pick(index(random)),
                  pick(index(random)), pick(index(random)));
    }
    store->averageWindow = 3;
    computeMovingAverage(*store);
    for (const EdfFlavour flavour : kFlavours) {
        for (const ExportSeries series : {ExportSeries::Measured, ExportSeries::Averaged}) {
            const ReadBack file = exported(*store, flavour, series);
            const auto& values =
                series == ExportSeries::Measured ? store->measured : store->averaged;
            const EdfDigitalRange digital = digitalRangeOf(flavour);
            for (std::size_t s = 0; s < kEdfSignalCount; ++s) {
                const edf_param_struct& p = file.header.signalparam[s];
                const double step = (p.phys_max - p.phys_min) / (p.dig_max - p.dig_min);
                double lowest = 1e9, highest = -1e9;
                for (std::size_t i = 0; i < 5000; ++i) {
                    const float v = values[kEdfSignalChannels[s]][i];
                    const bool has = std::isfinite(v) && v >= 0.0f &&
                                     (s != 0 || store->measured[kRso2][i] > 0.01);
                    ASSERT_EQ(file.digital[s][i] == digital.minimum, !has) << s << " " << i;
                    if (has) {
                        EXPECT_LE(std::fabs(file.physical[s][i] - v), step * 0.500001) << i;
                        lowest = std::min(lowest, double{v}),
                        highest = std::max(highest, double{v});
                    }
                }
                EXPECT_LT(step, (highest - lowest) / (p.dig_max - p.dig_min - 1) * 1.001);
            }
        }
    }
}

TEST(EdfExportTest, RecordingsThatCannotBeEdfAreRefusedAndNothingIsWritten) {
    const std::pair<const char*, std::function<void(MeasurementStore&)>> cases[] = {
        {"no samples", [](MeasurementStore& s) { s.sampleCount = 0; }},
        {"not a calendar date", [](MeasurementStore& s) { s.startMonth = 13; }},
        {"not a calendar date",
         [](MeasurementStore& s) { s.startYear = 23, s.startMonth = 2, s.startDay = 29; }},
        {"1985-2084", [](MeasurementStore& s) { s.startYear = 85; }},
        {"1985-2084", [](MeasurementStore& s) { s.startYear = -16; }},
        {"not a time of day", [](MeasurementStore& s) { s.sampleTime[0] = 86400; }},
        {"not a time of day",
         [](MeasurementStore& s) { s.sampleTime[0] = continuationTag, s.startMinute = 60; }},
        {"too large", [](MeasurementStore& s) { s.measured[kTohb][1] = 1e7f; }},
    };
    const TempDir dir;
    for (const auto& [reason, change] : cases) {
        auto store = makeRecording(4);
        ASSERT_TRUE(
            saveEdfExport(dir.file("ok.edf"), *store, ExportSeries::Measured, EdfFlavour::Edf).ok);
        std::filesystem::remove(dir.file("ok.edf"));
        change(*store);
        const EdfResult result =
            saveEdfExport(dir.file("x.edf"), *store, ExportSeries::Measured, EdfFlavour::Bdf);
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.error.find(reason), std::string::npos) << result.error;
        EXPECT_EQ(result.error.find('\n'), std::string::npos);
        EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    }
}

// edflib itself reports success when the disk refuses bytes; the export must not.
TEST(EdfExportTest, AFailedWriteLeavesTheExistingFileWhole) {
    const TempDir dir;
    const auto store = makeRecording(kSampleCapacity);
    const auto old = dir.file("old.edf");
    const auto save = [&](const std::filesystem::path& target) {
        return saveEdfExport(target, *store, ExportSeries::Measured, EdfFlavour::Bdf).ok;
    };
    writeText(old, "keep");
    EXPECT_FALSE(save(old / "out.edf"));
    EXPECT_FALSE(save(dir.path()));
    for (const rlim_t bytes : {1000u, 100000u, 500000u}) {
        std::fflush(nullptr);
        if (const pid_t child = ::fork(); child == 0) {
            const rlimit limit{bytes, bytes};
            ::signal(SIGXFSZ, SIG_IGN);
            ::_exit(::setrlimit(RLIMIT_FSIZE, &limit) != 0 ? 2 : save(old) ? 1 : 0);
        } else {
            int status = 0;
            ::waitpid(child, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "1: success; 2: no limit";
        }
    }
    EXPECT_EQ(readBytes(old), "keep");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    EXPECT_TRUE(save(old));
    EXPECT_EQ(ReadBack(old).header.datarecords_in_file, kSampleCapacity / 2);
}

// The samples' restarts, from their own description: 10:40 after 09:00, 00:05 after 23:20.
TEST(EdfExportTest, SamplesBecomeContinuousFilesOfFourSignalsAt2HzWithTheirRestarts) {
    const std::tuple<const char*, int, std::vector<long long>> samples[] = {
        {"short-3min.NVD", 8 * 3600 + 30 * 60, {}},
        {"two-hours-pause-restart.NVD", 9 * 3600, {2 * 6000}},
        {"over-midnight.NVD", 23 * 3600 + 20 * 60, {2 * 2700}},
    };
    for (const auto& [name, start, restarts] : samples) {
        const auto store = makeMeasurementStore();
        GraphViewState view;
        ASSERT_TRUE(readNVDFile(std::filesystem::path(NUVISCA_SAMPLES_DIR) / name, *store, view));
        for (const EdfFlavour flavour : kFlavours) {
            const ReadBack file = exported(*store, flavour);
            EXPECT_EQ(file.header.filetype, flavour == EdfFlavour::Edf ? EDFLIB_FILETYPE_EDFPLUS
                                                                       : EDFLIB_FILETYPE_BDFPLUS);
            EXPECT_EQ(file.header.edfsignals, 4);
            EXPECT_EQ(file.header.datarecord_duration, EDFLIB_TIME_DIMENSION);
            EXPECT_EQ(file.header.starttime_hour * 3600 + file.header.starttime_minute * 60, start);
            EXPECT_EQ(std::string(file.header.equipment), store->deviceId.data());
            for (int s = 0; s < 4; ++s) {
                EXPECT_EQ(file.header.signalparam[s].smp_in_datarecord, 2);
                EXPECT_EQ(
                    std::string(file.header.signalparam[s].label).substr(0, 4),
                    std::string("rSO2oxHbdxHbtoHb").substr(static_cast<std::size_t>(s) * 4, 4));
            }
            std::vector<long long> onsets;
            for (const auto& [text, onset, duration] : file.annotations) {
                if (text == "restart") {
                    onsets.push_back(onset);
                }
            }
            EXPECT_EQ(onsets, restarts) << name;
        }
    }
}

}  // namespace
}  // namespace nuvisca
