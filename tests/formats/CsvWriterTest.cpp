#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>

#include "formats/CsvTestSupport.h"
#include "formats/CsvWriter.h"

namespace nuvisca {
namespace {

using namespace test;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

std::string measured(const MeasurementStore& store) {
    return formatCsvExport(store, ExportSeries::Measured);
}

// From slot 7 on: the clock wraps at midnight, a restart earlier in the day than the start
// lies on the next day, and the elapsed hours do not wrap.
TEST(CsvWriterTest, LinesCountHalfSecondsMarkRestartsAndWrapAtMidnight) {
    auto store = makeRecording(14);
    store->sampleTime[0] = continuationTag;  // a first slot without a time starts at the header's
    setSample(*store, 1, continuationTag, 65.3f, 0.123456f, 0.0f, 0.123456f);
    setSample(*store, 2, continuationTag, -100.0f, 0.0f, -0.5f, 0.0f);  // oxHb 0 has numbers
    setSample(*store, 3, continuationTag, 70.0f, -1.0f, 0.2f, 0.0f);    // oxHb decides ERROR
    setSample(*store, 4, 37260, 71.0f, 0.5f, 0.25f, 0.75f);             // restart 10:21:00
    setSample(*store, 6, 37262, -1.0f, kNaN, -1.0f, -1.0f);
    std::tie(store->sampleTime[7], store->sampleTime[10], store->sampleTime[11]) =
        std::tuple(86399, 10, 37229);
    EXPECT_EQ(measured(*store), std::string(kMeasuredHeader) +
                                    "10:20:30,00:00:00,1.00,1.00000,1.00000,2.00000\n"
                                    "10:20:30,00:00:00,65.30,0.12346,0.00000,0.12346\n"
                                    "10:20:31,00:00:01,-100.00,0.00000,-0.50000,0.00000\n"
                                    "10:20:31,00:00:01,ERROR,ERROR,ERROR,ERROR\n"
                                    "10:21:00,00:00:30,71.00,0.50000,0.25000,0.75000,restart\n"
                                    "10:21:00,00:00:30,1.00,1.00000,1.00000,2.00000\n"
                                    "10:21:02,00:00:32,ERROR,ERROR,ERROR,ERROR,restart\n"
                                    "23:59:59,13:39:29,1.00,1.00000,1.00000,2.00000,restart\n"
                                    "23:59:59,13:39:29,1.00,1.00000,1.00000,2.00000\n"
                                    "00:00:00,13:39:30,1.00,1.00000,1.00000,2.00000\n"
                                    "00:00:10,13:39:40,1.00,1.00000,1.00000,2.00000,restart\n"
                                    "10:20:29,23:59:59,1.00,1.00000,1.00000,2.00000,restart\n"
                                    "10:20:29,23:59:59,1.00,1.00000,1.00000,2.00000\n"
                                    "10:20:30,24:00:00,1.00,1.00000,1.00000,2.00000\n");
    store->averageWindow = 4;  // the box shows 5; the averages are written
    std::tie(store->averaged[kRso2][1], store->averaged[kOxhb][1], store->averaged[kDxhb][1],
             store->averaged[kTohb][1]) = std::tuple(50.0f, 0.5f, 0.25f, 0.75f);
    const auto lines = splitLines(formatCsvExport(*store, ExportSeries::Averaged));
    EXPECT_EQ(lines[1], "移動平均,5,終了時刻,,,10時25分00");
    EXPECT_EQ(lines[4], "10:20:30,00:00:00,50.00,0.50000,0.25000,0.75000");
}

// The export prints a float as printf "%.2f" / "%.5f" of it widened to double: random bits,
// plain values, values far below 1, exact ties and extremes, in turn in every column.
TEST(CsvWriterTest, NumbersPrintAsPrintf) {
    std::mt19937 random(12345);
    std::uniform_real_distribution<float> plain(-200.0f, 200.0f);
    // clang-format off
    const float specials[] = {0.0f, -0.0f, 0.005f, 0.125f, 0.375f, 2.5f, 0.000005f, 1e-45f, 3.4e38f, -3.4e38f, kNaN,
        -kNaN, std::numeric_limits<float>::infinity(), 16777215.0f, 16777216.0f, 8388607.5f, -0.001f, -0.000004f, 0.015625f, 1.17549435e-38f, 99.995f};
    // clang-format on
    auto next = [&, n = std::size_t{0}]() mutable {
        const float kinds[] = {
            std::bit_cast<float>(static_cast<std::uint32_t>(random())), plain(random),
            std::ldexp(plain(random), static_cast<int>(n % 40) - 20),
            std::round(plain(random) * 64.0f) / 64.0f, specials[n / 5 % std::size(specials)]};
        return kinds[n++ % 5];
    };
    auto store = makeRecording(kSampleCapacity);
    for (std::size_t i = 0; i < kSampleCapacity; ++i) {
        const float r = next(), o = next(), d = next(), t = next();
        setSample(*store, i, store->sampleTime[i], r, std::isnan(o) ? 0.5f : std::fabs(o), d, t);
    }
    const auto lines = splitLines(measured(*store));
    ASSERT_EQ(lines.size(), 3u + kSampleCapacity);
    char expected[512];
    for (std::size_t i = 0; i < kSampleCapacity; ++i) {
        const auto d = [&](Channel c) { return static_cast<double>(store->measured[c][i]); };
        std::snprintf(expected, sizeof expected, "%.2f,%.5f,%.5f,%.5f", d(kRso2), d(kOxhb),
                      d(kDxhb), d(kTohb));
        ASSERT_EQ(lines[3 + i].substr(18), expected) << "slot " << i;
    }
}

// A failed export leaves whatever bore the name as it was and no temporary file behind.
TEST(CsvSaveTest, ReplacesWholeOrLeavesEverythingAsItWas) {
    const TempDir dir;
    const auto store = makeRecording(kSampleCapacity);
    const auto save = [&](const std::filesystem::path& target) {
        return saveCsvExport(target, *store, ExportSeries::Measured);
    };
    const auto old = dir.file("old.csv");
    writeText(old, std::string(100000, 'x'));
    ASSERT_TRUE(save(old));
    EXPECT_EQ(readBytes(old), measured(*store));
    writeText(old, "keep");
    EXPECT_FALSE(save(old / "out.csv"));
    EXPECT_FALSE(save(dir.file(std::string(252, 'n') + ".csv")));  // no room for the temporary
    std::filesystem::create_directories(dir.file("taken.csv") / "inside");
    EXPECT_FALSE(save(dir.file("taken.csv")));
    std::fflush(nullptr);
    if (const pid_t child = ::fork(); child == 0) {  // the disk refuses bytes half way
        const rlimit limit{4096, 4096};
        ::signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead
        ::_exit(::setrlimit(RLIMIT_FSIZE, &limit) != 0 ? 2 : save(old) ? 1 : 0);
    } else {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "1: success; 2: no limit";
    }
    EXPECT_EQ(readBytes(old), "keep");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

}  // namespace
}  // namespace nuvisca
