#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "formats/NvdReader.h"

namespace nuvisca {
namespace {

struct SampleCase {
    std::string file;
    std::int64_t dateKey;
    std::string deviceId;
    std::int32_t sampleCount;
    std::int32_t spanSamples;
    std::int32_t breakSlots;
    std::vector<std::pair<std::size_t, std::uint64_t>> timeStamps;  // slot, time of day
};

class SampleRecordingsTest : public ::testing::TestWithParam<SampleCase> {};

// Guards the committed samples: they load as described in samples/README.md.
TEST_P(SampleRecordingsTest, LoadsAsDescribed) {
    const SampleCase& c = GetParam();
    const std::filesystem::path path = std::filesystem::path(NUVISCA_SAMPLES_DIR) / c.file;
    EXPECT_EQ(getDateFromNVD(path), c.dateKey);

    const auto store = makeMeasurementStore();
    GraphViewState view;
    view.viewWidth = 920.0f;
    ASSERT_TRUE(readNVDFile(path, *store, view));
    EXPECT_EQ(std::string(store->deviceId.data()), c.deviceId);
    EXPECT_EQ(store->sampleCount, c.sampleCount);
    EXPECT_EQ(store->spanSamples, c.spanSamples);

    std::int32_t breaks = 0;
    std::vector<std::pair<std::size_t, std::uint64_t>> timeStamps;
    for (std::size_t k = 0; k < static_cast<std::size_t>(store->sampleCount); ++k) {
        if (store->sampleTime[k] != continuationTag) {
            timeStamps.emplace_back(k, store->sampleTime[k]);
        }
        if (store->oxhbData[k] == noDataValue) {
            ++breaks;
            continue;
        }
        ASSERT_GE(store->rso2Data[k], 55.0f) << "slot " << k;
        ASSERT_LE(store->rso2Data[k], 80.0f) << "slot " << k;
        ASSERT_GE(store->oxhbData[k], 0.3f) << "slot " << k;
        ASSERT_LE(store->oxhbData[k], 0.5f) << "slot " << k;
        ASSERT_GE(store->dxhbData[k], 0.15f) << "slot " << k;
        ASSERT_LE(store->dxhbData[k], 0.3f) << "slot " << k;
    }
    EXPECT_EQ(breaks, c.breakSlots);
    EXPECT_EQ(timeStamps, c.timeStamps);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, SampleRecordingsTest,
    ::testing::Values(
        SampleCase{"short-3min.NVD", 240514083000, "7205318640021", 360, 360, 0, {{0, 30600}}},
        SampleCase{"two-hours-pause-restart.NVD",
                   240514090000,
                   "7205318640038",
                   13199,
                   14400,
                   1199,
                   {{0, 32400}, {10799, 38400}}},
        SampleCase{"over-midnight.NVD",
                   240514232000,
                   "7205318640045",
                   8400,
                   9600,
                   0,
                   {{0, 84000}, {4200, 300}}}));

}  // namespace
}  // namespace nuvisca
