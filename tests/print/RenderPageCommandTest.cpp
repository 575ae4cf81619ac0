#include <gtest/gtest.h>

#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QStringList>

#include "print/PageOutput.h"
#include "print/PdfProbe.h"
#include "print/PrintImages.h"
#include "support/TempDir.h"

namespace nuvisca::test {
namespace {

using namespace Qt::Literals::StringLiterals;

const QString kSample = QStringLiteral(NUVISCA_SAMPLES_DIR "/two-hours-pause-restart.NVD");

class RenderPageCommandTest : public ::testing::Test {
protected:
    int render(QStringList args) {
        QProcess cli;
        cli.start(QStringLiteral(NUVISCA_CLI), QStringList{u"render"_s, kSample} + args);
        EXPECT_TRUE(cli.waitForFinished(60000));
        return cli.exitCode();
    }

    QString file(const char* name) const { return QString::fromStdString(dir.file(name)); }

    TempDir dir;
};

TEST_F(RenderPageCommandTest, PdfIsOneLandscapePageOfThePaperUnderTheFileName) {
    const QString pdf = file("cli.pdf");
    ASSERT_EQ(render({pdf, u"--page"_s, u"--paper"_s, u"letter"_s, u"--end"_s, u"4000"_s,
                      u"--zoom"_s, u"2"_s, u"--hide"_s, u"tohb"_s}),
              0);
    expectOneLandscapePage(pdf, QPageSize(QPageSize::Letter));
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(u"two-hours-pause-restart.NVD"_s));
    EXPECT_TRUE(text.contains(u"測定日時 2024年05月14日 09時00分00秒"_s)) << text.toStdString();
}

TEST_F(RenderPageCommandTest, PngIsTheSheetWithThePageInItsPrintableArea) {
    const QString png = file("sheet.png");
    ASSERT_EQ(render({png, u"--page"_s, u"--size"_s, u"1200x600"_s}), 0);
    const QImage sheet(png);
    EXPECT_EQ(sheet.size(), QSize(1754, 1240)) << "A4 landscape at 150 dpi";
    // Within the printer's margins, the plot frame runs 8 to W - 8 across and ends 8 points
    // above the foot of a 1200 x 696 page that spans the width and hangs from the top.
    const QMarginsF margins =
        QPrinter(QPrinter::HighResolution).pageLayout().margins(QPageLayout::Point);
    const double scale = (842.0 - margins.left() - margins.right()) / 1200.0;
    const double dotsPerPoint = 150.0 / 72.0;
    const InkBox ink = inkIn(sheet, sheet.rect());
    EXPECT_NEAR(ink.left, (margins.left() + 8.0 * scale) * dotsPerPoint, 3.0);
    EXPECT_NEAR(ink.right + 1, (margins.left() + 1192.0 * scale) * dotsPerPoint, 3.0);
    EXPECT_NEAR(ink.bottom + 1, (margins.top() + 688.0 * scale) * dotsPerPoint, 3.0);

    ASSERT_EQ(render({png, u"--paper"_s, u"A5"_s, u"--page"_s}), 0);
    EXPECT_EQ(QImage(png).size(), QSize(1240, 875));
    EXPECT_EQ(render({file("x.pdf"), u"--page"_s, u"--paper"_s, u"A99"_s}), 2);
    EXPECT_FALSE(QFile::exists(file("x.pdf")));
}

TEST(PaperNames, UsualNamesInAnyCaseAndNothingElse) {
    EXPECT_EQ(paperSizeNamed("a3"), QPageSize(QPageSize::A3));
    EXPECT_EQ(paperSizeNamed("LEGAL"), QPageSize(QPageSize::Legal));
    EXPECT_EQ(paperSizeNamed("B5"), QPageSize(QPageSize::JisB5));
    EXPECT_EQ(paperSizeNamed("ISOB5"), QPageSize(QPageSize::B5));
    for (const char* unknown : {"", "A99", "Custom", "A4 "}) {
        EXPECT_FALSE(paperSizeNamed(unknown).has_value()) << unknown;
    }
}

}  // namespace
}  // namespace nuvisca::test
