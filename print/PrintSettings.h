#pragma once

#include <QPrinter>

namespace nuvisca {

// The print settings the whole application shares: the printer with the user's page setup.
struct PrintSettings {
    PrintSettings() : printer(QPrinter::HighResolution) {}

    QPrinter printer;
};

// Turns the page to landscape at every print press; paper, margins and everything else stay
// as the user set them.
void applyPrintViewSettings(PrintSettings& settings);

}  // namespace nuvisca
