#include "store/Recording.h"

#include <cstring>

namespace nuvisca {

std::int32_t startTimeOfDay(const Recording& store) {
    return store.startHour * 3600 + store.startMinute * 60 + store.startSecond;
}

std::int32_t endTimeOfDay(const Recording& store) {
    return store.endHour * 3600 + store.endMinute * 60 + store.endSecond;
}

std::int32_t computeSpanSamples(const Recording& store) {
    const std::int32_t start = startTimeOfDay(store);
    std::int32_t end = endTimeOfDay(store);
    if (end < start) {
        end += 86400;
    }
    return (end - start) * 2;
}

std::string deviceIdLabel(const Recording& store) {
    return "ID " + std::string(store.deviceId.data(),
                               ::strnlen(store.deviceId.data(), store.deviceId.size()));
}

}  // namespace nuvisca
