#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "print/ReportLayout.h"

namespace nuvisca::test {
namespace {

// Strips cover every slot once, in order, the last one cut where the slots end, three to a
// page from the first page after the tables.
TEST(ReportLayout, StripsCoverEverySlotThreeToAPage) {
    EXPECT_EQ(planStrips(14400, 3600, 1, 3),
              (std::vector<ReportStrip>{
                  {0, 3600, 1, 0}, {3600, 7200, 1, 1}, {7200, 10800, 1, 2}, {10800, 14400, 2, 0}}));
    EXPECT_EQ(planStrips(3700, 3600, 2, 4),
              (std::vector<ReportStrip>{{0, 3600, 2, 0}, {3600, 3700, 2, 1}}));
    EXPECT_EQ(planStrips(1, 3600, 1, 3), (std::vector<ReportStrip>{{0, 1, 1, 0}}));
    EXPECT_TRUE(planStrips(0, 3600, 1, 3).empty());
    EXPECT_TRUE(planStrips(100, 0, 1, 3).empty());

    const std::vector<ReportStrip> full = planStrips(76800, 3600, 1, 3);
    ASSERT_EQ(full.size(), 22u);
    for (std::size_t k = 1; k < full.size(); ++k) {
        EXPECT_EQ(full[k].start, full[k - 1].end);
    }
    EXPECT_EQ(full.back(), (ReportStrip{75600, 76800, 8, 0}));
}

// The table lines fill page 1, then whole pages; the strips follow the last of them.
TEST(ReportLayout, TablesContinueBeforeTheStrips) {
    // Lines, first page's room, a later page's room, slots: table pages' first lines, pages.
    using Row = std::tuple<std::size_t, std::size_t, std::size_t, std::int32_t,
                           std::vector<std::size_t>, std::int32_t>;
    const Row rows[] = {
        {10, 18, 40, 14400, {0}, 3},                // 2 h in 30-minute strips: 1 + 2 pages
        {18, 18, 40, 14400, {0}, 3},                // exactly full
        {19, 18, 40, 14400, {0, 18}, 4},            // one line over
        {100, 18, 40, 76800, {0, 18, 58, 98}, 12},  // 4 + 8 pages of 22 strips
        {10, 18, 40, 0, {0}, 1},                    // no samples: no strips
    };
    for (const auto& [lines, first, later, slots, starts, pages] : rows) {
        SCOPED_TRACE(lines);
        const ReportPlan plan = planReport(lines, first, later, slots, 3600, 3);
        EXPECT_EQ(plan.firstLineOfPage, starts);
        EXPECT_EQ(plan.pageCount, pages);
        if (!plan.strips.empty()) {
            EXPECT_EQ(plan.strips.front().page, static_cast<std::int32_t>(starts.size()));
        }
    }
}

}  // namespace
}  // namespace nuvisca::test
