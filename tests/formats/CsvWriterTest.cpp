#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "formats/CsvTestSupport.h"
#include "formats/CsvWriter.h"
#include "support/TempDir.h"

namespace nuvisca {
namespace {

using test::kMeasuredHeader;
using test::makeRecording;
using test::setSample;
using test::splitLines;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(CsvWriterTest, WithoutSamplesWritesTheThreeHeaderLines) {
    const auto store = makeRecording(0);
    EXPECT_EQ(formatCsvExport(*store, ExportSeries::Measured), kMeasuredHeader);
}

TEST(CsvWriterTest, AveragedExportNamesTheNumberTheBoxShows) {
    auto store = makeRecording(1);
    store->averageWindow = 4;
    store->rso2Avg[0] = 50.0f;
    store->oxhbAvg[0] = 0.5f;
    store->dxhbAvg[0] = 0.25f;
    store->tohbAvg[0] = 0.75f;
    const auto lines = splitLines(formatCsvExport(*store, ExportSeries::Averaged));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], "移動平均,5,終了時刻,,,10時25分00");
    EXPECT_EQ(lines[3], "10:20:30,00:00:00,50.00,0.50000,0.25000,0.75000");
    EXPECT_EQ(splitLines(formatCsvExport(*store, ExportSeries::Measured))[3],
              "10:20:30,00:00:00,1.00,1.00000,1.00000,2.00000");
}

TEST(CsvWriterTest, SampleLinesCountHalfSecondsAndMarkRestarts) {
    auto store = makeRecording(7);
    setSample(*store, 1, continuationTag, 65.3f, 0.123456f, 0.0f, 0.123456f);
    setSample(*store, 2, continuationTag, -100.0f, 0.0f, -0.5f, 0.0f);  // oxHb 0 has numbers
    setSample(*store, 3, continuationTag, 70.0f, -1.0f, 0.2f, 0.0f);    // oxHb decides ERROR
    setSample(*store, 4, 37260, 71.0f, 0.5f, 0.25f, 0.75f);             // restart 10:21:00
    setSample(*store, 5, continuationTag, 72.0f, 0.5f, 0.25f, 0.75f);
    setSample(*store, 6, 37262, -1.0f, kNaN, -1.0f, -1.0f);  // restart without data
    const std::string text = formatCsvExport(*store, ExportSeries::Measured);
    ASSERT_TRUE(text.starts_with(kMeasuredHeader));
    EXPECT_EQ(text.substr(kMeasuredHeader.size()),
              "10:20:30,00:00:00,1.00,1.00000,1.00000,2.00000\n"
              "10:20:30,00:00:00,65.30,0.12346,0.00000,0.12346\n"
              "10:20:31,00:00:01,-100.00,0.00000,-0.50000,0.00000\n"
              "10:20:31,00:00:01,ERROR,ERROR,ERROR,ERROR\n"
              "10:21:00,00:00:30,71.00,0.50000,0.25000,0.75000,restart\n"
              "10:21:00,00:00:30,72.00,0.50000,0.25000,0.75000\n"
              "10:21:02,00:00:32,ERROR,ERROR,ERROR,ERROR,restart\n");
}

TEST(CsvWriterTest, ClockWrapsAtMidnightAndAnEarlierRestartLiesOnTheNextDay) {
    auto store = makeRecording(4);
    store->sampleTime[0] = 86399;  // 23:59:59
    store->sampleTime[3] = 10;     // 00:00:10, earlier in the day than sample 0
    const auto lines = splitLines(formatCsvExport(*store, ExportSeries::Measured));
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_TRUE(lines[3].starts_with("23:59:59,00:00:00,"));
    EXPECT_TRUE(lines[4].starts_with("23:59:59,00:00:00,"));
    EXPECT_TRUE(lines[5].starts_with("00:00:00,00:00:01,"));
    EXPECT_TRUE(lines[6].starts_with("00:00:10,00:00:11,")) << lines[6];
    EXPECT_TRUE(lines[6].ends_with(",restart"));
}

TEST(CsvWriterTest, FirstSampleWithoutItsOwnTimeStartsAtTheHeaderTime) {
    auto store = makeRecording(3);
    store->sampleTime[0] = continuationTag;
    store->sampleTime[2] = 37240;  // 10:20:40
    const auto lines = splitLines(formatCsvExport(*store, ExportSeries::Measured));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[3], "10:20:30,00:00:00,1.00,1.00000,1.00000,2.00000");
    EXPECT_EQ(lines[4], "10:20:30,00:00:00,1.00,1.00000,1.00000,2.00000");
    EXPECT_EQ(lines[5], "10:20:40,00:00:10,1.00,1.00000,1.00000,2.00000,restart");
    EXPECT_EQ(store->sampleTime[0], continuationTag);
}

TEST(CsvWriterTest, LongRecordingsShowElapsedHoursPastADay) {
    auto store = makeRecording(2);
    store->sampleTime[0] = 0;
    store->sampleTime[1] = 86399;  // elapsed 23:59:59 without a wrap of the hours
    const auto lines = splitLines(formatCsvExport(*store, ExportSeries::Measured));
    EXPECT_TRUE(lines[4].starts_with("23:59:59,23:59:59,")) << lines[4];
}

// The numbers must match printf "%2.2f" / "%2.5f" of the float widened to double, for
// ordinary values, exact ties, extremes, infinities and NaNs alike.
TEST(CsvWriterTest, NumbersRoundExactlyAsPrintf) {
    auto store = makeRecording(kSampleCapacity);
    std::mt19937 random(12345);
    std::uniform_int_distribution<std::uint32_t> bits;
    std::uniform_real_distribution<float> plain(-200.0f, 200.0f);
    std::uniform_int_distribution<int> ticks(-100000, 100000);
    const float specials[] = {0.0f,
                              -0.0f,
                              0.005f,
                              0.125f,
                              0.375f,
                              2.5f,
                              0.000005f,
                              1e-45f,
                              3.4e38f,
                              -3.4e38f,
                              kNaN,
                              -kNaN,
                              std::numeric_limits<float>::infinity(),
                              16777215.0f,
                              16777216.0f,
                              8388607.5f,
                              -0.001f,
                              -0.000004f,
                              0.015625f,
                              1.17549435e-38f,
                              99.995f};
    auto draw = [&](std::size_t i, int kind) {
        switch ((i + static_cast<std::size_t>(kind)) % 4) {
            case 0:
                return std::bit_cast<float>(bits(random));
            case 1:  // near the largest exactly scaled values and far below 1
                return i % 3 == 0 ? std::ldexp(plain(random), static_cast<int>(i % 40) - 20)
                                  : plain(random);
            case 2:
                return static_cast<float>(ticks(random)) / 64.0f;  // ties at 2 and 5 places
            default:
                return specials[(i / 4 + static_cast<std::size_t>(kind)) % std::size(specials)];
        }
    };
    for (std::size_t i = 0; i < kSampleCapacity; ++i) {
        float oxhb = std::fabs(draw(i, 1));
        if (std::isnan(oxhb)) {
            oxhb = 0.5f;
        }
        setSample(*store, i, continuationTag, draw(i, 0), oxhb, draw(i, 2), draw(i, 3));
    }
    store->sampleTime[0] = 37230;
    const auto lines = splitLines(formatCsvExport(*store, ExportSeries::Measured));
    ASSERT_EQ(lines.size(), 3u + kSampleCapacity);
    char expected[512];
    for (std::size_t i = 0; i < kSampleCapacity; ++i) {
        std::snprintf(
            expected, sizeof expected, "%2.2f,%2.5f,%2.5f,%2.5f",
            static_cast<double>(store->rso2Data[i]), static_cast<double>(store->oxhbData[i]),
            static_cast<double>(store->dxhbData[i]), static_cast<double>(store->tohbData[i]));
        const std::string& line = lines[3 + i];
        ASSERT_EQ(line.substr(18), expected) << "slot " << i;
    }
}

class CsvSaveTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::unique_ptr<MeasurementStore> store = makeRecording(5);

    std::size_t entriesInDir() const {
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()));
    }
};

TEST_F(CsvSaveTest, WritesTheExportTextAndReplacesAnOlderFileWhole) {
    const auto target = dir.file("out.csv");
    test::writeText(target, std::string(100000, 'x'));
    ASSERT_TRUE(saveNVDFile(target, *store, ExportSeries::Measured));
    EXPECT_EQ(test::readBytes(target), formatCsvExport(*store, ExportSeries::Measured));
    EXPECT_EQ(entriesInDir(), 1u);
}

TEST_F(CsvSaveTest, FailsIntoAMissingFolderOrBelowAFile) {
    EXPECT_FALSE(saveNVDFile(dir.file("missing") / "out.csv", *store, ExportSeries::Measured));
    test::writeText(dir.file("plain"), "keep");
    EXPECT_FALSE(saveNVDFile(dir.file("plain") / "out.csv", *store, ExportSeries::Measured));
    EXPECT_EQ(test::readBytes(dir.file("plain")), "keep");
    EXPECT_EQ(entriesInDir(), 1u);
}

TEST_F(CsvSaveTest, FailureToMoveIntoPlaceLeavesTheTargetAndNoTemporaryFile) {
    const auto target = dir.file("taken.csv");
    std::filesystem::create_directory(target);
    test::writeText(target / "inside", "keep");
    EXPECT_FALSE(saveNVDFile(target, *store, ExportSeries::Measured));
    EXPECT_TRUE(std::filesystem::is_directory(target));
    EXPECT_EQ(test::readBytes(target / "inside"), "keep");
    EXPECT_EQ(entriesInDir(), 1u);
}

}  // namespace
}  // namespace nuvisca
