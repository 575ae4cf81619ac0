#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace nuvisca::test {

using namespace Qt::Literals::StringLiterals;

// What a tool of poppler-utils writes to its standard output.
inline QString toolOutput(const QString& tool, const QStringList& args) {
    QProcess process;
    process.start(tool, args);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text as the glyphs carry it, in NFKC: the CJK font's shared glyphs map some
// ideographs back to their radicals (⽇ for 日).
inline QString pdfText(const QString& path) {
    return toolOutput(u"pdftotext"_s, {u"-q"_s, path, u"-"_s})
        .normalized(QString::NormalizationForm_KC);
}

// How many images the PDF holds: none where all is drawn as vector shapes and text.
inline qsizetype pdfImageCount(const QString& path) {
    return toolOutput(u"pdfimages"_s, {u"-list"_s, path}).count(u'\n') - 2;  // below 2 headings
}

// The first page rendered at one pixel per point.
inline QImage pdfFirstPageImage(const QString& path) {
    QProcess::execute(u"pdftoppm"_s,
                      {u"-q"_s, u"-r"_s, u"72"_s, u"-png"_s, u"-singlefile"_s, path, path});
    return QImage(path + u".png"_s).convertToFormat(QImage::Format_RGB32);
}

// The bounds of the pixels within `area` that are not white.
inline QRect inkIn(const QImage& image, const QRect& area) {
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            bounds |= image.pixel(x, y) != qRgb(255, 255, 255) ? QRect(x, y, 1, 1) : QRect();
        }
    }
    return bounds;
}

}  // namespace nuvisca::test
