#pragma once

#include <QPageSize>
#include <QString>
#include <optional>
#include <string_view>

#include "print/PrintPage.h"

namespace nuvisca {

// Resolution of a printed sheet written as an image.
inline constexpr int kSheetDotsPerInch = 150;

// A paper size by its usual name ("A4", "Letter", "B5", ...), case ignored.
std::optional<QPageSize> paperSizeNamed(std::string_view name);

// Writes the page as it would be printed on the paper, with the settings every print press
// applies: a one-page PDF when the path ends in ".pdf", else a PNG of the sheet. False when
// the file cannot be written.
bool writePrintedPage(const QString& path, const QPageSize& paper, PrintPage& page);

}  // namespace nuvisca
