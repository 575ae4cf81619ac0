#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace nuvisca {

// 76800 half-second slots cover 10 h 40 min; longer recordings are cut.
inline constexpr std::int32_t kSampleCapacity = 76800;

// A slot without a measurement; every consumer treats any negative value so.
inline constexpr float noDataValue = -1.0f;

// The slot follows its predecessor by half a second and has no time of its own.
inline constexpr std::uint64_t continuationTag = 0xFFFFFFFFu;

inline constexpr std::size_t kFileNameCapacity = 256;  // 255 bytes of name and the NUL
inline constexpr std::size_t kDeviceIdLength = 13;

// Where the listed files came from; it decides how a listed file is read.
enum class ListSource : std::int32_t { None, OpenDialog, RemovableMedia };

// The four measured series, indexed as the legend and the trace selection index them.
enum Channel : std::size_t { kOxhb = 0, kDxhb = 1, kTohb = 2, kRso2 = 3 };
inline constexpr std::size_t kChannelCount = 4;

using SampleArray = std::array<float, kSampleCapacity>;
using ChannelValues = std::array<float, kChannelCount>;  // one slot's values, by channel

// The one loaded recording and the user's settings. Fixed capacity: loading, averaging
// and drawing never allocate per sample. Slots at and beyond sampleCount may hold an
// earlier recording's values and must not be read.
struct MeasurementStore {
    std::array<SampleArray, kChannelCount> measured{};
    std::array<std::uint64_t, kSampleCapacity> sampleTime{};
    std::array<SampleArray, kChannelCount> averaged{};  // the moving average of each channel

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

    std::int32_t zoomIndex = 0;      // 0 = 1/2x, 1 = 1x, 2 = 2x, 3 = 4x, 4 = 8x
    std::int32_t averageWindow = 0;  // neighbours on each side; the box shows this + 1
    ListSource listSource = ListSource::None;
    std::array<char, kFileNameCapacity> currentFileName{};

    float screenWidth = 0.0f;
    float screenHeight = 0.0f;
};

// About 3 MB: always on the heap, allocated once for the life of the process.
inline std::unique_ptr<MeasurementStore> makeMeasurementStore() {
    return std::make_unique<MeasurementStore>();
}

// Start-up reset of the controller's initialisation.
void resetMeasurementStore(MeasurementStore& store, float screenWidth, float screenHeight);

// Seconds since midnight of the header's start and end, and the span in half-second slots
// ((end - start) x 2, end taken on the next day when it is earlier than start).
std::int32_t startTimeOfDay(const MeasurementStore& store);
std::int32_t endTimeOfDay(const MeasurementStore& store);
std::int32_t computeSpanSamples(const MeasurementStore& store);

inline void putSample(MeasurementStore& store, std::size_t slot, const ChannelValues& values) {
    for (std::size_t channel = 0; channel < kChannelCount; ++channel) {
        store.measured[channel][slot] = values[channel];
    }
}

// Copies a UTF-8 name into currentFileName, cut at the last whole character that fits.
void setCurrentFileName(MeasurementStore& store, const char* utf8Name, std::size_t length);

// "ID " and the device identifier, as the export and the print page name the device.
std::string deviceIdLabel(const MeasurementStore& store);

}  // namespace nuvisca
