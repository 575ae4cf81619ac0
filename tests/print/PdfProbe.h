#pragma once

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <vector>

namespace nuvisca::test {

struct PdfPageBox {
    double width = 0.0;
    double height = 0.0;
};

// The media box of every page object of a PDF file, in file order.
inline std::vector<PdfPageBox> pdfPageBoxes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    std::vector<PdfPageBox> pages;
    const QByteArray pageType("/Type /Page");
    for (qsizetype at = bytes.indexOf(pageType); at >= 0; at = bytes.indexOf(pageType, at + 1)) {
        const qsizetype after = at + pageType.size();
        if (after < bytes.size() && bytes.at(after) == 's') {
            continue;  // the page tree, not a page
        }
        const qsizetype box = bytes.indexOf("/MediaBox [", after);
        const qsizetype close = bytes.indexOf(']', box);
        if (box < 0 || close < 0) {
            return {};
        }
        const QList<QByteArray> numbers =
            bytes.mid(box + 11, close - box - 11).simplified().split(' ');
        if (numbers.size() != 4) {
            return {};
        }
        pages.push_back({numbers[2].toDouble() - numbers[0].toDouble(),
                         numbers[3].toDouble() - numbers[1].toDouble()});
    }
    return pages;
}

// The text of a PDF as its glyphs carry it (pdftotext of poppler-utils), in NFKC: the CJK
// font's shared glyphs map some ideographs back to their radicals (⽇ for 日).
inline QString pdfText(const QString& path) {
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-q"), path, QStringLiteral("-")});
    tool.waitForFinished(60000);
    return QString::fromUtf8(tool.readAllStandardOutput())
        .normalized(QString::NormalizationForm_KC);
}

// The first page rendered at one pixel per point (pdftoppm of poppler-utils).
inline QImage pdfFirstPageImage(const QString& path) {
    const QString prefix = path + QStringLiteral(".raster");
    QProcess::execute(QStringLiteral("pdftoppm"),
                      {QStringLiteral("-q"), QStringLiteral("-r"), QStringLiteral("72"),
                       QStringLiteral("-png"), QStringLiteral("-singlefile"), path, prefix});
    return QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

}  // namespace nuvisca::test
