// The device record reader on any bytes: its date key and its load, checked against a
// record-by-record reading of the same bytes.
#include <cstdint>
#include <cstring>
#include <memory>

#include "FuzzSupport.h"
#include "NvdReference.h"
#include "formats/NvdReader.h"

namespace nuvisca::fuzz {
namespace {

bool sameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void compareSlots(const Recording& store, const NvdReference& expected) {
    require(store.sampleCount == static_cast<std::int32_t>(expected.slots.size()),
            "sample count as read record by record");
    for (std::size_t i = 0; i < expected.slots.size(); ++i) {
        const NvdReference::Slot& slot = expected.slots[i];
        require(store.sampleTime[i] == slot.tag, "slot tag as read record by record");
        require(sameBits(store.measured[kRso2][i], slot.values[0]) &&
                    sameBits(store.measured[kOxhb][i], slot.values[1]) &&
                    sameBits(store.measured[kDxhb][i], slot.values[2]) &&
                    sameBits(store.measured[kTohb][i], slot.values[3]),
                "slot values as read record by record");
    }
}

}  // namespace
}  // namespace nuvisca::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace nuvisca;
    static const std::unique_ptr<Recording> store = makeEmptyRecording();

    const auto path = fuzz::scratch().write("input.NVD", data, size);
    static fuzz::NvdReference expected;
    expected.read(data, size);
    const std::int64_t key = getDateFromNVD(path);
    fuzz::markUntouched(*store);
    const bool loaded = readNVDFile(path, *store);

    fuzz::require(loaded == expected.accepted, "accepted exactly when tag and count are valid");
    fuzz::require(key == (expected.accepted ? expected.dateKey : 0), "date key from bytes 4-9");
    if (!loaded) {
        fuzz::require(fuzz::isUntouched(*store), "a refused file leaves the store alone");
        return 0;
    }
    fuzz::require(fuzz::dateKeyOf(*store) == key, "date key and loaded start agree");
    fuzz::require(store->endHour == expected.header[6] && store->endMinute == expected.header[7] &&
                      store->endSecond == expected.header[8],
                  "end time from bytes 10-12");
    fuzz::require(store->deviceId == expected.deviceId, "device id of 13 digits");
    fuzz::compareSlots(*store, expected);
    fuzz::require(store->spanSamples == computeSpanSamples(*store), "span from the header");
    return 0;
}
