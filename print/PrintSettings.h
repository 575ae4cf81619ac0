#pragma once

#include <QPrinter>

#include "print/PagePlacement.h"

namespace nuvisca {

// The print settings the whole application shares: the printer with the user's page setup
// and how the page is laid on the paper.
struct PrintSettings {
    PrintSettings() : printer(QPrinter::HighResolution) {}

    QPrinter printer;
    PageFit fit;
};

// One landscape page fitted to the printable width and hung from the top. Paper, margins
// and everything else stay as the user set them.
void applyPrintViewSettings(PrintSettings& settings);

}  // namespace nuvisca
