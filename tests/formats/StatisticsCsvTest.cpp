#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

#include "formats/StatisticsCsv.h"

namespace nuvisca {
namespace {

// Values on and near the rounding boundaries of their formats; dxHb has none.
// clang-format off
const RangeStatistics kAwkward{12, 7000, StatisticsSeries::Averaged, 5,
    {{{2, 0.123455, 0.0000049999f, 1e7f}, {}, {1, 0.5, 0.0000051f, 2.000015f},
      {3, 2.675, 40.125f, 99.995f}}}, 33.335, 0, 0.25, 0.125};
// clang-format on
const Baseline kRangeBaseline{62.125, BaselineMethod::kRange, 10, 20, 7};

TEST(StatisticsCsv, RowAsPrintfWritesItEmptyWithoutValuesFileQuotedWhenItMustAndTheTextBlock) {
    const std::string_view fields =
        ",12,7000,3,2.67,40.12,100.00,2,0.12345,0.00000,10000000.00000,0,,,,1,0.50000,0.00001,"
        "2.00002,33.34,0.2,0.12";
    // clang-format off
    const std::pair<std::string, std::string> files[] = {{"a.nvd", "a.nvd"}, {"b,c", "\"b,c\""},
        {"say \"x\"", "\"say \"\"x\"\"\""}, {"d\ne", "\"d\ne\""}, {"f\rg", "\"f\rg\""}};
    // clang-format on
    for (const auto& [file, field] : files) {
        std::string row;
        appendStatisticsCsvRow(row, file, kAwkward, {});
        EXPECT_EQ(row, field + std::string(fields) + ",,0\n");
    }
    // The baseline as printf "%.2f" rounds its halves, to even.
    std::string row;
    appendStatisticsCsvRow(row, "a", kAwkward, {kRangeBaseline, 3});
    EXPECT_EQ(row, "a" + std::string(fields) + ",62.12,3\n");
    EXPECT_EQ(std::ranges::count(row, ','), std::ranges::count(statisticsCsvHeader(), ','));
    EXPECT_TRUE(statisticsCsvHeader().ends_with(",rso2_auc_below,rso2_baseline,rso2_events\n"));

    // The readable block leaves out what a channel without values cannot have.
    EXPECT_EQ(formatStatisticsText("a b.nvd", kAwkward, {kRangeBaseline, 3}),
              "file: a b.nvd\nrange: 12 to 7000 (6988 slots)\nseries: moving average, box 5\n"
              "rso2: n 3, mean 2.67, min 40.12, max 100.00\n"
              "oxhb: n 2, mean 0.12345, min 0.00000, max 10000000.00000\n"
              "dxhb: n 0\ntohb: n 1, mean 0.50000, min 0.00001, max 2.00002\n"
              "rso2_threshold: 33.34 %\nrso2_below: 0.2 s, area 0.12 %·min\n"
              "rso2_baseline: 62.12 % (range: mean of 7 values in slots 10 to 20)\n"
              "rso2_events: 3\n");
    // How each way of setting it reads.
    const std::pair<Baseline, std::string> baselines[] = {
        {{70.005, BaselineMethod::kTyped, 0, 0, 0}, "70.00 % (typed)"},
        {{50, BaselineMethod::kFirstMinutes, 0, 600, 598},
         "50.00 % (first minutes: mean of 598 values in slots 0 to 600)"}};
    for (const auto& [baseline, text] : baselines) {
        EXPECT_EQ(baselineText(baseline), text);
    }
}

}  // namespace
}  // namespace nuvisca
