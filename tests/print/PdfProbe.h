#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QPageSize>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace nuvisca::test {

// What a tool of poppler-utils writes to its standard output.
inline QString toolOutput(const QString& tool, const QStringList& args) {
    QProcess process;
    process.start(tool, args);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Exactly one page, of the paper turned to landscape.
inline void expectOneLandscapePage(const QString& pdf, const QPageSize& paper) {
    const QString info = toolOutput(QStringLiteral("pdfinfo"), {pdf});
    const QRegularExpression pages(QStringLiteral("Pages: +(\\d+)"));
    const QRegularExpression size(QStringLiteral("Page size: +([\\d.]+) x ([\\d.]+)"));
    EXPECT_EQ(pages.match(info).captured(1), QStringLiteral("1")) << info.toStdString();
    const QSizeF portrait = paper.size(QPageSize::Point);
    EXPECT_NEAR(size.match(info).captured(1).toDouble(), portrait.height(), 1.0);
    EXPECT_NEAR(size.match(info).captured(2).toDouble(), portrait.width(), 1.0);
}

// The text as the glyphs carry it, in NFKC: the CJK font's shared glyphs map some
// ideographs back to their radicals (⽇ for 日).
inline QString pdfText(const QString& path) {
    return toolOutput(QStringLiteral("pdftotext"),
                      {QStringLiteral("-q"), path, QStringLiteral("-")})
        .normalized(QString::NormalizationForm_KC);
}

// The first page rendered at one pixel per point.
inline QImage pdfFirstPageImage(const QString& path) {
    const QString prefix = path + QStringLiteral(".raster");
    QProcess::execute(QStringLiteral("pdftoppm"),
                      {QStringLiteral("-q"), QStringLiteral("-r"), QStringLiteral("72"),
                       QStringLiteral("-png"), QStringLiteral("-singlefile"), path, prefix});
    return QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

}  // namespace nuvisca::test
