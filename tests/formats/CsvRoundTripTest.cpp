#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "formats/CsvReader.h"
#include "formats/CsvTestSupport.h"
#include "formats/CsvWriter.h"
#include "formats/NvdReader.h"
#include "store/MovingAverage.h"
#include "support/NvdBuilder.h"
#include "support/TempDir.h"

namespace nuvisca {
namespace {

// Lines of an export without the toHb column (index 5), which the reader recomputes.
std::vector<std::string> withoutTohb(const std::string& text) {
    std::vector<std::string> lines = test::splitLines(text);
    for (std::size_t k = 3; k < lines.size(); ++k) {
        std::string& line = lines[k];
        std::size_t start = 0;
        for (int comma = 0; comma < 5; ++comma) {
            start = line.find(',', start) + 1;
        }
        line.erase(start, line.find(',', start) - start);
    }
    return lines;
}

std::int64_t dateKeyOf(const MeasurementStore& store) {
    return std::int64_t{store.startYear} * 10'000'000'000 + store.startMonth * 100'000'000 +
           store.startDay * 1'000'000 + store.startHour * 10'000 + store.startMinute * 100 +
           store.startSecond;
}

// Exports the loaded recording, reads the file back and checks what must survive.
void expectRoundTrip(const MeasurementStore& original, const std::filesystem::path& csv) {
    ASSERT_TRUE(saveNVDFile(csv, original, ExportSeries::Measured));
    const auto back = makeMeasurementStore();
    GraphViewState view;
    view.viewWidth = 920.0f;
    ASSERT_TRUE(readCSVFile(csv, *back, view));
    EXPECT_EQ(getDateFromCSV(csv), dateKeyOf(original));
    EXPECT_EQ(std::string(back->deviceId.data()), std::string(original.deviceId.data()));
    EXPECT_EQ(back->startYear, original.startYear);
    EXPECT_EQ(back->startMonth, original.startMonth);
    EXPECT_EQ(back->startDay, original.startDay);
    EXPECT_EQ(startTimeOfDay(*back), startTimeOfDay(original));
    EXPECT_EQ(endTimeOfDay(*back), endTimeOfDay(original));
    EXPECT_EQ(back->spanSamples, original.spanSamples);
    ASSERT_EQ(back->sampleCount, original.sampleCount);

    for (std::size_t k = 0; k < static_cast<std::size_t>(original.sampleCount); ++k) {
        const std::uint64_t expectedTag =
            k == 0 ? static_cast<std::uint64_t>(startTimeOfDay(original)) : original.sampleTime[k];
        ASSERT_EQ(back->sampleTime[k], expectedTag) << "slot " << k;
        if (!(original.oxhbData[k] >= 0.0f)) {
            ASSERT_EQ(back->oxhbData[k], -1.0f) << "slot " << k;
            ASSERT_EQ(back->rso2Data[k], -1.0f) << "slot " << k;
            ASSERT_EQ(back->tohbData[k], -2.0f) << "slot " << k;
            continue;
        }
        ASSERT_NEAR(back->rso2Data[k], original.rso2Data[k], 0.005 + 1e-5) << "slot " << k;
        ASSERT_NEAR(back->oxhbData[k], original.oxhbData[k], 0.000005 + 1e-7) << "slot " << k;
        ASSERT_NEAR(back->dxhbData[k], original.dxhbData[k], 0.000005 + 1e-7) << "slot " << k;
        ASSERT_EQ(back->tohbData[k], back->oxhbData[k] + back->dxhbData[k]) << "slot " << k;
    }
    // Exporting what was read writes the same file, apart from the recomputed toHb.
    EXPECT_EQ(withoutTohb(formatCsvExport(*back, ExportSeries::Measured)),
              withoutTohb(formatCsvExport(original, ExportSeries::Measured)));
}

class CsvRoundTripTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::unique_ptr<MeasurementStore> store = makeMeasurementStore();
    GraphViewState view;

    void loadNvd(const std::filesystem::path& path) {
        ASSERT_TRUE(readNVDFile(path, *store, view));
    }
};

TEST_F(CsvRoundTripTest, DeviceRecordingWithGapRestartAndEmptySlotsComesBack) {
    test::NvdBuilder()
        .start(2014, 5, 12, 10, 0, 0)
        .end(10, 1, 0)
        .deviceId("01234x6789012")
        .timeStamp(10, 0, 0, 0.653f, 0.123456f, 0.05f)
        .continuation(0.66f, 0.2f, -0.01f)  // toHb 0 on the device side
        .continuation(0.67f, -1.0f, 0.1f)   // no data: an ERROR row
        .gap(10, 0, 5, 0.68f, 0.3f, 0.2f)   // break slots before it
        .continuation(-1.0f, 0.31f, 0.21f)  // negative rSO2 is still written
        .timeStamp(10, 0, 30, 0.7f, 0.32f, 0.22f)
        .continuation(0.71f, 0.33f, 0.23f)
        .writeTo(dir.file("in.NVD"));
    loadNvd(dir.file("in.NVD"));
    ASSERT_EQ(store->sampleCount, 13);
    expectRoundTrip(*store, dir.file("out.csv"));
}

class CsvSampleRoundTripTest : public CsvRoundTripTest,
                               public ::testing::WithParamInterface<const char*> {};

TEST_P(CsvSampleRoundTripTest, SampleRecordingComesBack) {
    loadNvd(std::filesystem::path(NUVISCA_SAMPLES_DIR) / GetParam());
    expectRoundTrip(*store, dir.file("out.csv"));
}

INSTANTIATE_TEST_SUITE_P(Samples, CsvSampleRoundTripTest,
                         ::testing::Values("short-3min.NVD", "two-hours-pause-restart.NVD",
                                           "over-midnight.NVD"));

TEST_F(CsvRoundTripTest, AveragedExportLoadsItsAveragesAsTheMeasuredSeries) {
    loadNvd(std::filesystem::path(NUVISCA_SAMPLES_DIR) / "short-3min.NVD");
    store->averageWindow = 9;
    Create_Av_data(*store);
    const auto csv = dir.file("avg.csv");
    ASSERT_TRUE(saveNVDFile(csv, *store, ExportSeries::Averaged));
    EXPECT_EQ(test::splitLines(test::readBytes(csv))[1], "移動平均,10,終了時刻,,,08時33分00");
    const auto back = makeMeasurementStore();
    ASSERT_TRUE(readCSVFile(csv, *back, view));
    ASSERT_EQ(back->sampleCount, store->sampleCount);
    for (std::size_t k = 0; k < static_cast<std::size_t>(store->sampleCount); ++k) {
        ASSERT_NEAR(back->rso2Data[k], store->rso2Avg[k], 0.005 + 1e-5) << k;
        ASSERT_NEAR(back->oxhbData[k], store->oxhbAvg[k], 0.000005 + 1e-7) << k;
    }
}

}  // namespace
}  // namespace nuvisca
