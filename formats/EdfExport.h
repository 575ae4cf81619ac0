#pragma once

#include <filesystem>
#include <string>

#include "formats/CsvWriter.h"
#include "formats/EdfPlan.h"
#include "store/Recording.h"

namespace nuvisca {

// Writes the recording as EDF+C or BDF+C: rSO2, oxHb, dxHb and toHb at 2 Hz on one continuous
// timeline, with "restart" and "no data" annotations and the markers (none when null). The file is
// written beside path and moved into place only when complete; on failure nothing under path
// changes and the result says why in one line.
EdfResult saveEdfExport(const std::filesystem::path& path, const Recording& store,
                        const AveragedSeries* averaged, EdfFlavour flavour, const Markers* markers);

// The file's bytes: header, then the data records with their annotations.
std::string encodeEdfFile(const EdfPlan& plan, EdfFlavour flavour);

}  // namespace nuvisca
