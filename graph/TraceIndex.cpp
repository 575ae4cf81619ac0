#include "graph/TraceIndex.h"

#include <algorithm>
#include <type_traits>

#include "graph/SlotClock.h"

namespace nuvisca {
namespace {

constexpr std::int32_t kFanOut = 4;
static_assert(kFanOut == 4, "extremes() steps through the levels by shifts of two bits");

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
        std::vector<Block> level(static_cast<std::size_t>(blocks));
        for (std::int32_t b = 0; b < blocks; ++b) {
            Block& block = level[static_cast<std::size_t>(b)];
            const std::int32_t first = b * blockSize * kFanOut;
            block = single(first);
            for (std::int32_t k = 0; k < kFanOut; ++k) {
                const std::int32_t part = first + k * blockSize;
                merge(block, levels_.empty()
                                 ? single(part)
                                 : levels_.back()[static_cast<std::size_t>(part / blockSize)]);
            }
        }
        levels_.push_back(std::move(level));
        blockSize *= kFanOut;
    }
}

TraceIndex::Block TraceIndex::single(std::int32_t slot) const {
    const float value = (*drawn_)[static_cast<std::size_t>(slot)];
    return {value, value, slot, slot};
}

void TraceIndex::merge(Block& into, const Block& block) {
    // Strictly: of equal values the earlier slot stays, as blocks are merged in slot order.
    // Without branches, which the data would mispredict half the time.
    const bool lower = block.low < into.low;
    const bool higher = block.high > into.high;
    into.low = lower ? block.low : into.low;
    into.lowest = lower ? block.lowest : into.lowest;
    into.high = higher ? block.high : into.high;
    into.highest = higher ? block.highest : into.highest;
}

template <class Visit>
void TraceIndex::cover(std::int32_t from, std::int32_t to, Visit visit) const {
    // The largest whole blocks, climbing a level at a time from one to the next and down again
    // at the end. A block of level k holds 4^k slots; level 0 is a single slot.
    const auto top = static_cast<int>(levels_.size());
    const auto size = [](int level) { return std::int32_t{1} << (2 * level); };
    int level = 0;
    std::int32_t slot = from;
    while (slot < to) {
        while (level < top && (slot & (size(level + 1) - 1)) == 0 && slot + size(level + 1) <= to) {
            ++level;
        }
        while (slot + size(level) > to) {
            --level;
        }
        if (level == 0) {
            visit(slot);
        } else {
            visit(levels_[static_cast<std::size_t>(level - 1)]
                         [static_cast<std::size_t>(slot >> (2 * level))]);
        }
        slot += size(level);
    }
}

SlotExtremes TraceIndex::extremes(std::int32_t from, std::int32_t to) const {
    Block result = single(from);
    cover(from, to, [&](const auto& part) {
        if constexpr (std::is_same_v<std::decay_t<decltype(part)>, Block>) {
            merge(result, part);
        } else {
            merge(result, single(part));
        }
    });
    return {result.lowest, result.highest};
}

ValueRange TraceIndex::valueRange(std::int32_t from, std::int32_t to) const {
    const SampleArray& values = *drawn_;
    ValueRange range{values[static_cast<std::size_t>(from)],
                     values[static_cast<std::size_t>(from)]};
    const auto take = [&range](float low, float high) {
        range.low = low < range.low ? low : range.low;
        range.high = high > range.high ? high : range.high;
    };
    cover(from, to, [&](const auto& part) {
        if constexpr (std::is_same_v<std::decay_t<decltype(part)>, Block>) {
            take(part.low, part.high);
        } else {
            const float value = values[static_cast<std::size_t>(part)];
            take(value, value);
        }
    });
    return range;
}

}  // namespace nuvisca
