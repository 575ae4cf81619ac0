#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "graph/Painter.h"
#include "graph/ViewModel.h"
#include "print/ReportContent.h"
#include "print/ReportLayout.h"

namespace nuvisca {

// The report's unit is half a point, so that the graph's fonts print at half their size: an
// A4 landscape sheet.
inline constexpr double kReportUnitsPerPoint = 2.0;
inline constexpr double kReportPageWidth = 841.89 * kReportUnitsPerPoint;
inline constexpr double kReportPageHeight = 595.28 * kReportUnitsPerPoint;

// The report of a view model: what it says and where it goes, fixed once for all its pages.
struct Report {
    std::vector<ReportField> summary;
    std::vector<ReportLine> lines;
    ReportPlan plan;
    std::int32_t slotsPerStrip = 0;
};

// The table lines page 1 holds under the summary and the whole recording, and the lines of
// each page after it.
std::size_t firstPageLines();
std::size_t laterPageLines();

Report makeReport(const ViewModel& model, std::int32_t minutesPerStrip);

// Draws one page, from 0, whole: the paper's white, its content and the footer.
void drawReportPage(Painter& painter, const ViewModel& model, const Report& report,
                    std::int32_t page);

}  // namespace nuvisca
