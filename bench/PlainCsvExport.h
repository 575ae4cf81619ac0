#pragma once

#include <filesystem>

#include "formats/CsvWriter.h"
#include "store/Recording.h"

namespace nuvisca::bench {

// The export's baseline: the same bytes written with one fprintf per value, as a plain
// writer of the layout would. With `sync`, flushed and fsync'ed before it is closed.
bool writeCsvExportFprintf(const std::filesystem::path& path, const Recording& store,
                           const AveragedSeries* averaged, bool sync);

}  // namespace nuvisca::bench
