#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <random>

#include "formats/CsvReader.h"
#include "formats/CsvTestSupport.h"
#include "formats/CsvWriter.h"

namespace nuvisca {
namespace {

using namespace std::string_literals;
using namespace test;

class CsvReaderTest : public LoadTest {
protected:
    bool read(std::string_view text) {
        writeText(path, text);
        return readCSVFile(path, *store);
    }

    std::filesystem::path path = dir.file("in.csv");
};

// Trailing empty fields, letters and a NUL in the id, a short year, CR line ends, a line 2
// without a sixth field; then columns found by their headings over CR LF lines.
TEST_F(CsvReaderTest, OddHeaderLinesAndColumnsByHeading) {
    const Recording& s = *store;
    ASSERT_TRUE(read("RM27,ID 12a4\0x6,測定日時,14年,5月,10時20分30,,,\r移動平均,5\r"s));
    EXPECT_EQ(getDateFromCSV(path), 140500102030);
    EXPECT_STREQ(s.deviceId.data(), "1204006000000");
    EXPECT_EQ((std::array{s.startYear, s.startMonth, s.startDay, s.startSecond, s.endHour}),
              (std::array{14, 5, 0, 30, 0}));
    ASSERT_TRUE(
        read("RM27,ID 0123456789012,測定日時,2014年,05月12日,10時20分30\r\n"
             ",,終了時刻,,,10時25分00\r\n"
             "dxHb[Index],x,rSO2[%],測定時刻,oxHb[Index],,y\r\n"
             "0.25,,60.5,10:20:30,0.5,,restart\r\n"
             "0.5,,61.5,10:20:40,0.75\r\n"));
    ASSERT_EQ(s.sampleCount, 2);
    EXPECT_EQ((std::array{s.endMinute, s.spanSamples}), (std::array{25, 540}));
    EXPECT_EQ(values(1), (std::array{61.5f, 0.75f, 0.5f, 1.25f}));
    EXPECT_EQ(s.sampleTime[1], 37240u);
    EXPECT_FALSE(s.truncated);
}

// 21 fields store a slot, 22 do not, nor do a short time or an empty line; empty fields keep
// the values before; the capacity ends the load.
TEST_F(CsvReaderTest, ValuesErrorRowsEmptyFieldsSumsAndLinesWithoutASlot) {
    const std::string twentyCommas = "10:20:32,00:00:02,60,0.5,0.25,0.75" + std::string(15, ',');
    std::string filler;
    for (int i = 0; i < kSampleCapacity; ++i) {
        filler += "10:20:33,,,9\n";
    }
    ASSERT_TRUE(read(std::string(kMeasuredHeader) +
                     "10:20:30,00:00:00,65.30,0.12346,0.05000,0.17346\n"
                     "10:20:30,00:00:00,ERROR,ERROR,ERROR,ERROR\n"
                     "10:20:31,00:00:01,-100.00,0.00000,-0.50000,0.00000\n"
                     "10:20:31,00:00:01,,0.6,,\n"
                     "10:20:32,00:00:02,6\0"s  // a NUL ends a number like any character
                     "5,0.4,0.2\n" +
                     twentyCommas + "\n" + twentyCommas + ",\n\n\r\n10:20:3,00:00:00,61,0.5\n" +
                     "10:20:33,00:00:03," + std::string(60, '0') + "1.5,0.25," +
                     std::string(60, '9') + "\n" + filler));
    ASSERT_EQ(store->sampleCount, kSampleCapacity);
    const std::array<float, 4> expected[] = {{65.3f, 0.12346f, 0.05f, 0.12346f + 0.05f},
                                             {-1.0f, -1.0f, -1.0f, -2.0f},
                                             {-100.0f, 0.0f, -0.5f, -0.5f},
                                             {-100.0f, 0.6f, -0.5f, 0.6f - 0.5f},
                                             {6.0f, 0.4f, 0.2f, 0.4f + 0.2f},
                                             {60.0f, 0.5f, 0.25f, 0.75f},
                                             {1.5f, 0.25f, kInf, kInf},
                                             {1.5f, 9.0f, kInf, kInf}};
    for (std::size_t k = 0; k < std::size(expected); ++k) {
        EXPECT_EQ(values(k), expected[k]) << k;
    }
    EXPECT_EQ(store->measured[kOxhb][kSampleCapacity - 1], 9.0f);
    EXPECT_TRUE(store->truncated);
}

// The second slot's tag; the first carries the start time of line 1 whatever its own line says.
TEST_F(CsvReaderTest, TimeStepsAndRestartMarksTagTheSlot) {
    constexpr std::uint64_t kNext = continuationTag;
    // clang-format off
    const std::tuple<std::string, std::string, std::uint64_t> cases[] = {
        {"10:00:05", "10:00:09,00:00:04,1,1,1,2\n", 36009},  // a gap
        {"10:00:07", "10:00:05,00:00:00,1,1,1,2\n", 36005},  // a step back
        {"23:59:59", "00:00:00,00:00:01,1,1,1,2\n", kNext},  // midnight
        {"23:59:59", "00:00:01,00:00:02,1,1,1,2\n", 1},      // a second lost over midnight
        {"23:59:58", "00:00:00,00:00:02,1,1,1,2\n", 0},
        {"10:00:05", "10:00:06,00:00:01,1,1,1,2\n", kNext},
        {"10:00:05", "10:00:06,00:00:01,1,1,1,2,restart", 36006},
        {"10:00:05", "10:00:06,00:00:01,1,1,1,2,restart\r\n", 36006},
        {"10:00:05", "10:00:06,00:00:01,1,1,1,2,restartX\n", 36006},  // last: a prefix will do
        {"10:00:05", "10:00:06,00:00:01,1,1,1,2,restar\n", kNext},
        {"10:00:05", "10:00:06,00:00:01,1,1,1,2,restartX,\n", kNext}};
    // clang-format on
    for (const auto& [firstTime, secondLine, expected] : cases) {
        SCOPED_TRACE(firstTime + " " + secondLine);
        ASSERT_TRUE(
            read(std::string(kMeasuredHeader) + firstTime + ",00:00:00,1,1,1,2\n" + secondLine));
        ASSERT_EQ(store->sampleCount, 2);
        EXPECT_EQ((std::array{store->sampleTime[0], store->sampleTime[1]}),
                  (std::array{std::uint64_t{37230}, expected}));
    }
}

std::string measured(const Recording& store) {
    return formatCsvExport(store, nullptr);
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
    // Each slot's counters alone, as the event list names a slot, read as the export writes them.
    const auto written = splitLines(measured(*store));
    for (std::int32_t slot = 0; slot < store->sampleCount; ++slot) {
        const ExportTimes times = exportTimesOf(*store, slot);
        EXPECT_EQ(times.clock + "," + times.elapsed + ",",
                  written[static_cast<std::size_t>(slot) + 3].substr(0, 18))
            << slot;
    }
    auto average = std::make_unique<AveragedSeries>();
    average->window = 4;  // the box shows 5; the averages are written
    std::tie(average->values[kRso2][1], average->values[kOxhb][1], average->values[kDxhb][1],
             average->values[kTohb][1]) = std::tuple(50.0f, 0.5f, 0.25f, 0.75f);
    const auto lines = splitLines(formatCsvExport(*store, average.get()));
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
        -kNaN, kInf, 16777215.0f, 16777216.0f, 8388607.5f, -0.001f, -0.000004f, 0.015625f, 1.17549435e-38f, 99.995f};
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

}  // namespace
}  // namespace nuvisca
