#include "formats/StatisticsCsv.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <system_error>

#include "formats/FixedDecimal.h"

namespace nuvisca {
namespace {

// The CSV's column order, which is not the channels' index order.
constexpr std::array kCsvChannels{kRso2, kOxhb, kDxhb, kTohb};
constexpr std::array<std::string_view, kChannelCount> kChannelKeys{"oxhb", "dxhb", "tohb", "rso2"};

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
    out += kChannelKeys[channel];
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

int statisticsDecimals(Channel channel) {
    return channel == kRso2 ? 2 : 5;
}

ChannelStatisticTexts channelStatisticTexts(Channel channel, const ChannelStatistics& stats) {
    ChannelStatisticTexts texts;
    appendInteger(texts.count, stats.count);
    if (stats.count > 0) {
        const int decimals = statisticsDecimals(channel);
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
    for (const Channel channel : kCsvChannels) {
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
    for (const Channel channel : kCsvChannels) {
        appendChannelLine(out, channel, stats.channels[channel]);
    }
    const BelowThresholdTexts below = belowThresholdTexts(stats);
    out += "rso2_threshold: " + below.threshold + " %\nrso2_below: " + below.seconds + " s, area " +
           below.area + " %·min\n";
    return out;
}

}  // namespace nuvisca
