#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "formats/CsvReader.h"
#include "formats/CsvTestSupport.h"
#include "formats/CsvWriter.h"
#include "formats/NvdReader.h"

namespace nuvisca {
namespace {

using namespace std::string_literals;

class CsvReaderTest : public test::LoadTest {
protected:
    bool read(std::string_view text) {
        test::writeText(path, text);
        return readCSVFile(path, *store);
    }

    std::filesystem::path path = dir.file("in.csv");
};

// Trailing empty fields, letters and a NUL in the id, a short year, CR line ends, a line 2
// without a sixth field; then columns found by their headings over CR LF lines.
TEST_F(CsvReaderTest, OddHeaderLinesAndColumnsByHeading) {
    const MeasurementStore& s = *store;
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
    EXPECT_EQ(s.endMinute, 25);
    EXPECT_EQ(values(1), (std::array{61.5f, 0.75f, 0.5f, 1.25f}));
    EXPECT_EQ(s.sampleTime[1], 37240u);
}

// 21 fields store a slot, 22 do not, nor do a short time or an empty line; empty fields keep
// the values before; the capacity ends the load.
TEST_F(CsvReaderTest, ValuesErrorRowsEmptyFieldsSumsAndLinesWithoutASlot) {
    const std::string twentyCommas = "10:20:32,00:00:02,60,0.5,0.25,0.75" + std::string(15, ',');
    std::string filler;
    for (int i = 0; i < kSampleCapacity; ++i) {
        filler += "10:20:33,,,9\n";
    }
    ASSERT_TRUE(read(std::string(test::kMeasuredHeader) +
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
    const float inf = std::numeric_limits<float>::infinity();
    const std::array<float, 4> expected[] = {{65.3f, 0.12346f, 0.05f, 0.12346f + 0.05f},
                                             {-1.0f, -1.0f, -1.0f, -2.0f},
                                             {-100.0f, 0.0f, -0.5f, -0.5f},
                                             {-100.0f, 0.6f, -0.5f, 0.6f - 0.5f},
                                             {6.0f, 0.4f, 0.2f, 0.4f + 0.2f},
                                             {60.0f, 0.5f, 0.25f, 0.75f},
                                             {1.5f, 0.25f, inf, inf},
                                             {1.5f, 9.0f, inf, inf}};
    for (std::size_t k = 0; k < std::size(expected); ++k) {
        EXPECT_EQ(values(k), expected[k]) << k;
    }
    EXPECT_EQ(store->measured[kOxhb][kSampleCapacity - 1], 9.0f);
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
        ASSERT_TRUE(read(std::string(test::kMeasuredHeader) + firstTime + ",00:00:00,1,1,1,2\n" +
                         secondLine));
        ASSERT_EQ(store->sampleCount, 2);
        EXPECT_EQ((std::array{store->sampleTime[0], store->sampleTime[1]}),
                  (std::array{std::uint64_t{37230}, expected}));
    }
}

// An export without its sixth column, toHb, which the reader recomputes.
std::string withoutTohb(const MeasurementStore& store) {
    static const std::regex kSixthField("((?:[^,\n]*,){5})[^,\n]*");
    return std::regex_replace(formatCsvExport(store, ExportSeries::Measured), kSixthField, "$1");
}

// The committed samples (a short one, one with a pause and a restart, one over midnight) load
// as samples/README.md describes them; exported, read back and exported again they give the
// same text apart from toHb.
TEST(CsvRoundTripTest, SamplesLoadAsDescribedAndComeBackFromAnExport) {
    struct Case {
        const char *file, *deviceId;
        std::int64_t dateKey;
        std::int32_t sampleCount, spanSamples, breakSlots;
    };
    // clang-format off
    const Case cases[] = {
        {"short-3min.NVD", "7205318640021", 240514083000, 360, 360, 0},
        {"two-hours-pause-restart.NVD", "7205318640038", 240514090000, 13199, 14400, 1199},
        {"over-midnight.NVD", "7205318640045", 240514232000, 8400, 9600, 0}};
    // clang-format on
    const test::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const auto nvd = std::filesystem::path(NUVISCA_SAMPLES_DIR) / c.file;
        const auto store = makeMeasurementStore();
        EXPECT_EQ(getDateFromNVD(nvd), c.dateKey);
        ASSERT_TRUE(readNVDFile(nvd, *store));
        EXPECT_STREQ(store->deviceId.data(), c.deviceId);
        const auto breaks = std::count(store->measured[kOxhb].begin(),
                                       store->measured[kOxhb].begin() + store->sampleCount, -1.0f);
        EXPECT_EQ((std::array{store->sampleCount, store->spanSamples, static_cast<int>(breaks)}),
                  (std::array{c.sampleCount, c.spanSamples, c.breakSlots}));
        const auto csv = dir.file("out.csv");
        ASSERT_TRUE(saveCsvExport(csv, *store, ExportSeries::Measured));
        const auto back = makeMeasurementStore();
        ASSERT_TRUE(readCSVFile(csv, *back));
        EXPECT_EQ(getDateFromCSV(csv), c.dateKey);
        EXPECT_EQ(back->spanSamples, c.spanSamples);
        EXPECT_EQ(withoutTohb(*back), withoutTohb(*store));
    }
}

}  // namespace
}  // namespace nuvisca
