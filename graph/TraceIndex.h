#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "graph/GraphPageStyle.h"
#include "store/Recording.h"

namespace nuvisca {

// Whether a slot of a trace has a value to draw. rSO2's measured series decides, also when
// the averaged one is drawn.
inline bool traceHasValue(const SampleArray& drawn, const SampleArray& raw, bool rso2,
                          Rso2Presence presence, std::int32_t slot) {
    const auto i = static_cast<std::size_t>(slot);
    if (!rso2) {
        return drawn[i] >= 0.0f;
    }
    if (presence == Rso2Presence::AboveZero) {
        return raw[i] > 0.0f;
    }
    return static_cast<double>(raw[i]) > 0.01;
}

// The first lowest and first highest slot of a stretch.
struct SlotExtremes {
    std::int32_t lowest = 0;
    std::int32_t highest = 0;
};

// The lowest and highest value of a stretch.
struct ValueRange {
    float low = 0.0f;
    float high = 0.0f;
};

// One drawn series, read once so that a dense view need not read it again: its extremes over
// blocks of 4, 16, 64, ... slots, and the slots at which its runs break (no value, or a restart).
class TraceIndex {
public:
    TraceIndex() = default;
    TraceIndex(const Recording& store, const SampleArray& drawn, const SampleArray& raw, bool rso2,
               Rso2Presence presence);

    // from < to; both within the recording.
    SlotExtremes extremes(std::int32_t from, std::int32_t to) const;
    // The same stretch's values alone, which cost less to find.
    ValueRange valueRange(std::int32_t from, std::int32_t to) const;
    // The slots that break a run, ascending.
    std::span<const std::int32_t> breaks() const { return breaks_; }

private:
    // The values are kept beside their slots, so that merging blocks reads no samples.
    struct Block {
        float low = 0.0f;
        float high = 0.0f;
        std::int32_t lowest = 0;
        std::int32_t highest = 0;
    };
    Block single(std::int32_t slot) const;
    // Calls `visit` with the single slots and the blocks that make up from .. to - 1.
    template <class Visit>
    void cover(std::int32_t from, std::int32_t to, Visit visit) const;
    static void merge(Block& into, const Block& block);

    const SampleArray* drawn_ = nullptr;
    std::vector<std::vector<Block>> levels_;  // level k: blocks of 4^(k + 1) slots
    std::vector<std::int32_t> breaks_;        // ascending
};

}  // namespace nuvisca
