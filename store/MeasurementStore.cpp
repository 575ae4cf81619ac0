#include "store/MeasurementStore.h"

#include <cstring>

namespace nuvisca {

void resetMeasurementStore(MeasurementStore& store, float screenWidth, float screenHeight) {
    store.screenWidth = screenWidth;
    store.screenHeight = screenHeight;
    store.listSource = ListSource::None;
    store.spanSamples = 0;
    store.sampleCount = 0;
    store.sampleTime.fill(0);
}

std::int32_t startTimeOfDay(const MeasurementStore& store) {
    return store.startHour * 3600 + store.startMinute * 60 + store.startSecond;
}

std::int32_t endTimeOfDay(const MeasurementStore& store) {
    return store.endHour * 3600 + store.endMinute * 60 + store.endSecond;
}

std::int32_t computeSpanSamples(const MeasurementStore& store) {
    const std::int32_t start = startTimeOfDay(store);
    std::int32_t end = endTimeOfDay(store);
    if (end < start) {
        end += 86400;
    }
    return (end - start) * 2;
}

void setCurrentFileName(MeasurementStore& store, const char* utf8Name, std::size_t length) {
    const std::size_t room = store.currentFileName.size() - 1;
    std::size_t cut = length;
    if (cut > room) {
        cut = room;
        // Back up over continuation bytes so that no character is split.
        while (cut > 0 && (static_cast<unsigned char>(utf8Name[cut]) & 0xC0u) == 0x80u) {
            --cut;
        }
    }
    std::memcpy(store.currentFileName.data(), utf8Name, cut);
    store.currentFileName[cut] = '\0';
}

std::string deviceIdLabel(const MeasurementStore& store) {
    return "ID " + std::string(store.deviceId.data(),
                               ::strnlen(store.deviceId.data(), store.deviceId.size()));
}

}  // namespace nuvisca
