#include <gtest/gtest.h>

#include <sys/stat.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <string>
#include <type_traits>
#include <vector>

#include "formats/NvdReader.h"
#include "support/NvdBuilder.h"
#include "support/TempDir.h"

namespace nuvisca {
namespace {

using test::Bytes;
using test::NvdBuilder;
using test::TempDir;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

template <class Case>
std::string caseName(const ::testing::TestParamInfo<Case>& test) {
    return test.param.name;
}

template <class T>
Bytes snapshot(const T& value) {
    static_assert(std::is_trivially_copyable_v<T>);
    Bytes bytes(sizeof(T));
    std::memcpy(bytes.data(), &value, sizeof(T));
    return bytes;
}

class NvdReaderTest : public ::testing::Test {
protected:
    NvdReaderTest() {
        resetMeasurementStore(*store, 0.0f, 0.0f);
        view.viewWidth = 1000.0f;
    }

    std::filesystem::path write(const NvdBuilder& file) const {
        const auto path = dir.file("recording.NVD");
        file.writeTo(path);
        return path;
    }

    bool load(const NvdBuilder& file) { return readNVDFile(write(file), *store, view); }

    // Neither operation may accept the file, and the store and view stay byte for byte.
    void expectNotARecording(const std::filesystem::path& path) {
        std::memset(static_cast<void*>(store.get()), 0xA5, sizeof(MeasurementStore));
        view.viewStart = 123;
        view.viewEnd = 456;
        const Bytes storeBefore = snapshot(*store);
        const Bytes viewBefore = snapshot(view);
        EXPECT_EQ(getDateFromNVD(path), 0);
        EXPECT_FALSE(readNVDFile(path, *store, view));
        EXPECT_TRUE(snapshot(*store) == storeBefore) << "store changed";
        EXPECT_TRUE(snapshot(view) == viewBefore) << "view state changed";
    }

    std::unique_ptr<MeasurementStore> store = makeMeasurementStore();
    GraphViewState view;
    TempDir dir;
};

// Record r of a test file carries values that identify it.
float rso2For(std::size_t r) {
    return 0.5f + 0.001f * static_cast<float>(r % 256);
}
float oxhbFor(std::size_t r) {
    return 0.25f + 0.0001f * static_cast<float>(r);
}
constexpr float kDxhb = 0.2f;

struct RecordBytes {
    std::uint8_t second, minute, hour, flag;
};

RecordBytes timeStamp(int h, int m, int s) {
    return {NvdBuilder::bcd(s), NvdBuilder::bcd(m), NvdBuilder::bcd(h), 0x00};
}
RecordBytes gap(int h, int m, int s) {
    return {NvdBuilder::bcd(s), NvdBuilder::bcd(m), NvdBuilder::bcd(h), 0x80};
}
constexpr RecordBytes kContinuation{0xFF, 0xFF, 0xFF, 0x00};

struct PlacementCase {
    std::string name;
    int startOfDay;  // header start, seconds since midnight
    std::vector<RecordBytes> records;
    // One letter per slot: 't' a slot with its own time, 'c' a sample that follows on,
    // 'b' a break slot.
    std::string slots;
    std::vector<std::uint64_t> times;  // tags of the 't' slots, in order
};

class NvdPlacementTest : public NvdReaderTest,
                         public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(NvdPlacementTest, RecordsLandInTheirSlots) {
    const PlacementCase& c = GetParam();
    NvdBuilder file;
    const int start = c.startOfDay;
    file.start(2013, 7, 15, start / 3600, start / 60 % 60, start % 60).end(23, 59, 59);
    for (std::size_t r = 0; r < c.records.size(); ++r) {
        const RecordBytes& b = c.records[r];
        file.record(b.second, b.minute, b.hour, b.flag, rso2For(r), oxhbFor(r), kDxhb);
    }
    ASSERT_TRUE(load(file));
    ASSERT_EQ(store->sampleCount, static_cast<std::int32_t>(c.slots.size()));

    std::size_t record = 0;
    std::size_t time = 0;
    for (std::size_t k = 0; k < c.slots.size(); ++k) {
        SCOPED_TRACE("slot " + std::to_string(k));
        if (c.slots[k] == 'b') {
            EXPECT_EQ(store->sampleTime[k], continuationTag);
            EXPECT_EQ(store->rso2Data[k], noDataValue);
            EXPECT_EQ(store->oxhbData[k], noDataValue);
            EXPECT_EQ(store->dxhbData[k], noDataValue);
            EXPECT_EQ(store->tohbData[k], noDataValue);
            continue;
        }
        const std::uint64_t tag = c.slots[k] == 't' ? c.times.at(time++) : continuationTag;
        EXPECT_EQ(store->sampleTime[k], tag);
        EXPECT_EQ(store->oxhbData[k], oxhbFor(record));
        ++record;
    }
    EXPECT_EQ(record, c.records.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NvdPlacementTest,
    ::testing::Values(
        PlacementCase{"ContinuationsThenGap",
                      36000,
                      {timeStamp(10, 0, 0), kContinuation, kContinuation, gap(10, 0, 5)},
                      "tccbbbbbbc",
                      {36000}},
        PlacementCase{"GapOneSecondAfterTimeStamp",
                      36000,
                      {timeStamp(10, 0, 0), gap(10, 0, 1)},
                      "tbc",
                      {36000}},
        PlacementCase{"GapAtTheTimeOfTheTimeStamp",
                      36000,
                      {timeStamp(10, 0, 0), gap(10, 0, 0)},
                      "tbc",
                      {36000}},
        PlacementCase{"ContinuationAfterGapCountsFromTheGapSample",
                      36000,
                      {timeStamp(10, 0, 0), gap(10, 0, 5), kContinuation, gap(10, 0, 10)},
                      "tbbbbbbbbbccbbbbbbbc",
                      {36000}},
        PlacementCase{"HeaderStartAnchorsRecordsBeforeAnyTimeStamp",
                      36000,
                      {kContinuation, gap(10, 0, 2)},
                      "cbbc",
                      {}},
        PlacementCase{"TimeStampReanchorsTheClock",
                      36000,
                      {timeStamp(10, 0, 0), kContinuation, timeStamp(10, 0, 10), kContinuation,
                       gap(10, 0, 13)},
                      "tctcbbbc",
                      {36000, 36010}},
        PlacementCase{"GapEarlierThanExpectedAfterMidnightBreaksOnce",
                      86398,
                      {timeStamp(23, 59, 59), kContinuation, gap(0, 0, 1)},
                      "tcbc",
                      {86399}},
        // The kind is decided by the time bytes first, then by the flag.
        PlacementCase{"AllTimeBytesFFWithGapFlagIsAContinuation",
                      36000,
                      {timeStamp(10, 0, 0), {0xFF, 0xFF, 0xFF, 0x80}},
                      "tc",
                      {36000}},
        PlacementCase{"OneTimeByteFFWithGapFlagIsAContinuation",
                      36000,
                      {timeStamp(10, 0, 0), {0x05, 0x00, 0xFF, 0x80}, {0xFF, 0x00, 0x10, 0x80}},
                      "tcc",
                      {36000}},
        PlacementCase{"OtherFlagsAreContinuations",
                      36000,
                      {timeStamp(10, 0, 0),
                       {0x05, 0x00, 0x10, 0x01},
                       {0x05, 0x00, 0x10, 0x7F},
                       {0x05, 0x00, 0x10, 0x81}},
                      "tccc",
                      {36000}},
        PlacementCase{"TimeBcdIsDecodedWithoutNibbleChecks",
                      36000,
                      {{0x0A, 0x00, 0x10, 0x00}, {0x00, 0x0F, 0x10, 0x00}},
                      "tt",
                      {36010, 36900}}),
    caseName<PlacementCase>);

struct HeaderTimesCase {
    std::string name;
    int startHour, startMinute, startSecond;
    int endHour, endMinute, endSecond;
    float viewWidth;
    std::int32_t spanSamples, viewSpan, viewEnd;
};

class NvdHeaderTimesTest : public NvdReaderTest,
                           public ::testing::WithParamInterface<HeaderTimesCase> {};

TEST_P(NvdHeaderTimesTest, SpanAndVisibleRangeFollowTheHeader) {
    const HeaderTimesCase& c = GetParam();
    view.viewWidth = c.viewWidth;
    view.viewStart = 77;
    ASSERT_TRUE(load(NvdBuilder()
                         .start(2013, 7, 15, c.startHour, c.startMinute, c.startSecond)
                         .end(c.endHour, c.endMinute, c.endSecond)
                         .continuation(0.7f, 0.4f, 0.2f)));
    EXPECT_EQ(store->spanSamples, c.spanSamples);
    EXPECT_EQ(view.viewSpan, c.viewSpan);
    EXPECT_EQ(view.viewStart, 0);
    EXPECT_EQ(view.viewEnd, c.viewEnd);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NvdHeaderTimesTest,
    ::testing::Values(HeaderTimesCase{"OverMidnight", 23, 0, 0, 1, 0, 0, 1000.0f, 14400, 900, 900},
                      HeaderTimesCase{"ShorterThanTheView", 10, 0, 0, 10, 1, 0, 1000.0f, 120, 900,
                                      120},
                      HeaderTimesCase{"NarrowView", 10, 0, 0, 11, 0, 0, 700.0f, 7200, 680, 680},
                      HeaderTimesCase{"EndEqualsStart", 10, 0, 0, 10, 0, 0, 1000.0f, 0, 900, 0}),
    caseName<HeaderTimesCase>);

TEST_F(NvdReaderTest, HeaderValuesAndDateKey) {
    const NvdBuilder file =
        NvdBuilder().start(2013, 7, 15, 9, 5, 30).end(10, 6, 40).continuation(0.7f, 0.4f, 0.2f);
    EXPECT_EQ(getDateFromNVD(write(file)), 130715090530);
    ASSERT_TRUE(load(file));
    EXPECT_EQ(store->startYear, 13);
    EXPECT_EQ(store->startMonth, 7);
    EXPECT_EQ(store->startDay, 15);
    EXPECT_EQ(store->startHour, 9);
    EXPECT_EQ(store->startMinute, 5);
    EXPECT_EQ(store->startSecond, 30);
    EXPECT_EQ(store->endHour, 10);
    EXPECT_EQ(store->endMinute, 6);
    EXPECT_EQ(store->endSecond, 40);

    EXPECT_EQ(getDateFromNVD(write(
                  NvdBuilder().start(2099, 12, 31, 23, 59, 59).continuation(0.7f, 0.4f, 0.2f))),
              991231235959);
    // A month byte 0x1F decodes as 1 x 10 + 15.
    const NvdBuilder odd = NvdBuilder(file).headerByte(5, 0x1F);
    EXPECT_EQ(getDateFromNVD(write(odd)), 132515090530);
    ASSERT_TRUE(load(odd));
    EXPECT_EQ(store->startMonth, 25);
}

struct DeviceIdCase {
    std::string name;
    std::string field;  // the 13 header bytes, or fewer (then NUL-padded)
    std::string expected;
};

class NvdDeviceIdTest : public NvdReaderTest, public ::testing::WithParamInterface<DeviceIdCase> {};

TEST_P(NvdDeviceIdTest, NonDigitsBecomeZero) {
    const DeviceIdCase& c = GetParam();
    ASSERT_TRUE(load(NvdBuilder().deviceId(c.field).continuation(0.7f, 0.4f, 0.2f)));
    EXPECT_EQ(std::string(store->deviceId.data()), c.expected);
    EXPECT_EQ(store->deviceId[kDeviceIdLength], '\0');
}

const std::string kIdWithNuls = std::string("49\0\0", 4) + "234567894";
const std::string kIdWithHighBytes = std::string("\xFF\xB0") + "01234567894";

INSTANTIATE_TEST_SUITE_P(
    Cases, NvdDeviceIdTest,
    ::testing::Values(DeviceIdCase{"Digits", "4901234567894", "4901234567894"},
                      DeviceIdCase{"Letters", "49012AB567894", "4901200567894"},
                      DeviceIdCase{"Blanks", " 9012 4567 9 ", "0901204567090"},
                      DeviceIdCase{"Nuls", kIdWithNuls, "4900234567894"},
                      DeviceIdCase{"HighBytes", kIdWithHighBytes, "0001234567894"},
                      DeviceIdCase{"Empty", "", "0000000000000"}),
    caseName<DeviceIdCase>);

struct ValuesCase {
    std::string name;
    float rso2Fraction, oxhb, dxhb;
    float rso2, tohb;
};

class NvdValuesTest : public NvdReaderTest, public ::testing::WithParamInterface<ValuesCase> {};

TEST_P(NvdValuesTest, ValuesAreStoredAsRead) {
    const ValuesCase& c = GetParam();
    ASSERT_TRUE(load(NvdBuilder().continuation(c.rso2Fraction, c.oxhb, c.dxhb)));
    ASSERT_EQ(store->sampleCount, 1);
    // Bit for bit, so that 0 is not -0; any NaN matches a NaN.
    const auto same = [](float actual, float expected) {
        return std::isnan(expected)
                   ? std::isnan(actual)
                   : std::bit_cast<std::uint32_t>(actual) == std::bit_cast<std::uint32_t>(expected);
    };
    EXPECT_TRUE(same(store->rso2Data[0], c.rso2)) << store->rso2Data[0];
    EXPECT_TRUE(same(store->oxhbData[0], c.oxhb)) << store->oxhbData[0];
    EXPECT_TRUE(same(store->dxhbData[0], c.dxhb)) << store->dxhbData[0];
    EXPECT_TRUE(same(store->tohbData[0], c.tohb)) << store->tohbData[0];
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NvdValuesTest,
    ::testing::Values(ValuesCase{"BothPositive", 0.7f, 0.375f, 0.25f, 70.0f, 0.625f},
                      ValuesCase{"OxhbZero", 0.7f, 0.0f, 0.25f, 70.0f, 0.0f},
                      ValuesCase{"DxhbZero", 0.7f, 0.375f, 0.0f, 70.0f, 0.0f},
                      ValuesCase{"OxhbNegative", 0.7f, -0.375f, 0.25f, 70.0f, 0.0f},
                      ValuesCase{"OxhbNaN", 0.7f, kNaN, 0.25f, 70.0f, 0.0f},
                      ValuesCase{"DxhbNaN", 0.7f, 0.375f, kNaN, 70.0f, 0.0f},
                      ValuesCase{"NegativeRso2IsScaledToo", -0.5f, 0.375f, 0.25f, -50.0f, 0.625f},
                      ValuesCase{"NaNRso2StaysNaN", kNaN, 0.375f, 0.25f, kNaN, 0.625f}),
    caseName<ValuesCase>);

struct RejectedCase {
    std::string name;
    Bytes bytes;
};

Bytes validBytes(std::size_t size) {
    Bytes bytes = NvdBuilder().continuation(0.7f, 0.4f, 0.2f).bytes();
    bytes.resize(size);
    return bytes;
}

class NvdRejectedTest : public NvdReaderTest, public ::testing::WithParamInterface<RejectedCase> {};

TEST_P(NvdRejectedTest, IsNotARecording) {
    const auto path = dir.file("rejected.NVD");
    test::writeBytes(path, GetParam().bytes);
    expectNotARecording(path);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NvdRejectedTest,
    ::testing::Values(
        RejectedCase{"WrongTag", NvdBuilder().tag("QM43").continuation(0.7f, 0.4f, 0.2f).bytes()},
        RejectedCase{"LowerCaseTag",
                     NvdBuilder().tag("qm42").continuation(0.7f, 0.4f, 0.2f).bytes()},
        RejectedCase{"RecordCountZeroDespiteRecords",
                     NvdBuilder().recordCount(0).continuation(0.7f, 0.4f, 0.2f).bytes()},
        RejectedCase{"Empty", {}}, RejectedCase{"TagOnly", validBytes(4)},
        RejectedCase{"CutBeforeTheRecordCount", validBytes(13)}),
    caseName<RejectedCase>);

TEST_F(NvdReaderTest, MissingFileFolderFifoAndDeviceAreNotRecordings) {
    expectNotARecording(dir.file("missing.NVD"));

    std::filesystem::create_directory(dir.file("folder.NVD"));
    expectNotARecording(dir.file("folder.NVD"));

    // Opening a FIFO for reading would block here until the test times out.
    const auto fifo = dir.file("fifo.NVD");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    expectNotARecording(fifo);

    if (std::filesystem::exists("/dev/zero")) {
        expectNotARecording("/dev/zero");
    }
}

TEST_F(NvdReaderTest, HeaderWithoutRecordsLoadsNoSamples) {
    store->sampleCount = 55;
    view.viewStart = 77;
    view.viewEnd = 99;
    ASSERT_TRUE(load(NvdBuilder().start(2014, 2, 3, 10, 0, 0).end(10, 0, 30).recordCount(1)));
    EXPECT_EQ(store->sampleCount, 0);
    EXPECT_EQ(store->startYear, 14);
    EXPECT_EQ(store->startDay, 3);
    EXPECT_EQ(store->spanSamples, 60);
    EXPECT_EQ(view.viewStart, 0);
    EXPECT_EQ(view.viewEnd, 60);
}

TEST_F(NvdReaderTest, ShortHeaderReadsMissingBytesAsZero) {
    const auto path = dir.file("short.NVD");
    for (const std::size_t size : {14u, 15u, 20u}) {
        SCOPED_TRACE("header bytes " + std::to_string(size));
        test::writeBytes(path, validBytes(size));
        EXPECT_EQ(getDateFromNVD(path), 130715100000);
        ASSERT_TRUE(readNVDFile(path, *store, view));
        EXPECT_EQ(store->sampleCount, 0);
        const std::size_t idBytes = size > 15 ? size - 15 : 0;
        EXPECT_EQ(std::string(store->deviceId.data()),
                  std::string("4901234567890").substr(0, idBytes) + std::string(13 - idBytes, '0'));
    }
}

TEST_F(NvdReaderTest, TrailingFragmentIsDropped) {
    for (const std::size_t fragment : {1u, 8u, 13u, 15u}) {
        SCOPED_TRACE("fragment bytes " + std::to_string(fragment));
        store->oxhbData[3] = 9.0f;
        NvdBuilder file;
        file.timeStamp(10, 0, 0, 0.7f, 0.4f, 0.2f).continuation(0.7f, 0.4f, 0.2f);
        file.continuation(0.7f, 0.4f, 0.2f);
        const Bytes fourth = NvdBuilder().continuation(0.7f, 0.4f, 0.2f).bytes();
        file.trailingBytes(std::span(fourth).subspan(NvdBuilder::kHeaderSize, fragment));
        ASSERT_TRUE(load(file));
        EXPECT_EQ(store->sampleCount, 3);
        EXPECT_EQ(store->oxhbData[3], 9.0f);
    }
}

class NvdCapacityTest : public NvdReaderTest {
protected:
    // A write past the end of an array lands in the next one: past sampleTime in rso2Avg,
    // past the data arrays in slot 0 of the following one.
    void markNeighbours() {
        store->rso2Avg[0] = 9.0f;
        store->rso2Avg[1] = 9.0f;
    }

    void expectNeighboursIntact() {
        EXPECT_EQ(store->rso2Avg[0], 9.0f);
        EXPECT_EQ(store->rso2Avg[1], 9.0f);
        EXPECT_EQ(store->oxhbData[0], oxhbFor(0));
        EXPECT_EQ(store->dxhbData[0], kDxhb);
        EXPECT_EQ(store->tohbData[0], oxhbFor(0) + kDxhb);
        EXPECT_EQ(store->sampleTime[0], 36000u);
    }

    static NvdBuilder continuations(std::size_t count) {
        NvdBuilder file;
        file.start(2013, 7, 15, 10, 0, 0).end(20, 40, 0);
        file.timeStamp(10, 0, 0, rso2For(0), oxhbFor(0), kDxhb);
        for (std::size_t r = 1; r < count; ++r) {
            file.continuation(rso2For(r), oxhbFor(r), kDxhb);
        }
        return file;
    }
};

TEST_F(NvdCapacityTest, LongFileStopsAtTheCapacity) {
    markNeighbours();
    ASSERT_TRUE(load(continuations(80000)));
    EXPECT_EQ(store->sampleCount, kSampleCapacity);
    EXPECT_EQ(store->oxhbData[76799], oxhbFor(76799));
    expectNeighboursIntact();
}

// 76790 samples end at expected count 72000 + 76790; a gap at 20:40:00 (148800) leaves 9
// break slots and lands in the last slot, one second later the breaks reach the capacity.
TEST_F(NvdCapacityTest, GapAcrossTheCapacityFillsItAndEndsTheLoad) {
    struct Case {
        int second;
        std::size_t lastBreak;
        bool sampleInLastSlot;
    };
    for (const Case c : {Case{0, 76798, true}, Case{1, 76799, false}}) {
        SCOPED_TRACE("gap second " + std::to_string(c.second));
        markNeighbours();
        NvdBuilder file = continuations(76790);
        file.gap(20, 40, c.second, 0.6f, 0.45f, kDxhb).continuation(0.6f, 0.46f, kDxhb);
        ASSERT_TRUE(load(file));
        EXPECT_EQ(store->sampleCount, kSampleCapacity);
        EXPECT_EQ(store->oxhbData[76789], oxhbFor(76789));
        for (std::size_t k = 76790; k <= c.lastBreak; ++k) {
            ASSERT_EQ(store->oxhbData[k], noDataValue) << "slot " << k;
        }
        EXPECT_EQ(store->oxhbData[76799], c.sampleInLastSlot ? 0.45f : noDataValue);
        expectNeighboursIntact();
    }
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

TEST_F(NvdCapacityTest, HugeFileIsReadOnlyUpToTheCapacity) {
    if (bytesReadByThisProcess() == 0) {
        GTEST_SKIP() << "no read accounting in /proc/self/io";
    }
    const auto path = write(continuations(static_cast<std::size_t>(kSampleCapacity)));
    std::filesystem::resize_file(path, std::uintmax_t{1} << 30);  // sparse

    const std::uint64_t before = bytesReadByThisProcess();
    ASSERT_TRUE(readNVDFile(path, *store, view));
    const std::uint64_t read = bytesReadByThisProcess() - before;
    EXPECT_EQ(store->sampleCount, kSampleCapacity);
    EXPECT_LT(read, 2u << 20) << "bytes read: " << read;
}

}  // namespace
}  // namespace nuvisca
