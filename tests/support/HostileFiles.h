#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "formats/CsvReader.h"
#include "formats/CsvTestSupport.h"
#include "support/NvdBuilder.h"

namespace nuvisca::test {

// The file holds head and then zeros up to size; the zeros cost no disk.
inline std::filesystem::path writeSparse(const std::filesystem::path& path, std::string_view head,
                                         std::uintmax_t size) {
    writeText(path, head);
    std::filesystem::resize_file(path, size);
    return path;
}

// Files named like recordings that are huge or odd, each with whether a recording can be
// read from it: CSV exports too large to be any (sparse), a device recording of 40 GB with a
// valid header (sparse), a file sized 0 that reads without end, as one that grows while it
// is read, and a CSV export at the size bound made of one line.
inline std::vector<std::pair<std::filesystem::path, bool>> writeHostileFiles(
    const std::filesystem::path& folder) {
    constexpr std::uintmax_t kGb = 1'000'000'000;
    const std::string csv = std::string(kMeasuredHeader) + "10:20:30,00:00:00,71.1,0.4,0.2,0.6\n";
    const Bytes bytes = NvdBuilder().continuation(0.7f, 0.4f, 0.2f).bytes();
    const std::string device(bytes.begin(), bytes.end());
    std::string line = "RM27,ID 0123456789012,測定日時,2014年,05月12日,10時20分30";
    line.resize(kCsvSizeLimit, '7');
    writeText(folder / "line.csv", line);
    std::filesystem::create_symlink("/proc/self/pagemap", folder / "grows.csv");
    return {{writeSparse(folder / "40G.csv", csv, 40 * kGb), false},
            {writeSparse(folder / "3G.csv", csv, 3 * kGb), false},
            {writeSparse(folder / "bound+1.csv", csv, kCsvSizeLimit + 1), false},
            {writeSparse(folder / "40G.NVD", device, 40 * kGb), true},
            {folder / "grows.csv", false},
            {folder / "line.csv", true}};
}

}  // namespace nuvisca::test
