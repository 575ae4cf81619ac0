#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include "store/Recording.h"

namespace nuvisca::fuzz {

// The device record format read record by record straight from the bytes: a plain second
// reading against which the reader's chunked loading is compared.
struct NvdReference {
    struct Slot {
        std::uint64_t tag = 0;
        std::array<float, 4> values{};  // rSO2, oxHb, dxHb, toHb
    };

    bool accepted = false;
    std::int64_t dateKey = 0;
    std::array<std::int32_t, 9> header{};  // start y m d h m s, end h m s
    std::array<char, kDeviceIdLength + 1> deviceId{};
    std::vector<Slot> slots;

    // Kept between inputs, so the slots need not be allocated afresh each time.
    void read(const std::uint8_t* data, std::size_t size) {
        accepted = false;
        dateKey = 0;
        slots.clear();
        std::array<std::uint8_t, 32> head{};
        std::memcpy(head.data(), data, std::min(size, head.size()));
        accepted = head[0] == 'Q' && head[1] == 'M' && head[2] == '4' && head[3] == '2' &&
                   (head[13] | head[14]) != 0;
        if (!accepted) {
            return;
        }
        for (std::size_t k = 0; k < header.size(); ++k) {
            header[k] = bcd(head[4 + k]);
        }
        for (std::size_t k = 4; k <= 9; ++k) {
            dateKey = dateKey * 100 + bcd(head[k]);
        }
        for (std::size_t k = 0; k < kDeviceIdLength; ++k) {
            const std::uint8_t c = head[15 + k];
            deviceId[k] = c >= '0' && c <= '9' ? static_cast<char>(c) : '0';
        }
        readRecords(data, size);
    }

private:
    static std::int32_t bcd(std::uint8_t b) { return (b >> 4) * 10 + (b & 0x0F); }

    static float floatAt(const std::uint8_t* p) {
        std::uint32_t bits = 0;
        for (int k = 3; k >= 0; --k) {
            bits = bits << 8 | p[k];
        }
        return std::bit_cast<float>(bits);
    }

    Slot& slotAt(std::int32_t i) {
        const auto k = static_cast<std::size_t>(i);
        if (slots.size() <= k) {
            slots.resize(k + 1);
        }
        return slots[k];
    }

    void put(std::int32_t i, const std::uint8_t* record, std::uint64_t tag) {
        const float ox = floatAt(record + 8);
        const float dx = floatAt(record + 12);
        slotAt(i) = {tag, {floatAt(record + 4) * 100.0f, ox, dx, ox > 0 && dx > 0 ? ox + dx : 0}};
    }

    void readRecords(const std::uint8_t* data, std::size_t size) {
        const std::int32_t start = header[3] * 3600 + header[4] * 60 + header[5];
        std::int32_t i = 0;
        std::int32_t anchorSlot = 0;
        std::int32_t anchor = 2 * start;
        std::int32_t expected = anchor;
        for (std::size_t at = 32; i < kSampleCapacity && at + 16 <= size; at += 16) {
            const std::uint8_t* r = data + at;
            const std::int32_t t = bcd(r[2]) * 3600 + bcd(r[1]) * 60 + bcd(r[0]);
            const bool timed = r[0] != 0xFF && r[1] != 0xFF && r[2] != 0xFF;
            if (timed && r[3] == 0x80) {
                // A time more than 12 hours earlier than expected lies on the next day.
                std::int32_t ahead = 2 * t - expected % 172800;
                if (ahead <= -86400) {
                    ahead += 172800;
                }
                const std::int32_t g = std::max(ahead - 1, 1);
                for (std::int32_t k = i; k < std::min(i + g, kSampleCapacity); ++k) {
                    slotAt(k) = {continuationTag, {-1.0f, -1.0f, -1.0f, -1.0f}};
                }
                if (i + g >= kSampleCapacity) {
                    break;
                }
                put(i + g, r, continuationTag);
                anchorSlot = i + g;
                anchor = expected = 2 * t;
                i += g + 1;
            } else if (timed && r[3] == 0x00) {
                put(i, r, static_cast<std::uint64_t>(t));
                anchorSlot = i;
                anchor = expected = 2 * t;
                ++i;
            } else {
                put(i, r, continuationTag);
                expected = anchor + (i + 1 - anchorSlot);
                ++i;
            }
        }
    }
};

}  // namespace nuvisca::fuzz
