#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "formats/CsvReader.h"
#include "formats/CsvTestSupport.h"
#include "formats/CsvWriter.h"
#include "formats/NvdReader.h"
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

struct SampleCase {
    const char* file;
    std::int64_t dateKey;
    const char* deviceId;
    std::int32_t sampleCount, spanSamples, breakSlots;
    std::vector<std::pair<std::size_t, std::uint64_t>> timeStamps;  // slot, time of day
};

class SampleRecordingsTest : public ::testing::TestWithParam<SampleCase> {};

// The committed samples (a short one, one with a pause and a restart, one over midnight)
// load as samples/README.md describes them. Exported, read back and exported again they
// give the same text: header, device id, restart marks and times, and every value as
// printed, apart from toHb, which the reader recomputes from oxHb and dxHb.
TEST_P(SampleRecordingsTest, LoadAsDescribedAndComeBackFromAnExport) {
    const SampleCase& c = GetParam();
    const std::filesystem::path nvd = std::filesystem::path(NUVISCA_SAMPLES_DIR) / c.file;
    const auto store = makeMeasurementStore();
    GraphViewState view;
    EXPECT_EQ(getDateFromNVD(nvd), c.dateKey);
    ASSERT_TRUE(readNVDFile(nvd, *store, view));
    EXPECT_STREQ(store->deviceId.data(), c.deviceId);
    EXPECT_EQ((std::array{store->sampleCount, store->spanSamples}),
              (std::array{c.sampleCount, c.spanSamples}));
    std::int32_t breaks = 0;
    std::vector<std::pair<std::size_t, std::uint64_t>> timeStamps;
    for (std::size_t k = 0; k < static_cast<std::size_t>(store->sampleCount); ++k) {
        if (store->sampleTime[k] != continuationTag) {
            timeStamps.emplace_back(k, store->sampleTime[k]);
        }
        const float r = store->rso2Data[k], o = store->oxhbData[k], d = store->dxhbData[k];
        breaks += o == noDataValue ? 1 : 0;
        ASSERT_TRUE(o == noDataValue ||
                    (r >= 55 && r <= 80 && o >= 0.3f && o <= 0.5f && d >= 0.15f && d <= 0.3f))
            << "slot " << k << ": " << r << " " << o << " " << d;
    }
    EXPECT_EQ(breaks, c.breakSlots);
    EXPECT_EQ(timeStamps, c.timeStamps);

    const test::TempDir dir;
    const auto csv = dir.file("out.csv");
    ASSERT_TRUE(saveNVDFile(csv, *store, ExportSeries::Measured));
    const auto back = makeMeasurementStore();
    ASSERT_TRUE(readCSVFile(csv, *back, view));
    EXPECT_EQ(getDateFromCSV(csv), c.dateKey);
    EXPECT_EQ((std::array{back->sampleCount, back->spanSamples}),
              (std::array{c.sampleCount, c.spanSamples}));
    EXPECT_EQ(withoutTohb(formatCsvExport(*back, ExportSeries::Measured)),
              withoutTohb(formatCsvExport(*store, ExportSeries::Measured)));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Samples, SampleRecordingsTest, ::testing::Values(
    SampleCase{"short-3min.NVD", 240514083000, "7205318640021", 360, 360, 0, {{0, 30600}}},
    SampleCase{"two-hours-pause-restart.NVD", 240514090000, "7205318640038", 13199, 14400, 1199,
               {{0, 32400}, {10799, 38400}}},
    SampleCase{"over-midnight.NVD", 240514232000, "7205318640045", 8400, 9600, 0,
               {{0, 84000}, {4200, 300}}}));
// clang-format on

}  // namespace
}  // namespace nuvisca
