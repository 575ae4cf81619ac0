#include <gtest/gtest.h>

#include "formats/CsvTestSupport.h"
#include "formats/NvdReader.h"
#include "support/NvdBuilder.h"

namespace nuvisca {
namespace {

using namespace test;

// Record r carries oxHb 0.25 + r / 10000, so every slot shows which record landed in it.
float oxhbFor(std::size_t r) {
    return 0.25f + 0.0001f * static_cast<float>(r);
}

class NvdReaderTest : public LoadTest {
protected:
    bool load(const NvdBuilder& file) {
        file.writeTo(path);
        return readNVDFile(path, *store);
    }

    std::filesystem::path path = dir.file("recording.NVD");
};

using Rec = std::array<std::uint8_t, 4>;  // second, minute, hour, flag
Rec at(int h, int m, int s, std::uint8_t flag = 0x00) {
    return {NvdBuilder::bcd(s), NvdBuilder::bcd(m), NvdBuilder::bcd(h), flag};
}
constexpr std::uint8_t G = 0x80;
constexpr Rec N{0xFF, 0xFF, 0xFF, 0x00};

TEST_F(NvdReaderTest, RecordsLandInTheirSlots) {
    struct Case {
        std::vector<Rec> records;
        std::string_view slots;  // per slot: 't' a time of its own, 'c' follows on, 'b' a break
        std::vector<std::uint64_t> times;  // tags of the 't' slots
        int start = 36000;
    };
    // clang-format off
    const Case cases[] = {
        {{at(10, 0, 0), N, N, at(10, 0, 5, G)}, "tccbbbbbbc", {36000}},
        {{at(10, 0, 0), at(10, 0, 1, G)}, "tbc", {36000}},  // one break slot either way
        {{at(10, 0, 0), at(10, 0, 0, G)}, "tbc", {36000}},
        {{at(10, 0, 0), at(10, 0, 5, G), N, at(10, 0, 10, G)}, "tbbbbbbbbbccbbbbbbbc", {36000}},
        {{N, at(10, 0, 2, G)}, "cbbc", {}},  // the header start anchors
        {{at(10, 0, 0), N, at(10, 0, 10), N, at(10, 0, 13, G)}, "tctcbbbc", {36000, 36010}},
        // Early on the same day: one break slot. Past midnight, the pause is kept.
        {{at(10, 0, 0), N, N, N, N, N, N, at(10, 0, 2, G)}, "tccccccbc", {36000}},
        {{at(23, 59, 59), N, at(0, 0, 0, G)}, "tcbc", {86399}, 86398},
        {{at(23, 59, 59), N, at(0, 0, 1, G)}, "tcbc", {86399}, 86398},
        {{at(23, 59, 59), N, at(0, 0, 5, G)}, "tcbbbbbbbbbc", {86399}, 86398},
        {{at(23, 59, 59), at(0, 0, 3), N, at(0, 0, 6, G)}, "ttcbbbc", {86399, 3}, 86398},
        // Any FF time byte makes a continuation whatever the flag; so does any flag but 00, 80.
        {{at(10, 0, 0), {0xFF, 0xFF, 0xFF, G}, {0x05, 0x00, 0xFF, G}, {0xFF, 0x00, 0x10, G},
          {0x05, 0x00, 0x10, 0x01}, {0x05, 0x00, 0x10, 0x7F}, {0x05, 0x00, 0x10, 0x81}}, "tcccccc", {36000}},
        {{{0x0A, 0x00, 0x10, 0x00}, {0x00, 0x0F, 0x10, 0x00}}, "tt", {36010, 36900}}};  // no nibble checks
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.slots));
        NvdBuilder file;
        file.start(2013, 7, 15, c.start / 3600, c.start / 60 % 60, c.start % 60);
        for (std::size_t r = 0; r < c.records.size(); ++r) {
            const Rec& b = c.records[r];
            file.record(b[0], b[1], b[2], b[3], 0.5f, oxhbFor(r), 0.25f);
        }
        ASSERT_TRUE(load(file));
        ASSERT_EQ(store->sampleCount, static_cast<std::int32_t>(c.slots.size()));
        std::size_t record = 0, time = 0;
        for (std::size_t k = 0; k < c.slots.size(); ++k) {
            const float ox = c.slots[k] == 'b' ? noDataValue : oxhbFor(record++);
            EXPECT_EQ(values(k), (c.slots[k] == 'b' ? std::array{ox, ox, ox, ox}
                                                    : std::array{50.0f, ox, 0.25f, ox + 0.25f}));
            EXPECT_EQ(store->sampleTime[k],
                      c.slots[k] == 't' ? c.times.at(time++) : continuationTag)
                << k;
        }
    }
}

// rSO2 is stored in percent, toHb only of two positive values; a record cut short is dropped;
// a header cut short reads its missing bytes as 0.
TEST_F(NvdReaderTest, HeaderValuesAndShortFiles) {
    NvdBuilder file;
    file.start(2013, 7, 15, 9, 5, 30)
        .end(10, 6, 40)
        .deviceId(std::string("49\0A \xFF", 6) + "4567894");
    // clang-format off
    const std::array<float, 5> cases[] = {  // rSO2 fraction, oxHb, dxHb -> rSO2, toHb
        {0.7f, 0.375f, 0.25f, 70.0f, 0.625f}, {0.7f, 0.0f, 0.25f, 70.0f, 0.0f}, {0.7f, 0.375f, 0.0f, 70.0f, 0.0f},
        {-0.5f, -0.375f, 0.25f, -50.0f, 0.0f}, {0.7f, 0.375f, kNaN, 70.0f, 0.0f}, {0.7f, kNaN, 0.25f, 70.0f, 0.0f}};
    // clang-format on
    for (const auto& c : cases) {
        file.continuation(c[0], c[1], c[2]);
    }
    Bytes bytes = file.continuation(0.5f, 0.4f, 0.2f).bytes();
    bytes.pop_back();
    writeBytes(path, bytes);
    store->measured[kOxhb][6] = 9.0f;
    EXPECT_EQ(getDateFromNVD(path), 130715090530);
    ASSERT_TRUE(readNVDFile(path, *store));
    const Recording& s = *store;
    EXPECT_STREQ(s.deviceId.data(), "4900004567894");  // anything but a digit reads as 0
    EXPECT_EQ((std::array{s.startYear, s.startMonth, s.startDay, s.startHour, s.startMinute,
                          s.startSecond, s.endHour, s.endMinute, s.endSecond, s.sampleCount}),
              (std::array{13, 7, 15, 9, 5, 30, 10, 6, 40, 6}));
    EXPECT_EQ(store->measured[kOxhb][6], 9.0f);
    for (std::size_t k = 0; k < 6; ++k) {
        EXPECT_EQ((std::array{values(k)[0], values(k)[3]}), (std::array{cases[k][3], cases[k][4]}));
    }
    bytes.resize(20);
    writeBytes(path, bytes);
    EXPECT_EQ(getDateFromNVD(path), 130715090530);
    store->sampleCount = 55;
    ASSERT_TRUE(readNVDFile(path, *store));
    EXPECT_EQ(s.sampleCount, 0);
    EXPECT_STREQ(s.deviceId.data(), "4900000000000");
}

// A gap at 20:40:00 after 76790 records leaves 9 break slots and lands in the last slot; after
// 76799 records its one break slot is the last. A slot written past the end would land in the
// next series. Either load is cut; one of exactly 76800 records is not.
TEST_F(NvdReaderTest, TheCapacityEndsTheLoad) {
    for (const std::size_t before : {76790u, 76799u}) {
        SCOPED_TRACE(before);
        NvdBuilder file;
        file.end(20, 40, 0).timeStamp(10, 0, 0, 0.5f, oxhbFor(0), 0.25f);
        for (std::size_t r = 1; r < before; ++r) {
            file.continuation(0.5f, oxhbFor(r), 0.25f);
        }
        file.gap(20, 40, 0, 0.6f, 0.45f, 0.25f).continuation(0.6f, 0.46f, 0.25f).writeTo(path);
        ASSERT_TRUE(readNVDFile(path, *store));
        EXPECT_EQ(store->sampleCount, kSampleCapacity);
        EXPECT_EQ(store->measured[kOxhb][before - 1], oxhbFor(before - 1));
        for (std::size_t k = before; k < 76799; ++k) {
            ASSERT_EQ(store->measured[kOxhb][k], noDataValue) << k;
        }
        EXPECT_EQ(store->measured[kOxhb][76799], before == 76790 ? 0.45f : noDataValue);
        EXPECT_TRUE(store->truncated);
        EXPECT_EQ((std::array{values(0)[0], values(0)[1], values(0)[2], values(1)[1]}),
                  (std::array{50.0f, oxhbFor(0), 0.25f, oxhbFor(1)}));
    }
    NvdBuilder whole;
    for (std::int32_t r = 0; r < kSampleCapacity; ++r) {
        whole.continuation(0.5f, 0.4f, 0.25f);
    }
    ASSERT_TRUE(load(whole));
    EXPECT_EQ(store->sampleCount, kSampleCapacity);
    EXPECT_FALSE(store->truncated);
}

}  // namespace
}  // namespace nuvisca
