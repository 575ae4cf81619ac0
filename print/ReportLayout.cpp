#include "print/ReportLayout.h"

#include <algorithm>

namespace nuvisca {

std::vector<ReportStrip> planStrips(std::int32_t sampleCount, std::int32_t slotsPerStrip,
                                    std::int32_t firstPage, std::int32_t stripsPerPage) {
    std::vector<ReportStrip> strips;
    if (slotsPerStrip <= 0 || stripsPerPage <= 0) {
        return strips;
    }
    for (std::int64_t start = 0; start < sampleCount; start += slotsPerStrip) {
        const auto index = static_cast<std::int32_t>(strips.size());
        strips.push_back(
            {static_cast<std::int32_t>(start),
             static_cast<std::int32_t>(std::min<std::int64_t>(start + slotsPerStrip, sampleCount)),
             firstPage + index / stripsPerPage, index % stripsPerPage});
    }
    return strips;
}

ReportPlan planReport(std::size_t lineCount, std::size_t firstPageLines, std::size_t laterPageLines,
                      std::int32_t sampleCount, std::int32_t slotsPerStrip,
                      std::int32_t stripsPerPage) {
    ReportPlan plan;
    plan.firstLineOfPage.push_back(0);
    std::size_t placed = firstPageLines;
    while (placed < lineCount && laterPageLines > 0) {
        plan.firstLineOfPage.push_back(placed);
        placed += laterPageLines;
    }
    const auto tablePages = static_cast<std::int32_t>(plan.firstLineOfPage.size());
    plan.strips = planStrips(sampleCount, slotsPerStrip, tablePages, stripsPerPage);
    plan.pageCount = plan.strips.empty() ? tablePages : plan.strips.back().page + 1;
    return plan;
}

}  // namespace nuvisca
