#include "graph/ReviewTexts.h"

#include "formats/TextFields.h"
#include "graph/SlotClock.h"

namespace nuvisca {
namespace {

std::string fixed(double value, int decimals, const char* unit) {
    std::string text;
    appendFixed(text, value, decimals);
    return text + unit;
}

}  // namespace

std::array<std::string, 4> eventRowTexts(const Recording& store, const DesaturationEvent& event) {
    return {formatClock(clockTimeOf(store, event.start)), fixed(event.seconds(), 1, " s"),
            fixed(event.nadir, 2, " %"), fixed(event.areaBelow, 2, " %·min")};
}

std::string eventSumsText(const Desaturations& found) {
    return std::to_string(found.events.size()) + " 件  " +
           fixed(found.secondsInEvents(), 1, " s  ") + fixed(found.areaInEvents, 2, " %·min  ") +
           fixed(found.areaPerMonitoredHour(), 2, " %·min/時");
}

std::string baselineMethodText(const Baseline& baseline) {
    switch (baseline.method) {
        case BaselineMethod::kFirstMinutes:
            return "最初の " + std::to_string(baseline.end / kSlotsPerMinute) + " 分";
        case BaselineMethod::kRange:
            return "ベースラインに設定";
        case BaselineMethod::kTyped:
            break;
    }
    return "入力";
}

}  // namespace nuvisca
