#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace nuvisca {

inline constexpr std::int32_t kDefaultMinutesPerStrip = 30;
inline constexpr std::int32_t kStripsPerPage = 3;

// One strip of the recording, slots start <= i < end, in a row of a page (both from 0).
struct ReportStrip {
    std::int32_t start = 0;
    std::int32_t end = 0;
    std::int32_t page = 0;
    std::int32_t row = 0;
    friend bool operator==(const ReportStrip&, const ReportStrip&) = default;
};

// The recording's sampleCount slots cut into strips of slotsPerStrip from slot 0 (the last one
// shorter where the slots run out), stripsPerPage to a page from firstPage on.
std::vector<ReportStrip> planStrips(std::int32_t sampleCount, std::int32_t slotsPerStrip,
                                    std::int32_t firstPage, std::int32_t stripsPerPage);

// Where the report's table lines go and which pages the strips fill.
struct ReportPlan {
    // The first table line of each page that carries tables: page 1 and its continuations.
    std::vector<std::size_t> firstLineOfPage;
    std::vector<ReportStrip> strips;
    std::int32_t pageCount = 0;
};

// The lines flow from page 1, which holds firstPageLines of them, over pages of laterPageLines
// each; the strips begin on the page after the last of them.
ReportPlan planReport(std::size_t lineCount, std::size_t firstPageLines, std::size_t laterPageLines,
                      std::int32_t sampleCount, std::int32_t slotsPerStrip,
                      std::int32_t stripsPerPage);

}  // namespace nuvisca
