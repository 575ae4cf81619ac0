#pragma once

#include <string>
#include <string_view>

#include "store/RangeStatistics.h"

namespace nuvisca {

// The statistics CSV's header line, ending in '\n'.
std::string statisticsCsvHeader();

// A channel's figures as the CSV and the readable block write them; mean, min and max are
// empty when nothing counted.
struct ChannelStatisticTexts {
    std::string count;
    std::string mean;
    std::string min;
    std::string max;
};
ChannelStatisticTexts channelStatisticTexts(Channel channel, const ChannelStatistics& stats);

// The threshold in percent, the time below it in seconds and the area below it in %·min.
struct BelowThresholdTexts {
    std::string threshold;
    std::string seconds;
    std::string area;
};
BelowThresholdTexts belowThresholdTexts(const RangeStatistics& stats);

// One line of the statistics CSV, ending in '\n': the file as given, quoted when it must be.
void appendStatisticsCsvRow(std::string& out, std::string_view file, const RangeStatistics& stats);

// The readable block of one file, 'key: value' lines ending in '\n'.
std::string formatStatisticsText(std::string_view file, const RangeStatistics& stats);

}  // namespace nuvisca
