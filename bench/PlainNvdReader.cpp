#include "bench/PlainNvdReader.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

namespace nuvisca::bench {
namespace {

std::int32_t bcd(unsigned char byte) {
    return (byte >> 4) * 10 + (byte & 0x0F);
}

std::int32_t timeOfDay(const unsigned char* time) {
    return bcd(time[2]) * 3600 + bcd(time[1]) * 60 + bcd(time[0]);
}

void put(Recording& store, std::int32_t slot, std::uint64_t tag, float rso2, float oxhb,
         float dxhb) {
    const auto k = static_cast<std::size_t>(slot);
    store.sampleTime[k] = tag;
    store.measured[kRso2][k] = rso2 * 100.0f;
    store.measured[kOxhb][k] = oxhb;
    store.measured[kDxhb][k] = dxhb;
    store.measured[kTohb][k] = oxhb > 0.0f && dxhb > 0.0f ? oxhb + dxhb : 0.0f;
}

void putBreaks(Recording& store, std::int32_t first, std::int32_t end) {
    for (auto k = static_cast<std::size_t>(first); k < static_cast<std::size_t>(end); ++k) {
        store.sampleTime[k] = continuationTag;
        store.measured[kRso2][k] = store.measured[kOxhb][k] = store.measured[kDxhb][k] =
            store.measured[kTohb][k] = noDataValue;
    }
}

void readHeader(const std::array<unsigned char, 32>& header, Recording& store) {
    std::int32_t* const fields[] = {&store.startYear, &store.startMonth,  &store.startDay,
                                    &store.startHour, &store.startMinute, &store.startSecond,
                                    &store.endHour,   &store.endMinute,   &store.endSecond};
    for (std::size_t k = 0; k < std::size(fields); ++k) {
        *fields[k] = bcd(header[4 + k]);
    }
    for (std::size_t k = 0; k < kDeviceIdLength; ++k) {
        const unsigned char c = header[15 + k];
        store.deviceId[k] = c >= '0' && c <= '9' ? static_cast<char>(c) : '0';
    }
    store.deviceId[kDeviceIdLength] = '\0';
}

}  // namespace

bool readNvdFourReadsPerRecord(const std::filesystem::path& path, Recording& store) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    std::array<unsigned char, 32> header{};
    const bool accepted = std::fread(header.data(), 1, header.size(), file) == header.size() &&
                          std::memcmp(header.data(), "QM42", 4) == 0 &&
                          (header[13] != 0 || header[14] != 0);
    if (!accepted) {
        std::fclose(file);
        return false;
    }
    readHeader(header, store);

    std::int32_t slot = 0;
    std::int32_t anchorSlot = 0;
    std::int32_t anchorCount = 2 * startTimeOfDay(store);
    std::int32_t expectedCount = anchorCount;
    unsigned char time[4];
    float rso2 = 0.0f;
    float oxhb = 0.0f;
    float dxhb = 0.0f;
    while (slot < kSampleCapacity && std::fread(time, 1, 4, file) == 4 &&
           std::fread(&rso2, 4, 1, file) == 1 && std::fread(&oxhb, 4, 1, file) == 1 &&
           std::fread(&dxhb, 4, 1, file) == 1) {
        const bool timed = time[0] != 0xFF && time[1] != 0xFF && time[2] != 0xFF;
        if (timed && time[3] == 0x80) {
            const std::int32_t count = 2 * timeOfDay(time);
            const std::int32_t sampleSlot = slot + std::max(count - expectedCount - 1, 1);
            putBreaks(store, slot, std::min(sampleSlot, kSampleCapacity));
            if (sampleSlot >= kSampleCapacity) {
                slot = kSampleCapacity;
                break;
            }
            put(store, sampleSlot, continuationTag, rso2, oxhb, dxhb);
            anchorSlot = sampleSlot;
            anchorCount = expectedCount = count;
            slot = sampleSlot + 1;
        } else if (timed && time[3] == 0x00) {
            put(store, slot, static_cast<std::uint64_t>(timeOfDay(time)), rso2, oxhb, dxhb);
            anchorSlot = slot;
            anchorCount = expectedCount = 2 * timeOfDay(time);
            ++slot;
        } else {
            put(store, slot, continuationTag, rso2, oxhb, dxhb);
            ++slot;
            expectedCount = anchorCount + (slot - anchorSlot);
        }
    }
    std::fclose(file);
    store.sampleCount = slot;
    store.spanSamples = computeSpanSamples(store);
    return true;
}

bool sameLoad(const Recording& a, const Recording& b) {
    const auto n = static_cast<std::size_t>(a.sampleCount);
    const auto sameSlots = [n](const auto& x, const auto& y) {
        return std::memcmp(x.data(), y.data(), n * sizeof x[0]) == 0;
    };
    return a.sampleCount == b.sampleCount && a.spanSamples == b.spanSamples &&
           a.startYear == b.startYear && a.startMonth == b.startMonth && a.startDay == b.startDay &&
           a.startHour == b.startHour && a.startMinute == b.startMinute &&
           a.startSecond == b.startSecond && a.endHour == b.endHour && a.endMinute == b.endMinute &&
           a.endSecond == b.endSecond && a.deviceId == b.deviceId &&
           sameSlots(a.sampleTime, b.sampleTime) &&
           sameSlots(a.measured[kRso2], b.measured[kRso2]) &&
           sameSlots(a.measured[kOxhb], b.measured[kOxhb]) &&
           sameSlots(a.measured[kDxhb], b.measured[kDxhb]) &&
           sameSlots(a.measured[kTohb], b.measured[kTohb]);
}

}  // namespace nuvisca::bench
