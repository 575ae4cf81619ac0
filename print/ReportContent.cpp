#include "print/ReportContent.h"

#include <algorithm>

#include "formats/StatisticsCsv.h"
#include "formats/TextFields.h"
#include "graph/GraphHeader.h"
#include "graph/ReviewTexts.h"
#include "graph/SlotClock.h"
#include "print/PrintPageDrawing.h"
#include "store/RecordingDate.h"

namespace nuvisca {
namespace {

const std::string kNoValue = "—";

std::string fixed(double value, int decimals, const char* unit) {
    std::string text;
    appendFixed(text, value, decimals);
    return text + unit;
}

std::string orNone(const std::string& text) {
    return text.empty() ? kNoValue : text;
}

std::string thresholdsText(const ReviewSettings& review) {
    std::string text = "絶対 " + fixed(review.absoluteThreshold, 1, " %");
    if (review.baseline) {
        text += "  相対低下 " + fixed(review.dropPercent, 1, " %") + "（" +
                fixed(relativeThreshold(review.baseline->value, review.dropPercent), 1, " %") +
                "）";
    }
    return text + "  有効 " + fixed(review.effectiveThreshold(), 1, " %");
}

// The statistics columns: the range, then per channel, then below the effective threshold.
constexpr std::size_t kRangeColumns = 3;
constexpr std::size_t kChannelColumns = 4;

std::vector<std::string> statisticsRow(const ViewModel& model, std::string name, SlotSpan span) {
    const Recording& store = model.recording();
    StatisticsRequest request;
    request.start = span.start;
    request.end = span.end;
    request.rso2Threshold = model.review().effectiveThreshold();
    const RangeStatistics stats = computeRangeStatistics(store, model.averaged(), request);
    std::vector<std::string> cells{std::move(name), formatClockSpan(store, span.start, span.end),
                                   formatSlotsDuration(std::int64_t{span.end} - span.start)};
    for (const Channel channel : kListingOrder) {
        const ChannelStatisticTexts texts = channelStatisticTexts(channel, stats.channels[channel]);
        for (const std::string* text : {&texts.count, &texts.mean, &texts.min, &texts.max}) {
            cells.push_back(orNone(*text));
        }
    }
    const BelowThresholdTexts below = belowThresholdTexts(stats);
    cells.push_back(orNone(below.seconds) + " s");
    cells.push_back(orNone(below.area) + " %·min");
    const auto& events = model.desaturations().events;
    cells.push_back(std::to_string(std::ranges::count_if(events, [&](const DesaturationEvent& e) {
        return e.start >= span.start && e.start < span.end;
    })));
    return cells;
}

std::vector<std::string> statisticsHeadings() {
    std::vector<std::string> cells{"区間", "時刻", "長さ"};
    for (std::size_t c = 0; c < kListingOrder.size(); ++c) {
        cells.insert(cells.end(), {"件数", "平均", "最小", "最大"});
    }
    cells.insert(cells.end(), {"時間", "面積", "イベント"});
    return cells;
}

std::vector<std::string> statisticsGroups() {
    std::vector<std::string> cells(kRangeColumns);
    for (const Channel channel : kListingOrder) {
        cells.emplace_back(kChannels[channel].name);
        cells.resize(cells.size() + kChannelColumns - 1);
    }
    cells.emplace_back("閾値未満");
    cells.resize(cells.size() + 2);
    return cells;
}

void appendStatistics(const ViewModel& model, std::vector<ReportLine>& lines) {
    const auto add = [&](LineKind kind, std::vector<std::string> cells) {
        lines.push_back({kind, ReportTable::kStatistics, std::move(cells)});
    };
    const std::int32_t count = model.recording().sampleCount;
    add(LineKind::kTitle,
        {"統計（有効閾値 " + fixed(model.review().effectiveThreshold(), 1, " %") + "）"});
    add(LineKind::kGroupHeading, statisticsGroups());
    add(LineKind::kHeading, statisticsHeadings());
    add(LineKind::kFigures, statisticsRow(model, "全体", {0, count}));
    const std::vector<Phase> phases = phasesOf(model.markers(), count);
    if (phases.size() > 1) {
        for (const Phase& phase : phases) {
            add(LineKind::kFigures,
                statisticsRow(model, phaseName(phase), {phase.start, phase.end}));
        }
    }
}

// The phase an event starts in, by name; empty without markers.
std::string phaseOf(const std::vector<Phase>& phases, std::int32_t slot) {
    const auto found = std::ranges::find_if(
        phases, [&](const Phase& phase) { return slot >= phase.start && slot < phase.end; });
    return phases.size() > 1 && found != phases.end() ? phaseName(*found) : std::string();
}

void appendEvents(const ViewModel& model, std::vector<ReportLine>& lines) {
    const auto add = [&](LineKind kind, std::vector<std::string> cells) {
        lines.push_back({kind, ReportTable::kEvents, std::move(cells)});
    };
    const Desaturations& found = model.desaturations();
    const std::vector<Phase> phases = phasesOf(model.markers(), model.recording().sampleCount);
    add(LineKind::kTitle,
        {"低下イベント（最短 " + fixed(model.review().minimumSeconds, 1, " s") + "）"});
    add(LineKind::kHeading, {"番号", "開始", "持続時間", "最低値", "面積", "区間"});
    for (std::size_t k = 0; k < found.events.size(); ++k) {
        const std::array<std::string, 4> texts = eventRowTexts(model.recording(), found.events[k]);
        add(LineKind::kFigures, {std::to_string(k + 1), texts[0], texts[1], texts[2], texts[3],
                                 phaseOf(phases, found.events[k].start)});
    }
    add(LineKind::kNote, {eventSumsText(found)});
}

}  // namespace

std::vector<ReportField> reportSummary(const ViewModel& model) {
    const Recording& store = model.recording();
    const ReviewSettings& review = model.review();
    const std::string date = formatDate(recordingStart(store), DateStyle::Heading);
    const bool hasData = store.sampleCount > 0;
    const std::string id = deviceIdLabel(store);
    return {
        {"ファイル", orNone(std::string(printableFileName(model)))},
        {"機器ID", id.size() > 3 ? id.substr(3) : kNoValue},
        {"測定日", hasData ? date.substr(0, date.find(' ')) : kNoValue},
        {"開始・終了", hasData ? formatClockSpan(store, 0, store.sampleCount) : kNoValue},
        {"記録時間", formatSlotsDuration(store.sampleCount)},
        {"監視時間", formatSlotsDuration(model.desaturations().monitoredSlots)},
        {"移動平均", model.averageWindow() > 0 ? movingAverageLine(model.averageWindow() + 1)
                                               : std::string("なし")},
        {"ベースライン", review.baseline ? fixed(review.baseline->value, 2, " %（") +
                                               baselineMethodText(*review.baseline) + "）"
                                         : std::string("なし")},
        {"閾値", thresholdsText(review)},
    };
}

std::string phaseName(const Phase& phase) {
    return (phase.fromLabel.empty() ? std::string("開始") : phase.fromLabel) + " – " +
           (phase.toLabel.empty() ? std::string("終了") : phase.toLabel);
}

std::vector<ReportLine> reportLines(const ViewModel& model) {
    std::vector<ReportLine> lines;
    appendStatistics(model, lines);
    lines.push_back({LineKind::kGap, ReportTable::kEvents, {}});
    appendEvents(model, lines);
    return lines;
}

}  // namespace nuvisca
