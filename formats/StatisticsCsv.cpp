#include "formats/StatisticsCsv.h"

#include <cstdint>

#include "formats/TextFields.h"
#include "store/Channels.h"

namespace nuvisca {
namespace {

// "n,mean,min,max", the last three empty without values.
void appendChannelFields(std::string& out, Channel channel, const ChannelStatistics& stats) {
    const ChannelStatisticTexts texts = channelStatisticTexts(channel, stats);
    out += texts.count;
    for (const std::string* field : {&texts.mean, &texts.min, &texts.max}) {
        out += ',';
        out += *field;
    }
}

void appendSeriesLine(std::string& out, const RangeStatistics& stats) {
    out += "series: ";
    if (stats.series == StatisticsSeries::Measured) {
        out += "measured\n";
        return;
    }
    out += "moving average, box ";
    appendInteger(out, stats.averageBox);
    out += '\n';
}

void appendChannelLine(std::string& out, Channel channel, const ChannelStatistics& stats) {
    const ChannelStatisticTexts texts = channelStatisticTexts(channel, stats);
    out += kChannels[channel].key;
    out += ": n ";
    out += texts.count;
    if (stats.count > 0) {
        out += ", mean ";
        out += texts.mean;
        out += ", min ";
        out += texts.min;
        out += ", max ";
        out += texts.max;
    }
    out += '\n';
}

}  // namespace

std::string statisticsCsvHeader() {
    std::string header = "file,start,end";
    for (const Channel channel : kListingOrder) {
        for (const std::string_view field : {"_n", "_mean", "_min", "_max"}) {
            header += ',';
            header += kChannels[channel].key;
            header += field;
        }
    }
    return header + ",rso2_threshold,rso2_below_s,rso2_auc_below,rso2_baseline,rso2_events\n";
}

ChannelStatisticTexts channelStatisticTexts(Channel channel, const ChannelStatistics& stats) {
    ChannelStatisticTexts texts;
    appendInteger(texts.count, stats.count);
    if (stats.count > 0) {
        const int decimals = kChannels[channel].decimals;
        appendFixed(texts.mean, stats.mean, decimals);
        appendFixed(texts.min, stats.min, decimals);
        appendFixed(texts.max, stats.max, decimals);
    }
    return texts;
}

BelowThresholdTexts belowThresholdTexts(const RangeStatistics& stats) {
    BelowThresholdTexts texts;
    appendFixed(texts.threshold, stats.rso2Threshold, 2);
    appendFixed(texts.seconds, stats.rso2BelowSeconds, 1);
    appendFixed(texts.area, stats.rso2AreaBelow, 2);
    return texts;
}

std::string baselineText(const Baseline& baseline) {
    std::string out;
    appendFixed(out, baseline.value, 2);
    if (baseline.method == BaselineMethod::kTyped) {
        return out + " % (typed)";
    }
    out += baseline.method == BaselineMethod::kFirstMinutes ? " % (first minutes: mean of "
                                                            : " % (range: mean of ";
    appendInteger(out, baseline.counted);
    out += " values in slots ";
    appendInteger(out, baseline.start);
    out += " to ";
    appendInteger(out, baseline.end);
    return out + ")";
}

void appendStatisticsCsvRow(std::string& out, std::string_view file, const RangeStatistics& stats,
                            const DesaturationFigures& figures) {
    appendQuoted(out, file);
    out += ',';
    appendInteger(out, stats.start);
    out += ',';
    appendInteger(out, stats.end);
    for (const Channel channel : kListingOrder) {
        out += ',';
        appendChannelFields(out, channel, stats.channels[channel]);
    }
    const BelowThresholdTexts below = belowThresholdTexts(stats);
    for (const std::string* field : {&below.threshold, &below.seconds, &below.area}) {
        out += ',';
        out += *field;
    }
    out += ',';
    if (figures.baseline) {
        appendFixed(out, figures.baseline->value, 2);
    }
    out += ',';
    appendInteger(out, static_cast<std::int64_t>(figures.events));
    out += '\n';
}

std::string formatStatisticsText(std::string_view file, const RangeStatistics& stats,
                                 const DesaturationFigures& figures) {
    std::string out = "file: ";
    out += file;
    out += "\nrange: ";
    appendInteger(out, stats.start);
    out += " to ";
    appendInteger(out, stats.end);
    out += " (";
    appendInteger(out, stats.end - stats.start);
    out += " slots)\n";
    appendSeriesLine(out, stats);
    for (const Channel channel : kListingOrder) {
        appendChannelLine(out, channel, stats.channels[channel]);
    }
    const BelowThresholdTexts below = belowThresholdTexts(stats);
    out += "rso2_threshold: " + below.threshold + " %\nrso2_below: " + below.seconds + " s, area " +
           below.area + " %·min\n";
    if (figures.baseline) {
        out += "rso2_baseline: " + baselineText(*figures.baseline) + "\n";
    }
    out += "rso2_events: ";
    appendInteger(out, static_cast<std::int64_t>(figures.events));
    out += '\n';
    return out;
}

}  // namespace nuvisca
