#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <fstream>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "formats/NvdReader.h"
#include "support/NvdBuilder.h"
#include "support/TempDir.h"

namespace nuvisca {
namespace {

using test::NvdBuilder;

class NvdReaderTest : public ::testing::Test {
protected:
    NvdReaderTest() { view.viewWidth = 1000.0f; }

    bool load(const NvdBuilder& file) {
        file.writeTo(path);
        return readNVDFile(path, *store, view);
    }

    std::array<float, 4> values(std::size_t k) const {
        return {store->rso2Data[k], store->oxhbData[k], store->dxhbData[k], store->tohbData[k]};
    }

    test::TempDir dir;
    std::filesystem::path path = dir.file("recording.NVD");
    std::unique_ptr<MeasurementStore> store = makeMeasurementStore();
    GraphViewState view;
};

// Record r carries oxHb 0.25 + r / 10000, so every slot shows which record landed in it.
float oxhbFor(std::size_t r) {
    return 0.25f + 0.0001f * static_cast<float>(r);
}

struct Rec {
    std::uint8_t second, minute, hour, flag;
};

Rec at(int h, int m, int s, std::uint8_t flag) {
    return {NvdBuilder::bcd(s), NvdBuilder::bcd(m), NvdBuilder::bcd(h), flag};
}
Rec stamp(int h, int m, int s) {
    return at(h, m, s, 0x00);
}
Rec gap(int h, int m, int s) {
    return at(h, m, s, 0x80);
}
constexpr Rec kNext{0xFF, 0xFF, 0xFF, 0x00};

struct Placement {
    const char* name;
    std::vector<Rec> records;
    std::string_view slots;  // per slot: 't' a time of its own, 'c' follows on, 'b' a break
    std::vector<std::uint64_t> times;  // tags of the 't' slots
    int start = 36000;                 // header start, seconds since midnight
};

class NvdPlacementTest : public NvdReaderTest, public ::testing::WithParamInterface<Placement> {};

TEST_P(NvdPlacementTest, RecordsLandInTheirSlots) {
    const Placement& c = GetParam();
    NvdBuilder file;
    file.start(2013, 7, 15, c.start / 3600, c.start / 60 % 60, c.start % 60).end(23, 59, 59);
    for (std::size_t r = 0; r < c.records.size(); ++r) {
        const Rec& b = c.records[r];
        file.record(b.second, b.minute, b.hour, b.flag, 0.5f, oxhbFor(r), 0.25f);
    }
    ASSERT_TRUE(load(file));
    ASSERT_EQ(store->sampleCount, static_cast<std::int32_t>(c.slots.size()));
    std::size_t record = 0;
    std::size_t time = 0;
    for (std::size_t k = 0; k < c.slots.size(); ++k) {
        const float ox = c.slots[k] == 'b' ? noDataValue : oxhbFor(record++);
        const auto expected = c.slots[k] == 'b' ? std::array{ox, ox, ox, ox}
                                                : std::array{50.0f, ox, 0.25f, ox + 0.25f};
        EXPECT_EQ(values(k), expected) << "slot " << k;
        EXPECT_EQ(store->sampleTime[k], c.slots[k] == 't' ? c.times.at(time++) : continuationTag)
            << "slot " << k;
    }
    EXPECT_EQ(record, c.records.size());
}

// clang-format off
const Placement kPlacements[] = {
    {"ContinuationsThenGap", {stamp(10, 0, 0), kNext, kNext, gap(10, 0, 5)}, "tccbbbbbbc", {36000}},
    {"GapOneSecondAfterTimeStamp", {stamp(10, 0, 0), gap(10, 0, 1)}, "tbc", {36000}},
    {"GapAtTheTimeOfTheTimeStamp", {stamp(10, 0, 0), gap(10, 0, 0)}, "tbc", {36000}},
    {"AfterGapCountsFromTheGap", {stamp(10, 0, 0), gap(10, 0, 5), kNext, gap(10, 0, 10)},
     "tbbbbbbbbbccbbbbbbbc", {36000}},
    {"HeaderStartAnchorsBeforeAnyTimeStamp", {kNext, gap(10, 0, 2)}, "cbbc", {}},
    {"TimeStampReanchors", {stamp(10, 0, 0), kNext, stamp(10, 0, 10), kNext, gap(10, 0, 13)},
     "tctcbbbc", {36000, 36010}},
    {"MidnightBreaksOnce", {stamp(23, 59, 59), kNext, gap(0, 0, 1)}, "tcbc", {86399}, 86398},
    // Any FF time byte makes a continuation whatever the flag; so does any flag but 00 and 80.
    {"RecordKinds", {stamp(10, 0, 0), {0xFF, 0xFF, 0xFF, 0x80}, {0x05, 0x00, 0xFF, 0x80},
     {0xFF, 0x00, 0x10, 0x80}, {0x05, 0x00, 0x10, 0x01}, {0x05, 0x00, 0x10, 0x7F},
     {0x05, 0x00, 0x10, 0x81}}, "tcccccc", {36000}},
    {"BcdWithoutNibbleChecks", {{0x0A, 0x00, 0x10, 0x00}, {0x00, 0x0F, 0x10, 0x00}}, "tt",
     {36010, 36900}}};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Cases, NvdPlacementTest, ::testing::ValuesIn(kPlacements),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(NvdReaderTest, HeaderDateKeyDeviceIdAndVisibleRange) {
    NvdBuilder file;
    file.start(2013, 7, 15, 9, 5, 30).end(10, 6, 40).continuation(0.5f, 0.4f, 0.2f);
    file.deviceId(std::string("49\0A \xFF", 6) + "4567894").writeTo(path);
    EXPECT_EQ(getDateFromNVD(path), 130715090530);
    ASSERT_TRUE(load(file));
    const MeasurementStore& s = *store;
    EXPECT_STREQ(s.deviceId.data(), "4900004567894");  // anything but a digit reads as 0
    EXPECT_EQ((std::array{s.startYear, s.startMonth, s.startDay, s.startHour, s.startMinute,
                          s.startSecond, s.endHour, s.endMinute, s.endSecond}),
              (std::array{13, 7, 15, 9, 5, 30, 10, 6, 40}));

    // Over midnight in a wide view, then short in a narrow one.
    view.viewStart = 77;
    ASSERT_TRUE(load(NvdBuilder().start(2013, 7, 15, 23, 0, 0).end(1, 0, 0).recordCount(1)));
    EXPECT_EQ(
        (std::array{s.sampleCount, s.spanSamples, view.viewSpan, view.viewStart, view.viewEnd}),
        (std::array{0, 14400, 900, 0, 900}));
    view.viewWidth = 700.0f;
    ASSERT_TRUE(load(NvdBuilder().end(10, 1, 0).continuation(0.5f, 0.4f, 0.2f)));
    EXPECT_EQ((std::array{s.sampleCount, s.spanSamples, view.viewSpan, view.viewEnd}),
              (std::array{1, 120, 680, 120}));
}

// Bit for bit, so that 0 is not -0; every NaN alike.
std::uint32_t bitsOf(float value) {
    return std::isnan(value) ? 0x7FC00000u : std::bit_cast<std::uint32_t>(value);
}

TEST_F(NvdReaderTest, Rso2InPercentAndToHbOnlyOfTwoPositiveValues) {
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    // clang-format off
    const std::array<float, 5> cases[] = {  // rSO2 fraction, oxHb, dxHb -> rSO2, toHb
        {0.7f, 0.375f, 0.25f, 70.0f, 0.625f}, {0.7f, 0.0f, 0.25f, 70.0f, 0.0f},
        {0.7f, 0.375f, 0.0f, 70.0f, 0.0f}, {-0.5f, -0.375f, 0.25f, -50.0f, 0.0f},
        {kNaN, 0.375f, kNaN, kNaN, 0.0f}, {0.7f, kNaN, 0.25f, 70.0f, 0.0f}};
    // clang-format on
    for (const auto& [fraction, oxhb, dxhb, rso2, tohb] : cases) {
        ASSERT_TRUE(load(NvdBuilder().continuation(fraction, oxhb, dxhb)));
        const std::array<float, 4> got = values(0);
        EXPECT_EQ((std::array{bitsOf(got[0]), bitsOf(got[1]), bitsOf(got[2]), bitsOf(got[3])}),
                  (std::array{bitsOf(rso2), bitsOf(oxhb), bitsOf(dxhb), bitsOf(tohb)}))
            << fraction << " " << oxhb << " " << dxhb;
    }
}

// A header cut short reads its missing bytes as 0; a record cut short is dropped.
TEST_F(NvdReaderTest, ShortHeaderAndTrailingFragment) {
    test::Bytes bytes = NvdBuilder().continuation(0.5f, 0.4f, 0.2f).bytes();
    bytes.resize(20);
    test::writeBytes(path, bytes);
    EXPECT_EQ(getDateFromNVD(path), 130715100000);
    store->sampleCount = 55;
    ASSERT_TRUE(readNVDFile(path, *store, view));
    EXPECT_EQ(store->sampleCount, 0);
    EXPECT_STREQ(store->deviceId.data(), "4901200000000");

    store->oxhbData[3] = 9.0f;
    NvdBuilder file;
    for (int r = 0; r < 4; ++r) {
        file.continuation(0.5f, 0.4f, 0.2f);
    }
    bytes = file.bytes();
    bytes.pop_back();
    test::writeBytes(path, bytes);
    ASSERT_TRUE(readNVDFile(path, *store, view));
    EXPECT_EQ(store->sampleCount, 3);
    EXPECT_EQ(store->oxhbData[3], 9.0f);
}

std::uint64_t bytesReadByThisProcess() {
    std::ifstream io("/proc/self/io");
    std::string key;
    std::uint64_t value = 0;
    while (io >> key >> value) {
        if (key == "rchar:") {
            return value;
        }
    }
    return 0;
}

class NvdCapacityTest : public NvdReaderTest {
protected:
    // A write past the end of an array lands in the next one: past sampleTime in rso2Avg,
    // past the data arrays in slot 0 of the following one.
    NvdCapacityTest() { store->rso2Avg[0] = store->rso2Avg[1] = 9.0f; }

    void expectNeighboursIntact() {
        const MeasurementStore& s = *store;
        EXPECT_EQ(s.sampleTime[0], 36000u);
        EXPECT_EQ(
            (std::array{s.rso2Avg[0], s.rso2Avg[1], s.oxhbData[0], s.dxhbData[0], s.tohbData[0]}),
            (std::array{9.0f, 9.0f, oxhbFor(0), 0.25f, oxhbFor(0) + 0.25f}));
    }

    static NvdBuilder continuations(std::size_t count) {
        NvdBuilder file;
        file.start(2013, 7, 15, 10, 0, 0)
            .end(20, 40, 0)
            .timeStamp(10, 0, 0, 0.5f, oxhbFor(0), 0.25f);
        for (std::size_t r = 1; r < count; ++r) {
            file.continuation(0.5f, oxhbFor(r), 0.25f);
        }
        return file;
    }
};

TEST_F(NvdCapacityTest, AGibibyteFileIsReadOnlyUpToTheCapacity) {
    continuations(100).writeTo(path);
    std::filesystem::resize_file(path, std::uintmax_t{1} << 30);  // sparse: zero records
    const std::uint64_t before = bytesReadByThisProcess();
    EXPECT_EQ(getDateFromNVD(path), 130715100000);
    ASSERT_TRUE(readNVDFile(path, *store, view));
    const std::uint64_t read = bytesReadByThisProcess() - before;
    ASSERT_EQ(store->sampleCount, kSampleCapacity);
    EXPECT_EQ(store->oxhbData[99], oxhbFor(99));
    // All-zero records are time stamps at midnight with zero values.
    EXPECT_EQ(store->sampleTime[kSampleCapacity - 1], 0u);
    EXPECT_EQ(store->oxhbData[kSampleCapacity - 1], 0.0f);
    expectNeighboursIntact();
    if (before != 0) {  // without /proc/self/io nothing is counted
        EXPECT_LT(read, std::uint64_t{kSampleCapacity} * 16 + 4 * 65536);
    }
}

// 76790 samples end at expected count 72000 + 76790; a gap at 20:40:00 (148800) leaves 9
// break slots and lands in the last slot, one second later the breaks reach the capacity.
TEST_F(NvdCapacityTest, GapAcrossTheCapacityFillsItAndEndsTheLoad) {
    for (const int second : {0, 1}) {
        SCOPED_TRACE("gap second " + std::to_string(second));
        NvdBuilder file = continuations(76790);
        file.gap(20, 40, second, 0.6f, 0.45f, 0.25f).continuation(0.6f, 0.46f, 0.25f);
        ASSERT_TRUE(load(file));
        EXPECT_EQ(store->sampleCount, kSampleCapacity);
        EXPECT_EQ(store->oxhbData[76789], oxhbFor(76789));
        for (std::size_t k = 76790; k < 76799; ++k) {
            ASSERT_EQ(store->oxhbData[k], noDataValue) << "slot " << k;
        }
        EXPECT_EQ(store->oxhbData[76799], second == 0 ? 0.45f : noDataValue);
        expectNeighboursIntact();
    }
}

}  // namespace
}  // namespace nuvisca
