#include "formats/NvdReader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstring>

#include "formats/RegularFile.h"

namespace nuvisca {
namespace {

constexpr std::size_t kHeaderSize = 32;
constexpr std::size_t kRecordSize = 16;
constexpr std::size_t kDeviceIdOffset = 15;
// Bulk reads of 64 KiB: a full recording takes a handful of reads, not four per record.
constexpr std::size_t kRecordsPerChunk = 4096;

constexpr unsigned char kFlagTimeStamp = 0x00;
constexpr unsigned char kFlagGap = 0x80;

using Header = std::array<unsigned char, kHeaderSize>;

enum class RecordKind { kContinuation, kTimeStamp, kGap };

// Position of the next slot and the clock it is measured against, in half seconds.
struct RecordState {
    std::int32_t slot = 0;
    std::int32_t anchorSlot = 0;
    std::int32_t anchorCount = 0;
    std::int32_t expectedCount = 0;
    bool cut = false;  // a record was left out at the capacity
};

// The device writes no invalid nibbles; whatever a damaged file holds is taken as it comes.
std::int32_t decodeBcd(unsigned char byte) {
    return (byte >> 4) * 10 + (byte & 0x0F);
}

float decodeFloat(const unsigned char* bytes) {
    const std::uint32_t bits =
        static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
        static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    return std::bit_cast<float>(bits);
}

// A header shorter than 32 bytes reads as if the missing bytes were 0.
Header readHeader(std::FILE* file) {
    Header header{};
    static_cast<void>(std::fread(header.data(), 1, header.size(), file));
    return header;
}

bool isDeviceHeader(const Header& header) {
    return header[0] == 'Q' && header[1] == 'M' && header[2] == '4' && header[3] == '2' &&
           (header[13] != 0 || header[14] != 0);
}

std::int64_t dateKey(const Header& header) {
    std::int64_t key = 0;
    for (std::size_t k = 4; k <= 9; ++k) {
        key = key * 100 + decodeBcd(header[k]);
    }
    return key;
}

void storeHeader(const Header& header, Recording& store) {
    store.startYear = decodeBcd(header[4]);
    store.startMonth = decodeBcd(header[5]);
    store.startDay = decodeBcd(header[6]);
    store.startHour = decodeBcd(header[7]);
    store.startMinute = decodeBcd(header[8]);
    store.startSecond = decodeBcd(header[9]);
    store.endHour = decodeBcd(header[10]);
    store.endMinute = decodeBcd(header[11]);
    store.endSecond = decodeBcd(header[12]);
    for (std::size_t k = 0; k < kDeviceIdLength; ++k) {
        const unsigned char c = header[kDeviceIdOffset + k];
        store.deviceId[k] = c >= '0' && c <= '9' ? static_cast<char>(c) : '0';
    }
    store.deviceId[kDeviceIdLength] = '\0';
}

RecordKind recordKind(const unsigned char* record) {
    if (record[0] == 0xFF || record[1] == 0xFF || record[2] == 0xFF) {
        return RecordKind::kContinuation;
    }
    if (record[3] == kFlagGap) {
        return RecordKind::kGap;
    }
    if (record[3] == kFlagTimeStamp) {
        return RecordKind::kTimeStamp;
    }
    return RecordKind::kContinuation;
}

std::int32_t recordTimeOfDay(const unsigned char* record) {
    return decodeBcd(record[2]) * 3600 + decodeBcd(record[1]) * 60 + decodeBcd(record[0]);
}

void putValues(Recording& store, std::int32_t slot, const unsigned char* record) {
    ChannelValues values;
    values[kRso2] = decodeFloat(record + 4) * 100.0f;
    values[kOxhb] = decodeFloat(record + 8);
    values[kDxhb] = decodeFloat(record + 12);
    values[kTohb] =
        values[kOxhb] > 0.0f && values[kDxhb] > 0.0f ? values[kOxhb] + values[kDxhb] : 0.0f;
    putSample(store, static_cast<std::size_t>(slot), values);
}

void putBreaks(Recording& store, std::int32_t first, std::int32_t end) {
    for (SampleArray& series : store.measured) {
        std::fill(series.begin() + first, series.begin() + end, noDataValue);
    }
    std::fill(store.sampleTime.begin() + first, store.sampleTime.begin() + end, continuationTag);
}

// The expected count keeps rising past midnight, while a gap record's time starts the day
// again: a time more than 12 hours earlier than expected lies on the next day. A gap that
// follows directly or a little early still leaves one break slot.
std::int32_t breakSlotsBefore(std::int32_t count, std::int32_t expectedCount) {
    constexpr std::int32_t kHalfSecondsPerDay = 172800;
    std::int32_t ahead = count - expectedCount % kHalfSecondsPerDay;
    if (ahead <= -kHalfSecondsPerDay / 2) {
        ahead += kHalfSecondsPerDay;
    }
    return std::max(ahead - 1, 1);
}

void placeRecord(const unsigned char* record, Recording& store, RecordState& state) {
    const std::int32_t slot = state.slot;
    switch (recordKind(record)) {
        case RecordKind::kContinuation:
            store.sampleTime[static_cast<std::size_t>(slot)] = continuationTag;
            putValues(store, slot, record);
            state.expectedCount = state.anchorCount + (slot + 1 - state.anchorSlot);
            state.slot = slot + 1;
            return;
        case RecordKind::kTimeStamp: {
            const std::int32_t time = recordTimeOfDay(record);
            store.sampleTime[static_cast<std::size_t>(slot)] = static_cast<std::uint64_t>(time);
            putValues(store, slot, record);
            state.anchorSlot = slot;
            state.anchorCount = state.expectedCount = 2 * time;
            state.slot = slot + 1;
            return;
        }
        case RecordKind::kGap: {
            const std::int32_t count = 2 * recordTimeOfDay(record);
            const std::int32_t breaks = breakSlotsBefore(count, state.expectedCount);
            const std::int32_t sampleSlot = slot + breaks;
            // Breaks that would run past the capacity are cut there, and the load ends.
            putBreaks(store, slot, std::min(sampleSlot, kSampleCapacity));
            if (sampleSlot >= kSampleCapacity) {
                state.slot = kSampleCapacity;
                state.cut = true;
                return;
            }
            store.sampleTime[static_cast<std::size_t>(sampleSlot)] = continuationTag;
            putValues(store, sampleSlot, record);
            state.anchorSlot = sampleSlot;
            state.anchorCount = state.expectedCount = count;
            state.slot = sampleSlot + 1;
            return;
        }
    }
}

// Reads records until the end of the file or the capacity; every record fills at least one
// slot, so no more records are read than slots remain. A trailing fragment shorter than a
// record is dropped.
void readRecords(std::FILE* file, Recording& store, RecordState& state) {
    std::array<unsigned char, kRecordsPerChunk * kRecordSize> chunk;
    std::size_t held = 0;
    while (true) {
        if (state.slot >= kSampleCapacity) {
            // One more whole record means the recording went on past what can be shown.
            held +=
                std::fread(chunk.data() + held, 1, kRecordSize - std::min(held, kRecordSize), file);
            state.cut = state.cut || held >= kRecordSize;
            return;
        }
        const auto slotsLeft = static_cast<std::size_t>(kSampleCapacity - state.slot);
        const std::size_t wanted = std::min(chunk.size(), slotsLeft * kRecordSize) - held;
        const std::size_t got = std::fread(chunk.data() + held, 1, wanted, file);
        if (got == 0) {
            return;
        }
        held += got;
        const unsigned char* record = chunk.data();
        const unsigned char* const wholeEnd = record + held / kRecordSize * kRecordSize;
        for (; record != wholeEnd && state.slot < kSampleCapacity; record += kRecordSize) {
            placeRecord(record, store, state);
        }
        held = static_cast<std::size_t>(chunk.data() + held - record);
        std::memmove(chunk.data(), record, held);
    }
}

}  // namespace

std::int64_t getDateFromNVD(const std::filesystem::path& path) {
    const FileHandle file = openRegularFile(path, "rb");
    if (!file) {
        return 0;
    }
    const Header header = readHeader(file.get());
    return isDeviceHeader(header) ? dateKey(header) : 0;
}

bool readNVDFile(const std::filesystem::path& path, Recording& store) {
    const FileHandle file = openRegularFile(path, "rb");
    if (!file) {
        return false;
    }
    const Header header = readHeader(file.get());
    if (!isDeviceHeader(header)) {
        return false;
    }
    storeHeader(header, store);

    RecordState state;
    state.anchorCount = 2 * startTimeOfDay(store);
    state.expectedCount = state.anchorCount;
    readRecords(file.get(), store, state);

    store.sampleCount = state.slot;
    store.truncated = state.cut;
    store.spanSamples = computeSpanSamples(store);
    return true;
}

}  // namespace nuvisca
