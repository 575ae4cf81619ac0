#include "print/PrintSettings.h"

namespace nuvisca {

void applyPrintViewSettings(PrintSettings& settings) {
    settings.printer.setPageOrientation(QPageLayout::Landscape);
}

}  // namespace nuvisca
