#include <gtest/gtest.h>

#include <regex>
#include <utility>

#include "formats/CsvReader.h"
#include "formats/CsvTestSupport.h"
#include "formats/CsvWriter.h"
#include "formats/NvdReader.h"

namespace nuvisca {
namespace {

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
        std::vector<std::pair<std::size_t, std::uint64_t>> timeStamps;  // slot, time of day
    };
    // clang-format off
    const Case cases[] = {
        {"short-3min.NVD", "7205318640021", 240514083000, 360, 360, 0, {{0, 30600}}},
        {"two-hours-pause-restart.NVD", "7205318640038", 240514090000, 13199, 14400, 1199, {{0, 32400}, {10799, 38400}}},
        {"over-midnight.NVD", "7205318640045", 240514232000, 8400, 9600, 0, {{0, 84000}, {4200, 300}}}};
    // clang-format on
    const test::TempDir dir;
    GraphViewState view;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const auto nvd = std::filesystem::path(NUVISCA_SAMPLES_DIR) / c.file;
        const auto store = makeMeasurementStore();
        EXPECT_EQ(getDateFromNVD(nvd), c.dateKey);
        ASSERT_TRUE(readNVDFile(nvd, *store, view));
        EXPECT_STREQ(store->deviceId.data(), c.deviceId);
        std::int32_t breaks = 0;
        std::vector<std::pair<std::size_t, std::uint64_t>> timeStamps;
        for (std::size_t k = 0; k < static_cast<std::size_t>(store->sampleCount); ++k) {
            if (store->sampleTime[k] != continuationTag) {
                timeStamps.emplace_back(k, store->sampleTime[k]);
            }
            breaks += store->oxhbData[k] == noDataValue ? 1 : 0;
        }
        EXPECT_EQ((std::array{store->sampleCount, store->spanSamples, breaks}),
                  (std::array{c.sampleCount, c.spanSamples, c.breakSlots}));
        EXPECT_EQ(timeStamps, c.timeStamps);
        const auto csv = dir.file("out.csv");
        ASSERT_TRUE(saveNVDFile(csv, *store, ExportSeries::Measured));
        const auto back = makeMeasurementStore();
        ASSERT_TRUE(readCSVFile(csv, *back, view));
        EXPECT_EQ(getDateFromCSV(csv), c.dateKey);
        EXPECT_EQ(back->spanSamples, c.spanSamples);
        EXPECT_EQ(withoutTohb(*back), withoutTohb(*store));
    }
}

}  // namespace
}  // namespace nuvisca
