#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "formats/CsvReader.h"
#include "formats/CsvTestSupport.h"
#include "support/TempDir.h"

namespace nuvisca {
namespace {

using test::kMeasuredHeader;

constexpr std::string_view kLine1 = "RM27,ID 0123456789012,測定日時,2014年,05月12日,10時20分30\n";

class CsvReaderTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::unique_ptr<MeasurementStore> store = test::makeRecording(3);
    GraphViewState view;

    CsvReaderTest() { view.viewWidth = 1000.0f; }

    std::filesystem::path write(std::string_view text) {
        const auto path = dir.file("in.csv");
        test::writeText(path, text);
        return path;
    }

    // Loads the header of an export followed by the given data lines.
    void load(std::string_view dataLines) {
        ASSERT_TRUE(readCSVFile(write(std::string(kMeasuredHeader) + std::string(dataLines)),
                                *store, view));
    }

    std::uint64_t tag(std::size_t slot) const { return store->sampleTime[slot]; }
};

TEST_F(CsvReaderTest, ReadsHeaderDeviceIdAndDateKey) {
    const auto path = write(std::string(kLine1) + ",,終了時刻,,,11時05分09\n");
    EXPECT_EQ(getDateFromCSV(path), 140512102030);
    store = makeMeasurementStore();
    ASSERT_TRUE(readCSVFile(path, *store, view));
    EXPECT_STREQ(store->deviceId.data(), "0123456789012");
    EXPECT_EQ(store->startYear, 14);
    EXPECT_EQ(store->startMonth, 5);
    EXPECT_EQ(store->startDay, 12);
    EXPECT_EQ(store->startHour, 10);
    EXPECT_EQ(store->startMinute, 20);
    EXPECT_EQ(store->startSecond, 30);
    EXPECT_EQ(store->endHour, 11);
    EXPECT_EQ(store->endMinute, 5);
    EXPECT_EQ(store->endSecond, 9);
    EXPECT_EQ(store->sampleCount, 0);
    EXPECT_EQ(store->spanSamples, 2 * (44 * 60 + 39));
    EXPECT_EQ(view.viewSpan, 900);
    EXPECT_EQ(view.viewStart, 0);
    EXPECT_EQ(view.viewEnd, 900);
}

TEST_F(CsvReaderTest, OddHeaderFieldsReadWhatTheyHold) {
    // Trailing empty fields, an identifier with letters and a NUL, a short year, a CR end,
    // and line 2 without a sixth field.
    const std::string text =
        std::string("RM27,ID 12a4") + '\0' + "x6,測定日時,14年,5月,10時20分30,,,\r移動平均,5\r";
    const auto path = write(text);
    EXPECT_EQ(getDateFromCSV(path), 140500102030);
    ASSERT_TRUE(readCSVFile(path, *store, view));
    EXPECT_STREQ(store->deviceId.data(), "1204006000000");
    EXPECT_EQ(store->startYear, 14);
    EXPECT_EQ(store->startMonth, 5);
    EXPECT_EQ(store->startDay, 0);
    EXPECT_EQ(store->startSecond, 30);
    EXPECT_EQ(store->endHour, 0);
    EXPECT_EQ(store->endSecond, 0);
}

TEST_F(CsvReaderTest, RejectsFilesThatAreNotExportsAndLeavesTheStore) {
    const std::string cases[] = {
        "RM2",                                             // too short
        "QM42,ID 0123456789012\n",                         // another tag
        "\xEF\xBB\xBFRM27,ID 0123456789012\n",             // a byte-order mark comes first
        "RM27,ID 01234\xC0\x80\n",                         // overlong NUL
        "RM27,ID 01234\xED\xA0\x80\n",                     // a surrogate
        "RM27,ID 01234\xE6\xB8\n",                         // a cut sequence
        "RM27,ID 01234\xF5\x80\x80\x80\n",                 // beyond U+10FFFF
        std::string(kMeasuredHeader) + "10:20:30,\xFF\n",  // invalid far from the start
    };
    for (const std::string& text : cases) {
        const auto path = write(text);
        EXPECT_EQ(getDateFromCSV(path), 0) << text;
        EXPECT_FALSE(readCSVFile(path, *store, view)) << text;
        EXPECT_EQ(store->sampleCount, 3);
        EXPECT_STREQ(store->deviceId.data(), "0123456789012");
    }
    EXPECT_EQ(getDateFromCSV(dir.file("missing.csv")), 0);
    EXPECT_FALSE(readCSVFile(dir.path(), *store, view));
    EXPECT_EQ(store->sampleCount, 3);
}

TEST_F(CsvReaderTest, ReadsValuesErrorRowsAndTheirSums) {
    load(
        "10:20:30,00:00:00,65.30,0.12346,0.05000,0.17346\n"
        "10:20:30,00:00:00,ERROR,ERROR,ERROR,ERROR\n"
        "10:20:31,00:00:01,-100.00,0.00000,-0.50000,0.00000\n");
    ASSERT_EQ(store->sampleCount, 3);
    EXPECT_EQ(store->rso2Data[0], 65.3f);
    EXPECT_EQ(store->oxhbData[0], 0.12346f);
    EXPECT_EQ(store->dxhbData[0], 0.05f);
    EXPECT_EQ(store->tohbData[0], 0.12346f + 0.05f);
    EXPECT_EQ(store->rso2Data[1], -1.0f);
    EXPECT_EQ(store->oxhbData[1], -1.0f);
    EXPECT_EQ(store->dxhbData[1], -1.0f);
    EXPECT_EQ(store->tohbData[1], -2.0f);
    EXPECT_EQ(store->rso2Data[2], -100.0f);
    EXPECT_EQ(store->tohbData[2], -0.5f);
}

struct TagCase {
    const char* name;
    std::string_view firstTime;
    std::string_view secondLine;
    std::uint64_t expected;
};

class CsvTagTest : public CsvReaderTest, public ::testing::WithParamInterface<TagCase> {};

TEST_P(CsvTagTest, SecondSlotTag) {
    load(std::string(GetParam().firstTime) + ",00:00:00,1,1,1,2\n" +
         std::string(GetParam().secondLine));
    ASSERT_EQ(store->sampleCount, 2);
    EXPECT_EQ(tag(0), 37230u);  // the start time of line 1, whatever the line's own time
    EXPECT_EQ(tag(1), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, CsvTagTest,
    ::testing::Values(
        TagCase{"Gap", "10:00:05", "10:00:09,00:00:04,1,1,1,2\n", 36009},
        TagCase{"StepBack", "10:00:07", "10:00:05,00:00:00,1,1,1,2\n", 36005},
        TagCase{"Midnight", "23:59:59", "00:00:00,00:00:01,1,1,1,2\n", continuationTag},
        TagCase{"SameSecond", "10:00:05", "10:00:05,00:00:00,1,1,1,2\n", continuationTag},
        TagCase{"NextSecond", "10:00:05", "10:00:06,00:00:01,1,1,1,2\n", continuationTag},
        TagCase{"Restart", "10:00:05", "10:00:06,00:00:01,1,1,1,2,restart\n", 36006},
        TagCase{"RestartAtEnd", "10:00:05", "10:00:06,00:00:01,1,1,1,2,restart", 36006},
        TagCase{"RestartCrLf", "10:00:05", "10:00:06,00:00:01,1,1,1,2,restart\r\n", 36006},
        TagCase{"RestartPrefix", "10:00:05", "10:00:06,00:00:01,1,1,1,2,restartX\n", 36006},
        TagCase{"ShortMark", "10:00:05", "10:00:06,00:00:01,1,1,1,2,restar\n", continuationTag},
        TagCase{"PrefixNotLast", "10:00:05", "10:00:06,00:00:01,1,1,1,2,restartX,\n",
                continuationTag}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(CsvReaderTest, FindsColumnsByTheirHeadings) {
    const std::string text = std::string(kLine1) +
                             ",,終了時刻,,,10時25分00\n"
                             "dxHb[Index],x,rSO2[%],測定時刻,oxHb[Index],,y\n"
                             "0.25,,60.5,10:20:30,0.5,,restart\n"
                             "0.5,,61.5,10:20:40,0.75\n";
    ASSERT_TRUE(readCSVFile(write(text), *store, view));
    ASSERT_EQ(store->sampleCount, 2);
    EXPECT_EQ(store->dxhbData[1], 0.5f);
    EXPECT_EQ(store->rso2Data[1], 61.5f);
    EXPECT_EQ(store->oxhbData[1], 0.75f);
    EXPECT_EQ(tag(1), 37240u);
}

TEST_F(CsvReaderTest, HeadingInTheLastColumnNeverMatchesAndMissingChannelsReadNoData) {
    const std::string text = std::string(kLine1) +
                             ",,終了時刻,,,10時25分00\n"
                             "測定時刻,rSO2[%],dxHb[Index]\n"
                             "10:20:30,70,0.5\n";
    ASSERT_TRUE(readCSVFile(write(text), *store, view));
    ASSERT_EQ(store->sampleCount, 1);
    EXPECT_EQ(store->rso2Data[0], 70.0f);
    EXPECT_EQ(store->oxhbData[0], -1.0f);
    EXPECT_EQ(store->dxhbData[0], -1.0f);
}

TEST_F(CsvReaderTest, EmptyFieldsKeepThePreviousValues) {
    load(
        "10:20:30,00:00:00,60,0.5,0.25,0.75\n"
        "10:20:30,00:00:00,,0.6,,\n");
    ASSERT_EQ(store->sampleCount, 2);
    EXPECT_EQ(store->rso2Data[1], 60.0f);
    EXPECT_EQ(store->oxhbData[1], 0.6f);
    EXPECT_EQ(store->dxhbData[1], 0.25f);
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
    auto reference = makeMeasurementStore();
    ASSERT_TRUE(readCSVFile(write(lf), *reference, view));
    for (const std::string_view ending : {"\r\n", "\r"}) {
        std::string text;
        for (const char c : lf) {
            text += c == '\n' ? std::string(ending) : std::string(1, c);
        }
        store = makeMeasurementStore();
        ASSERT_TRUE(readCSVFile(write(text), *store, view));
        ASSERT_EQ(store->sampleCount, 2);
        EXPECT_EQ(store->endMinute, reference->endMinute);
        EXPECT_EQ(store->dxhbData[1], reference->dxhbData[1]);
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

TEST_F(CsvReaderTest, ShorterRecordingLeavesLaterSlotsAlone) {
    store->oxhbData[2] = 0.875f;
    load("10:20:30,00:00:00,60,0.5,0.25,0.75\n");
    EXPECT_EQ(store->sampleCount, 1);
    EXPECT_EQ(store->oxhbData[2], 0.875f);
}

}  // namespace
}  // namespace nuvisca
