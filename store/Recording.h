#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace nuvisca {

// 76800 half-second slots cover 10 h 40 min; longer recordings are cut.
inline constexpr std::int32_t kSampleCapacity = 76800;

// A slot without a measurement; every consumer treats any negative value so.
inline constexpr float noDataValue = -1.0f;

// The slot follows its predecessor by half a second and has no time of its own.
inline constexpr std::uint64_t continuationTag = 0xFFFFFFFFu;

inline constexpr std::size_t kDeviceIdLength = 13;

// The four measured series, indexed as the legend and the trace selection index them.
enum Channel : std::size_t { kOxhb = 0, kDxhb = 1, kTohb = 2, kRso2 = 3 };
inline constexpr std::size_t kChannelCount = 4;

using SampleArray = std::array<float, kSampleCapacity>;
using ChannelValues = std::array<float, kChannelCount>;  // one slot's values, by channel

enum class RecordingFormat { kNvd, kCsv };

// A recording as read from its file; shared, and not changed once read. Fixed capacity:
// loading, averaging and drawing never allocate per sample. Slots at and beyond sampleCount
// hold nothing of this recording and must not be read.
struct Recording {
    std::array<SampleArray, kChannelCount> measured{};
    std::array<std::uint64_t, kSampleCapacity> sampleTime{};

    std::int32_t sampleCount = 0;
    std::int32_t spanSamples = 0;
    bool truncated = false;  // the file went on past the capacity

    std::int32_t startYear = 0;  // two digits, shown as 2000 + value
    std::int32_t startMonth = 0;
    std::int32_t startDay = 0;
    std::int32_t startHour = 0;
    std::int32_t startMinute = 0;
    std::int32_t startSecond = 0;
    std::int32_t endHour = 0;
    std::int32_t endMinute = 0;
    std::int32_t endSecond = 0;

    std::array<char, kDeviceIdLength + 1> deviceId{};

    // Where it came from.
    std::filesystem::path source;
    RecordingFormat format = RecordingFormat::kNvd;
    std::int64_t dateKey = 0;  // YYMMDDhhmmss of its start, as the file list orders it

    friend bool operator==(const Recording&, const Recording&) = default;
};

// About 1.8 MB: always on the heap.
inline std::unique_ptr<Recording> makeEmptyRecording() {
    return std::make_unique<Recording>();
}

// Seconds since midnight of the header's start and end, and the span in half-second slots
// ((end - start) x 2, end taken on the next day when it is earlier than start).
std::int32_t startTimeOfDay(const Recording& store);
std::int32_t endTimeOfDay(const Recording& store);
std::int32_t computeSpanSamples(const Recording& store);

inline void putSample(Recording& store, std::size_t slot, const ChannelValues& values) {
    for (std::size_t channel = 0; channel < kChannelCount; ++channel) {
        store.measured[channel][slot] = values[channel];
    }
}

// "ID " and the device identifier, as the export and the print page name the device.
std::string deviceIdLabel(const Recording& store);

}  // namespace nuvisca
