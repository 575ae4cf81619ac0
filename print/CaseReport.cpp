#include "print/CaseReport.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include "formats/AtomicFile.h"
#include "print/PdfPainter.h"
#include "print/PrintPageDrawing.h"
#include "print/ReportDrawing.h"

namespace nuvisca {

QByteArray caseReportPdf(const ViewModel& model, std::int32_t minutesPerStrip) {
    const Report report = makeReport(model, minutesPerStrip);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly)) {
        return {};
    }
    QPdfWriter writer(&buffer);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                     QMarginsF(0.0, 0.0, 0.0, 0.0)));
    // One device pixel per report unit.
    writer.setResolution(static_cast<int>(72.0 * kReportUnitsPerPoint));
    const std::string_view name = printableFileName(model);
    writer.setTitle(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    writer.setCreator(QStringLiteral("nuvisca"));
    QPainter painter;
    if (!painter.begin(&writer)) {
        return {};
    }
    for (std::int32_t page = 0; page < report.plan.pageCount; ++page) {
        if (page > 0 && !writer.newPage()) {
            return {};
        }
        // A column a point: finer than a printed trace is wide.
        PdfPainter surface(painter, kReportPageHeight, 1.0 / kReportUnitsPerPoint);
        drawReportPage(surface, model, report, page);
    }
    if (!painter.end()) {
        return {};
    }
    return bytes;
}

bool saveCaseReport(const std::filesystem::path& path, const ViewModel& model,
                    std::int32_t minutesPerStrip, std::error_code& why) {
    const QByteArray bytes = caseReportPdf(model, minutesPerStrip);
    if (bytes.isEmpty()) {
        why = std::make_error_code(std::errc::io_error);
        return false;
    }
    return writeFileAtomically(
        path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), &why);
}

}  // namespace nuvisca
