#include "graph/Readout.h"

#include <cmath>
#include <cstdio>

#include "graph/SlotClock.h"
#include "store/Channels.h"
#include "store/ElapsedTime.h"

namespace nuvisca {
namespace {

constexpr const char* kNoValue = "\u2014";

std::string valueText(Channel channel, bool present, float value) {
    if (!present) {
        return kNoValue;
    }
    char text[32];
    std::snprintf(text, sizeof text, kChannels[channel].readoutFormat, static_cast<double>(value));
    return text;
}

std::string elapsedText(std::uint64_t halfSeconds) {
    const auto tenths = static_cast<std::int64_t>(halfSeconds * 5);
    char text[48];
    std::snprintf(text, sizeof text, "+%lld:%02lld:%02lld.%lld",
                  static_cast<long long>(tenths / 36000), static_cast<long long>(tenths / 600 % 60),
                  static_cast<long long>(tenths / 10 % 60), static_cast<long long>(tenths % 10));
    return text;
}

}  // namespace

std::optional<std::int32_t> slotUnder(const GraphLayout& layout, const Recording& store, float x) {
    if (!layout.hasVisibleSlots() || !(layout.step > 0.0f) || store.sampleCount <= 0) {
        return std::nullopt;
    }
    const double slot =
        std::floor(layout.start + (static_cast<double>(x) - kPlotMargin) / layout.step + 0.5);
    if (slot < layout.start || slot >= layout.last) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(slot);
}

Readout readoutAt(const ViewModel& model, const ChannelFlags& traceShown, std::int32_t slot) {
    const Recording& store = model.recording();
    Readout readout;
    // Counted as the time axis counts it: a restart past midnight reads 24:xx.
    readout.clock = formatClock(clockTimeOf(store, slot));
    readout.elapsed = elapsedText(elapsedHalfSeconds(store, slot));
    const AveragedSeries* averaged = model.averaged();
    const auto at = static_cast<std::size_t>(slot);
    const bool rso2Measured = static_cast<double>(store.measured[kRso2][at]) > 0.01;
    for (const Channel channel : kListingOrder) {
        if (!traceShown[channel]) {
            continue;
        }
        const float measured = store.measured[channel][at];
        const bool measuredPresent = channel == kRso2 ? rso2Measured : measured >= 0.0f;
        std::string text = std::string(kChannels[channel].name) + ' ';
        if (averaged) {
            const float mean = averaged->values[channel][at];
            const bool meanPresent = mean >= 0.0f && (channel != kRso2 || rso2Measured);
            text += valueText(channel, meanPresent, mean) + " (" +
                    valueText(channel, measuredPresent, measured) + ')';
        } else {
            text += valueText(channel, measuredPresent, measured);
        }
        readout.traces.push_back({channel, std::move(text)});
    }
    return readout;
}

}  // namespace nuvisca
