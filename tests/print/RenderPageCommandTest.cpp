#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStringList>

#include "print/PageOutput.h"
#include "print/PdfProbe.h"
#include "support/TempDir.h"

namespace nuvisca::test {
namespace {

TEST(RenderPageCommand, OneLandscapePageOfThePaperUnderTheFileNameAsPdfOrPng) {
    const TempDir dir;
    const auto path = [&](const char* name) { return QString::fromStdString(dir.file(name)); };
    const auto render = [&](const char* name, QStringList args) {
        QProcess cli;
        cli.start(QStringLiteral(NUVISCA_CLI),
                  QStringList{u"render"_s,
                              QStringLiteral(NUVISCA_SAMPLES_DIR "/two-hours-pause-restart.NVD"),
                              path(name), u"--page"_s} +
                      args);
        EXPECT_TRUE(cli.waitForFinished(60000));
        return cli.exitCode();
    };
    ASSERT_EQ(render("cli.pdf", {u"--paper"_s, u"letter"_s, u"--end"_s, u"4000"_s}), 0);
    expectOneLandscapePage(path("cli.pdf"), QPageSize(QPageSize::Letter));
    const QString text = pdfText(path("cli.pdf"));
    EXPECT_TRUE(text.contains(u"two-hours-pause-restart.NVD"_s));
    EXPECT_TRUE(text.contains(u"測定日時 2024年05月14日 09時00分00秒"_s)) << text.toStdString();

    ASSERT_EQ(render("sheet.png", {u"--paper"_s, u"A5"_s}), 0);
    EXPECT_EQ(QImage(path("sheet.png")).size(), QSize(1240, 875)) << "A5 landscape at 150 dpi";
    EXPECT_EQ(render("x.pdf", {u"--paper"_s, u"A99"_s}), 2);
    EXPECT_FALSE(QFile::exists(path("x.pdf")));
    EXPECT_EQ(paperSizeNamed("b5"), QPageSize(QPageSize::JisB5)) << "B5 is the Japanese one";
    EXPECT_FALSE(paperSizeNamed("A4 ").has_value());
}

}  // namespace
}  // namespace nuvisca::test
