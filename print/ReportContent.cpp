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

// A range's rows of the two statistics tables: rSO2 with its time and area below the effective
// threshold and its events, and the three haemoglobin indices.
struct StatisticsRows {
    std::vector<std::string> rso2;
    std::vector<std::string> indexes;
};

void appendChannel(std::vector<std::string>& cells, Channel channel,
                   const ChannelStatistics& stats) {
    const ChannelStatisticTexts texts = channelStatisticTexts(channel, stats);
    for (const std::string* text : {&texts.count, &texts.mean, &texts.min, &texts.max}) {
        cells.push_back(orNone(*text));
    }
}

StatisticsRows statisticsRows(const ViewModel& model, const std::string& name, SlotSpan span) {
    const Recording& store = model.recording();
    StatisticsRequest request;
    request.start = span.start;
    request.end = span.end;
    request.rso2Threshold = model.review().effectiveThreshold();
    const RangeStatistics stats = computeRangeStatistics(store, model.averaged(), request);
    StatisticsRows rows{{name, formatClockSpan(store, span.start, span.end),
                         formatSlotsDuration(std::int64_t{span.end} - span.start)},
                        {name}};
    appendChannel(rows.rso2, kRso2, stats.channels[kRso2]);
    const BelowThresholdTexts below = belowThresholdTexts(stats);
    rows.rso2.push_back(orNone(below.seconds) + " s");
    rows.rso2.push_back(orNone(below.area) + " %·min");
    const auto& events = model.desaturations().events;
    rows.rso2.push_back(
        std::to_string(std::ranges::count_if(events, [&](const DesaturationEvent& e) {
            return e.start >= span.start && e.start < span.end;
        })));
    for (const Channel channel : kListingOrder) {
        if (channel != kRso2) {
            appendChannel(rows.indexes, channel, stats.channels[channel]);
        }
    }
    return rows;
}

struct ColumnGroup {
    std::string name;
    std::vector<std::string> columns;
};

// The group headings and headings of one table: names over each group's columns.
void appendHeadings(std::vector<ReportLine>& lines, ReportTable table,
                    std::vector<std::string> first, const std::vector<ColumnGroup>& groups) {
    std::vector<std::string> names(first.size());
    for (const ColumnGroup& group : groups) {
        names.push_back(group.name);
        names.resize(names.size() + group.columns.size() - 1);
        first.insert(first.end(), group.columns.begin(), group.columns.end());
    }
    lines.push_back({LineKind::kGroupHeading, table, std::move(names)});
    lines.push_back({LineKind::kHeading, table, std::move(first)});
}

// The rows of the whole recording and of each phase.
std::vector<StatisticsRows> statisticsOfPhases(const ViewModel& model) {
    const std::int32_t count = model.recording().sampleCount;
    std::vector<StatisticsRows> rows{statisticsRows(model, "全体", {0, count})};
    const std::vector<Phase> phases = phasesOf(model.markers(), count);
    if (phases.size() > 1) {
        for (const Phase& phase : phases) {
            rows.push_back(statisticsRows(model, phaseName(phase), {phase.start, phase.end}));
        }
    }
    return rows;
}

const std::vector<std::string> kFigureHeadings{"件数", "平均", "最小", "最大"};

void appendRso2Statistics(const ViewModel& model, std::vector<StatisticsRows>& rows,
                          std::vector<ReportLine>& lines) {
    lines.push_back(
        {LineKind::kTitle,
         ReportTable::kRso2Statistics,
         {"統計（有効閾値 " + fixed(model.review().effectiveThreshold(), 1, " %") + "）"}});
    appendHeadings(lines, ReportTable::kRso2Statistics, {"区間", "時刻", "長さ"},
                   {ColumnGroup{std::string(kChannels[kRso2].name), kFigureHeadings},
                    ColumnGroup{"閾値未満", {"時間", "面積"}}, ColumnGroup{"", {"イベント"}}});
    for (StatisticsRows& row : rows) {
        lines.push_back({LineKind::kFigures, ReportTable::kRso2Statistics, std::move(row.rso2)});
    }
}

void appendIndexStatistics(std::vector<StatisticsRows>& rows, std::vector<ReportLine>& lines) {
    std::vector<ColumnGroup> groups;
    for (const Channel channel : kListingOrder) {
        if (channel != kRso2) {
            groups.push_back({std::string(kChannels[channel].name), kFigureHeadings});
        }
    }
    lines.push_back({LineKind::kTitle, ReportTable::kIndexStatistics, {"ヘモグロビン指標"}});
    appendHeadings(lines, ReportTable::kIndexStatistics, {"区間"}, groups);
    for (StatisticsRows& row : rows) {
        lines.push_back(
            {LineKind::kFigures, ReportTable::kIndexStatistics, std::move(row.indexes)});
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

bool isNameColumn(ReportTable table, std::size_t column) {
    constexpr std::size_t kEventPhaseColumn = 5;
    return column == 0 || (table == ReportTable::kEvents && column == kEventPhaseColumn);
}

std::vector<ReportLine> reportLines(const ViewModel& model) {
    std::vector<ReportLine> lines;
    std::vector<StatisticsRows> rows = statisticsOfPhases(model);
    appendRso2Statistics(model, rows, lines);
    lines.push_back({LineKind::kGap, ReportTable::kEvents, {}});
    appendEvents(model, lines);
    lines.push_back({LineKind::kGap, ReportTable::kIndexStatistics, {}});
    appendIndexStatistics(rows, lines);
    return lines;
}

}  // namespace nuvisca
