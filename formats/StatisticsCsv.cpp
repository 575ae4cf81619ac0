#include "formats/StatisticsCsv.h"

#include <charconv>
#include <cstdint>
#include <system_error>

#include "formats/FixedDecimal.h"
#include "store/Channels.h"

namespace nuvisca {
namespace {

void appendInteger(std::string& out, std::int64_t value) {
    char buffer[24];
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

// to_chars rather than snprintf: the viewer runs under the user's LC_NUMERIC.
void appendFixed(std::string& out, double value, int decimals) {
    char buffer[400];  // the largest double has 309 integer digits
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec == std::errc{}) {
        out.append(buffer, result.ptr);
    }
}

void appendFixed(std::string& out, float value, int decimals) {
    char buffer[kFixedBufferSize];
    out.append(buffer, formatFixed(buffer, value, decimals));
}

void appendQuoted(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    out += '"';
}

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
    return header + ",rso2_threshold,rso2_below_s,rso2_auc_below\n";
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

void appendStatisticsCsvRow(std::string& out, std::string_view file, const RangeStatistics& stats) {
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
    out += '\n';
}

std::string formatStatisticsText(std::string_view file, const RangeStatistics& stats) {
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
    return out;
}

}  // namespace nuvisca
