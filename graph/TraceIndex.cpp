#include "graph/TraceIndex.h"

#include <algorithm>

#include "graph/SlotClock.h"

namespace nuvisca {
namespace {

constexpr std::int32_t kFanOut = 4;

}  // namespace

TraceIndex::TraceIndex(const Recording& store, const SampleArray& drawn, const SampleArray& raw,
                       bool rso2, Rso2Presence presence)
    : drawn_(&drawn) {
    const std::int32_t count = store.sampleCount;
    for (std::int32_t i = 0; i < count; ++i) {
        if (isTaggedSlot(store, i) || !traceHasValue(drawn, raw, rso2, presence, i)) {
            breaks_.push_back(i);
        }
    }
    std::int32_t blockSize = 1;
    while (blockSize * kFanOut <= count) {
        const std::int32_t blocks = count / (blockSize * kFanOut);
        std::vector<SlotExtremes> level(static_cast<std::size_t>(blocks));
        for (std::int32_t b = 0; b < blocks; ++b) {
            SlotExtremes& block = level[static_cast<std::size_t>(b)];
            const std::int32_t first = b * blockSize * kFanOut;
            block = {first, first};
            for (std::int32_t k = 0; k < kFanOut; ++k) {
                const std::int32_t part = first + k * blockSize;
                merge(block, levels_.empty()
                                 ? SlotExtremes{part, part}
                                 : levels_.back()[static_cast<std::size_t>(part / blockSize)]);
            }
        }
        levels_.push_back(std::move(level));
        blockSize *= kFanOut;
    }
}

void TraceIndex::merge(SlotExtremes& into, const SlotExtremes& block) const {
    const SampleArray& v = *drawn_;
    const auto at = [&v](std::int32_t slot) { return v[static_cast<std::size_t>(slot)]; };
    // Strictly: of equal values the earlier slot stays, as blocks are merged in slot order.
    if (at(block.lowest) < at(into.lowest)) {
        into.lowest = block.lowest;
    }
    if (at(block.highest) > at(into.highest)) {
        into.highest = block.highest;
    }
}

SlotExtremes TraceIndex::extremes(std::int32_t from, std::int32_t to) const {
    SlotExtremes result{from, from};
    std::int32_t slot = from;
    while (slot < to) {
        std::int32_t blockSize = 1;
        std::size_t level = 0;
        while (level < levels_.size() && slot % (blockSize * kFanOut) == 0 &&
               slot + blockSize * kFanOut <= to) {
            blockSize *= kFanOut;
            ++level;
        }
        merge(result, level == 0 ? SlotExtremes{slot, slot}
                                 : levels_[level - 1][static_cast<std::size_t>(slot / blockSize)]);
        slot += blockSize;
    }
    return result;
}

bool TraceIndex::breaksWithin(std::int32_t from, std::int32_t to) const {
    const auto next = std::lower_bound(breaks_.begin(), breaks_.end(), from);
    return next != breaks_.end() && *next < to;
}

}  // namespace nuvisca
