#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <regex>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>

#include "formats/CsvReader.h"
#include "formats/CsvTestSupport.h"
#include "formats/TextNumbers.h"
#include "support/TempDir.h"

namespace nuvisca {
namespace {

using namespace std::string_literals;
using test::kMeasuredHeader;

const std::string kLine1 = "RM27,ID 0123456789012,測定日時,2014年,05月12日,10時20分30\n";
const std::string kLine2 = ",,終了時刻,,,10時25分00\n";

class CsvReaderTest : public ::testing::Test {
protected:
    CsvReaderTest() { view.viewWidth = 1000.0f; }

    std::filesystem::path write(std::string_view text) {
        const auto path = dir.file("in.csv");
        test::writeText(path, text);
        return path;
    }

    bool read(std::string_view text) { return readCSVFile(write(text), *store, view); }

    // Loads the header of an export followed by the given data lines.
    void load(std::string_view dataLines) {
        ASSERT_TRUE(read(std::string(kMeasuredHeader) + std::string(dataLines)));
    }

    std::uint64_t tag(std::size_t k) const { return store->sampleTime[k]; }
    std::array<float, 4> values(std::size_t k) const {
        return {store->rso2Data[k], store->oxhbData[k], store->dxhbData[k], store->tohbData[k]};
    }

    test::TempDir dir;
    std::unique_ptr<MeasurementStore> store = makeMeasurementStore();
    GraphViewState view;
};

TEST_F(CsvReaderTest, HeaderLinesGiveIdStartEndAndDateKey) {
    const auto path = write(kLine1 + ",,終了時刻,,,11時05分09\n");
    EXPECT_EQ(getDateFromCSV(path), 140512102030);
    ASSERT_TRUE(readCSVFile(path, *store, view));
    const MeasurementStore& s = *store;
    EXPECT_STREQ(s.deviceId.data(), "0123456789012");
    EXPECT_EQ((std::array{s.startYear, s.startMonth, s.startDay, s.startHour, s.startMinute,
                          s.startSecond, s.endHour, s.endMinute, s.endSecond}),
              (std::array{14, 5, 12, 10, 20, 30, 11, 5, 9}));
    EXPECT_EQ((std::array{s.sampleCount, s.spanSamples, view.viewStart, view.viewEnd}),
              (std::array{0, 2 * (44 * 60 + 39), 0, 900}));

    // Trailing empty fields, letters and a NUL in the id, a short year, CR line ends, and a
    // line 2 without a sixth field.
    const auto odd = write("RM27,ID 12a4\0x6,測定日時,14年,5月,10時20分30,,,\r移動平均,5\r"s);
    EXPECT_EQ(getDateFromCSV(odd), 140500102030);
    ASSERT_TRUE(readCSVFile(odd, *store, view));
    EXPECT_STREQ(s.deviceId.data(), "1204006000000");
    EXPECT_EQ(
        (std::array{s.startYear, s.startMonth, s.startDay, s.startSecond, s.endHour, s.endSecond}),
        (std::array{14, 5, 0, 30, 0, 0}));
}

TEST_F(CsvReaderTest, ValuesErrorRowsEmptyFieldsAndSums) {
    load(
        "10:20:30,00:00:00,65.30,0.12346,0.05000,0.17346\n"
        "10:20:30,00:00:00,ERROR,ERROR,ERROR,ERROR\n"
        "10:20:31,00:00:01,-100.00,0.00000,-0.50000,0.00000\n"
        "10:20:31,00:00:01,,0.6,,\n"  // empty fields keep the values before
        "10:20:32,00:00:02,6\0"s
        "5,0.4,0.2\n");  // a NUL ends a number like any character
    ASSERT_EQ(store->sampleCount, 5);
    EXPECT_EQ(values(0), (std::array{65.3f, 0.12346f, 0.05f, 0.12346f + 0.05f}));
    EXPECT_EQ(values(1), (std::array{-1.0f, -1.0f, -1.0f, -2.0f}));
    EXPECT_EQ(values(2), (std::array{-100.0f, 0.0f, -0.5f, -0.5f}));
    EXPECT_EQ(values(3), (std::array{-100.0f, 0.6f, -0.5f, 0.6f - 0.5f}));
    EXPECT_EQ(values(4), (std::array{6.0f, 0.4f, 0.2f, 0.4f + 0.2f}));
}

// The second slot's tag; the first slot carries the start time of line 1 whatever the time
// on its own line.
TEST_F(CsvReaderTest, TimeStepsAndRestartMarksTagTheSlot) {
    constexpr std::uint64_t kNext = continuationTag;
    // clang-format off
    const std::tuple<std::string_view, std::string_view, std::uint64_t> cases[] = {
        {"10:00:05", "10:00:09,00:00:04,1,1,1,2\n", 36009},  // a gap
        {"10:00:07", "10:00:05,00:00:00,1,1,1,2\n", 36005},  // a step back
        {"23:59:59", "00:00:00,00:00:01,1,1,1,2\n", kNext},  // midnight
        {"10:00:05", "10:00:05,00:00:00,1,1,1,2\n", kNext},
        {"10:00:05", "10:00:06,00:00:01,1,1,1,2\n", kNext},
        {"10:00:05", "10:00:06,00:00:01,1,1,1,2,restart\n", 36006},
        {"10:00:05", "10:00:06,00:00:01,1,1,1,2,restart", 36006},
        {"10:00:05", "10:00:06,00:00:01,1,1,1,2,restart\r\n", 36006},
        {"10:00:05", "10:00:06,00:00:01,1,1,1,2,restartX\n", 36006},  // last: a prefix will do
        {"10:00:05", "10:00:06,00:00:01,1,1,1,2,restar\n", kNext},
        {"10:00:05", "10:00:06,00:00:01,1,1,1,2,restartX,\n", kNext}};
    // clang-format on
    for (const auto& [firstTime, secondLine, expected] : cases) {
        SCOPED_TRACE(std::string(secondLine));
        load(std::string(firstTime) + ",00:00:00,1,1,1,2\n" + std::string(secondLine));
        ASSERT_EQ(store->sampleCount, 2);
        EXPECT_EQ(tag(0), 37230u);
        EXPECT_EQ(tag(1), expected);
    }
}

TEST_F(CsvReaderTest, ColumnsAreFoundByTheirHeadings) {
    ASSERT_TRUE(read(kLine1 + kLine2 +
                     "dxHb[Index],x,rSO2[%],測定時刻,oxHb[Index],,y\n"
                     "0.25,,60.5,10:20:30,0.5,,restart\n"
                     "0.5,,61.5,10:20:40,0.75\n"));
    ASSERT_EQ(store->sampleCount, 2);
    EXPECT_EQ(values(1), (std::array{61.5f, 0.75f, 0.5f, 1.25f}));
    EXPECT_EQ(tag(1), 37240u);

    // A heading in the last column carries the line end and never matches; a channel
    // without a column has no data.
    ASSERT_TRUE(read(kLine1 + kLine2 + "測定時刻,rSO2[%],dxHb[Index]\n10:20:30,70,0.5\n"));
    ASSERT_EQ(store->sampleCount, 1);
    EXPECT_EQ(values(0), (std::array{70.0f, -1.0f, -1.0f, -2.0f}));
}

TEST_F(CsvReaderTest, LinesWithMoreThanTwentyCommasShortTimesAndEmptyLinesStoreNoSlot) {
    const std::string twentyCommas = "10:20:30,00:00:00,60,0.5,0.25,0.75" + std::string(15, ',');
    load(twentyCommas + "\n" +                    // 21 fields: stored
         twentyCommas + ",\n" +                   // 22 fields: dropped
         "\n\r\n" +                               // empty lines
         "10:20:3,00:00:00,61,0.5,0.25,0.75\n" +  // a time field too short
         "10:20:31,00:00:01,62,0.5,0.25,0.75");
    ASSERT_EQ(store->sampleCount, 2);
    EXPECT_EQ(store->rso2Data[1], 62.0f);
    EXPECT_EQ(tag(1), continuationTag);
}

TEST_F(CsvReaderTest, CarriageReturnLineEndsReadTheSame) {
    const std::string lf = std::string(kMeasuredHeader) +
                           "10:20:30,00:00:00,60.00,0.50000,0.25000,0.75000\n"
                           "10:20:40,00:00:10,61.00,0.60000,0.35000,0.95000,restart\n";
    for (const char* ending : {"\r\n", "\r"}) {
        store = makeMeasurementStore();
        ASSERT_TRUE(read(std::regex_replace(lf, std::regex("\n"), ending)));
        ASSERT_EQ(store->sampleCount, 2);
        EXPECT_EQ(store->endMinute, 25);
        EXPECT_EQ(values(1), (std::array{61.0f, 0.6f, 0.35f, 0.6f + 0.35f}));
        EXPECT_EQ(tag(1), 37240u);
    }
}

TEST_F(CsvReaderTest, StopsAtTheCapacity) {
    std::string lines;
    for (int i = 0; i <= kSampleCapacity; ++i) {
        lines += i == kSampleCapacity ? "10:20:30,,,9\n" : "10:20:30,,,1\n";
    }
    load(lines);
    EXPECT_EQ(store->sampleCount, kSampleCapacity);
    EXPECT_EQ(store->oxhbData[kSampleCapacity - 1], 1.0f);
}

constexpr float kInf = std::numeric_limits<float>::infinity();
// Views cut from longer text must not be read past their end.
constexpr std::string_view kDigits = "12345";
constexpr std::string_view kExponent = "0.25e2";

TEST(TextNumbersTest, IntegersAsTheHeaderFieldsHoldThem) {
    // clang-format off
    const std::pair<std::string_view, std::int32_t> cases[] = {
        {"05", 5}, {"2014年", 2014}, {" \t7", 7}, {"\u30007", 7}, {"+3", 3}, {"-12x", -12},
        {"x1", 0}, {"", 0}, {"-", 0}, {"1 2", 1}, {"\n5", 0}, {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1}, {kDigits.substr(0, 2), 12}};
    // clang-format on
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(intValue(text), expected) << text;
    }
}

TEST(TextNumbersTest, DecimalsRoundOnceIntoSinglePrecision) {
    // clang-format off
    const std::pair<std::string_view, float> cases[] = {
        {"65.30", 65.3f}, {" 0.12346\n", 0.12346f}, {"-0.5,", -0.5f}, {"+2.5", 2.5f},
        {"-0.00", -0.0f}, {"1e3", 1000.0f}, {"1E-2x", 0.01f}, {"1e", 1.0f}, {"2e+", 2.0f},
        {".5", 0.5f}, {"5.", 5.0f}, {"ERROR\n", 0.0f}, {"nan", 0.0f}, {"-", 0.0f}, {".", 0.0f},
        {"1e39", kInf}, {"-1e39", -kInf}, {"0.0000001e39", 1e32f}, {"1e-50", 0.0f},
        {"-1e-50", -0.0f}, {"1e999999999999", kInf}, {kExponent.substr(0, 4), 0.25f},
        {kExponent.substr(0, 5), 0.25f},
        // Just above the midpoint of 1 and the next float: a detour through double would
        // round to the midpoint and then down to 1.
        {"1.0000000596046447753906251", 1.00000012f}};
    // clang-format on
    for (const auto& [text, expected] : cases) {
        const float value = floatValue(text);
        EXPECT_EQ(value, expected) << text;
        EXPECT_EQ(std::signbit(value), std::signbit(expected)) << text;
    }
}

}  // namespace
}  // namespace nuvisca
