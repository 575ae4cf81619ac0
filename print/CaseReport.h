#pragma once

#include <QByteArray>
#include <cstdint>
#include <filesystem>
#include <system_error>

#include "graph/ViewModel.h"
#include "print/ReportLayout.h"

namespace nuvisca {

// The case report of the model as shown, a clinician's record of the case: an A4 landscape
// PDF whose first page holds the recording's particulars, the whole recording, the statistics
// of it and of its phases and the desaturation events, followed by the recording in strips of
// minutesPerStrip minutes; every page drawn as vectors. Empty when the PDF cannot be made.
QByteArray caseReportPdf(const ViewModel& model,
                         std::int32_t minutesPerStrip = kDefaultMinutesPerStrip);

// Writes the report atomically; false with the reason when it cannot.
bool saveCaseReport(const std::filesystem::path& path, const ViewModel& model,
                    std::int32_t minutesPerStrip, std::error_code& why);

}  // namespace nuvisca
