#include "print/PageOutput.h"

#include "print/PrintOperation.h"
#include "print/PrintSettings.h"

namespace nuvisca {

std::optional<QPageSize> paperSizeNamed(std::string_view name) {
    const QString wanted = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
        const auto sizeId = static_cast<QPageSize::PageSizeId>(id);
        if (sizeId != QPageSize::Custom &&
            QPageSize::key(sizeId).compare(wanted, Qt::CaseInsensitive) == 0) {
            return QPageSize(sizeId);
        }
    }
    return std::nullopt;
}

bool writePrintedPage(const QString& path, const QPageSize& paper, PrintPage& page) {
    PrintSettings settings;
    settings.printer.setPageSize(paper);
    applyPrintViewSettings(settings);
    if (path.endsWith(u".pdf", Qt::CaseInsensitive)) {
        settings.printer.setOutputFormat(QPrinter::PdfFormat);
        settings.printer.setOutputFileName(path);
        return printPage(settings, page);
    }
    const QImage sheet = renderPrintedSheet(settings.printer.pageLayout(), page, kSheetDotsPerInch);
    return sheet.save(path, "PNG");
}

}  // namespace nuvisca
