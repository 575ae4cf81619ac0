#include <gtest/gtest.h>

#include <sched.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "formats/CsvTestSupport.h"
#include "formats/CsvWriter.h"
#include "formats/TextNumbers.h"
#include "support/TempDir.h"

namespace nuvisca {
namespace {

using test::kMeasuredHeader;
using test::makeRecording;
using test::setSample;

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

std::string measured(const MeasurementStore& store) {
    return formatCsvExport(store, ExportSeries::Measured);
}

TEST(CsvWriterTest, SampleLinesCountHalfSecondsAndMarkRestarts) {
    auto store = makeRecording(7);
    store->sampleTime[0] = continuationTag;  // a first slot without a time starts at the header's
    setSample(*store, 1, continuationTag, 65.3f, 0.123456f, 0.0f, 0.123456f);
    setSample(*store, 2, continuationTag, -100.0f, 0.0f, -0.5f, 0.0f);  // oxHb 0 has numbers
    setSample(*store, 3, continuationTag, 70.0f, -1.0f, 0.2f, 0.0f);    // oxHb decides ERROR
    setSample(*store, 4, 37260, 71.0f, 0.5f, 0.25f, 0.75f);             // restart 10:21:00
    setSample(*store, 5, continuationTag, 72.0f, 0.5f, 0.25f, 0.75f);
    setSample(*store, 6, 37262, -1.0f, kNaN, -1.0f, -1.0f);
    EXPECT_EQ(measured(*store), std::string(kMeasuredHeader) +
                                    "10:20:30,00:00:00,1.00,1.00000,1.00000,2.00000\n"
                                    "10:20:30,00:00:00,65.30,0.12346,0.00000,0.12346\n"
                                    "10:20:31,00:00:01,-100.00,0.00000,-0.50000,0.00000\n"
                                    "10:20:31,00:00:01,ERROR,ERROR,ERROR,ERROR\n"
                                    "10:21:00,00:00:30,71.00,0.50000,0.25000,0.75000,restart\n"
                                    "10:21:00,00:00:30,72.00,0.50000,0.25000,0.75000\n"
                                    "10:21:02,00:00:32,ERROR,ERROR,ERROR,ERROR,restart\n");
}

TEST(CsvWriterTest, AveragedExportNamesTheNumberTheBoxShowsAndWritesTheAverages) {
    auto store = makeRecording(1);
    store->averageWindow = 4;
    store->rso2Avg[0] = 50.0f;
    store->oxhbAvg[0] = 0.5f;
    store->dxhbAvg[0] = 0.25f;
    store->tohbAvg[0] = 0.75f;
    const auto lines = test::splitLines(formatCsvExport(*store, ExportSeries::Averaged));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], "移動平均,5,終了時刻,,,10時25分00");
    EXPECT_EQ(lines[3], "10:20:30,00:00:00,50.00,0.50000,0.25000,0.75000");
}

// The clock wraps at midnight, a restart earlier in the day lies on the next day, and the
// elapsed hours do not wrap.
TEST(CsvWriterTest, ClockWrapsAtMidnightAndElapsedTimeRunsOn) {
    auto store = makeRecording(7);
    store->sampleTime[0] = 86399;  // 23:59:59
    store->sampleTime[3] = 10;
    store->sampleTime[4] = 86398;
    EXPECT_EQ(measured(*store).substr(kMeasuredHeader.size()),
              "23:59:59,00:00:00,1.00,1.00000,1.00000,2.00000\n"
              "23:59:59,00:00:00,1.00,1.00000,1.00000,2.00000\n"
              "00:00:00,00:00:01,1.00,1.00000,1.00000,2.00000\n"
              "00:00:10,00:00:11,1.00,1.00000,1.00000,2.00000,restart\n"
              "23:59:58,23:59:59,1.00,1.00000,1.00000,2.00000,restart\n"
              "23:59:58,23:59:59,1.00,1.00000,1.00000,2.00000\n"
              "23:59:59,24:00:00,1.00,1.00000,1.00000,2.00000\n");
}

// The export prints a float as printf "%.2f" / "%.5f" of it widened to double, and what it
// prints reads back as strtof reads it: ordinary values, exact ties, extremes, infinities
// and NaNs, on the short exact path as on the general one.
TEST(CsvWriterTest, NumbersPrintAsPrintfAndReadBackAsStrtof) {
    std::mt19937 random(12345);
    std::uniform_int_distribution<std::uint32_t> bits;
    std::uniform_real_distribution<float> plain(-200.0f, 200.0f);
    std::uniform_int_distribution<int> ticks(-100000, 100000);
    // clang-format off
    const float specials[] = {0.0f, -0.0f, 0.005f, 0.125f, 0.375f, 2.5f, 0.000005f, 1e-45f,
        3.4e38f, -3.4e38f, kNaN, -kNaN, kInf, 16777215.0f, 16777216.0f, 8388607.5f, -0.001f,
        -0.000004f, 0.015625f, 1.17549435e-38f, 99.995f};
    // clang-format on
    // Five kinds in turn over four columns: every column gets every kind.
    std::vector<float> values;
    for (std::size_t k = 0; values.size() < 4 * std::size_t{kSampleCapacity}; ++k) {
        values.insert(values.end(),
                      {std::bit_cast<float>(bits(random)), plain(random),
                       std::ldexp(plain(random), static_cast<int>(k % 40) - 20),  // far below 1
                       static_cast<float>(ticks(random)) / 64.0f,  // ties at 2 and 5 places
                       specials[k % std::size(specials)]});
    }
    auto store = makeRecording(kSampleCapacity);
    for (std::size_t i = 0; i < kSampleCapacity; ++i) {
        const float* v = &values[4 * i];
        const float oxhb = std::isnan(v[1]) ? 0.5f : std::fabs(v[1]);  // else an ERROR row
        setSample(*store, i, store->sampleTime[i], v[0], oxhb, v[2], v[3]);
    }
    const auto lines = test::splitLines(formatCsvExport(*store, ExportSeries::Measured));
    ASSERT_EQ(lines.size(), 3u + kSampleCapacity);
    char expected[512];
    for (std::size_t i = 0; i < kSampleCapacity; ++i) {
        std::snprintf(
            expected, sizeof expected, "%.2f,%.5f,%.5f,%.5f",
            static_cast<double>(store->rso2Data[i]), static_cast<double>(store->oxhbData[i]),
            static_cast<double>(store->dxhbData[i]), static_cast<double>(store->tohbData[i]));
        const std::string numbers = lines[3 + i].substr(18);
        ASSERT_EQ(numbers, expected) << "slot " << i;
        for (std::size_t from = 0; from < numbers.size();) {
            const std::size_t to = std::min(numbers.find(',', from), numbers.size());
            const std::string field = numbers.substr(from, to - from);
            const float parsed = std::strtof(field.c_str(), nullptr);
            if (std::isfinite(parsed)) {  // the reader takes "nan" and "inf" for 0
                ASSERT_EQ(floatValue(field), parsed) << field;
            }
            from = to + 1;
        }
    }
}

// The export replaces an older file whole; a failed one leaves whatever bore the name as it
// was and no temporary file behind.
TEST(CsvSaveTest, ReplacesWholeOrLeavesEverythingAsItWas) {
    const test::TempDir dir;
    const auto store = makeRecording(kSampleCapacity);
    const auto save = [&](const std::filesystem::path& target) {
        return saveNVDFile(target, *store, ExportSeries::Measured);
    };
    const auto old = dir.file("old.csv");
    test::writeText(old, std::string(100000, 'x'));
    ASSERT_TRUE(save(old));
    EXPECT_EQ(test::readBytes(old), measured(*store));
    // The longest name still leaves room for the temporary file beside it.
    EXPECT_TRUE(save(dir.file(std::string(251, 'n') + ".csv")));
    EXPECT_TRUE(std::filesystem::remove(dir.file(std::string(251, 'n') + ".csv")));

    test::writeText(old, "keep");
    EXPECT_FALSE(save(dir.file("missing") / "out.csv"));
    EXPECT_FALSE(save(old / "out.csv"));
    EXPECT_FALSE(save(dir.file(std::string(252, 'n') + ".csv")));
    std::filesystem::create_directories(dir.file("taken.csv") / "inside");
    EXPECT_FALSE(save(dir.file("taken.csv")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("taken.csv") / "inside"));

    // The disk refuses more bytes half way through the file.
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit limit{4096, 4096};
        ::signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead
        ::_exit(::setrlimit(RLIMIT_FSIZE, &limit) != 0 ? 2 : save(old) ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "1: the export claimed success; 2: no limit";
    EXPECT_EQ(test::readBytes(old), "keep");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

// Killed at any moment, an export leaves the old file or the new one, never a part of it.
TEST(CsvSaveTest, AProcessKilledWhileExportingLeavesAWholeFile) {
    const test::TempDir dir;
    const auto store = makeRecording(kSampleCapacity);
    const auto target = dir.file("out.csv");
    test::writeText(target, "keep");
    const std::string complete = measured(*store);
    const auto writing = [&dir] {
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            if (entry.path().filename() != "out.csv") {
                return true;
            }
        }
        return false;
    };
    for (int round = 0; round < 5; ++round) {
        std::fflush(nullptr);
        const pid_t child = ::fork();
        if (child == 0) {
            for (;;) {
                saveNVDFile(target, *store, ExportSeries::Measured);
            }
        }
        for (int wait = 0; wait < 1000000 && !writing(); ++wait) {
            ::sched_yield();
        }
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string now = test::readBytes(target);
        EXPECT_TRUE(now == "keep" || now == complete) << "round " << round << ": " << now.size();
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            if (entry.path().filename() != "out.csv") {
                std::filesystem::remove(entry.path());  // what a killed process cannot remove
            }
        }
    }
}

}  // namespace
}  // namespace nuvisca
