#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>
#include <memory>

#include "formats/NvdReader.h"
#include "graph/GraphImage.h"
#include "print/PageOutput.h"
#include "print/PdfProbe.h"
#include "support/TempDir.h"

namespace nuvisca {
namespace {

using namespace Qt::Literals::StringLiterals;

const QString kSample = QStringLiteral(NUVISCA_SAMPLES_DIR "/two-hours-pause-restart.NVD");

class RenderPageCommandTest : public ::testing::Test {
protected:
    int render(QStringList args) {
        QProcess cli;
        args.prepend(u"render"_s);
        cli.start(QStringLiteral(NUVISCA_CLI), args);
        EXPECT_TRUE(cli.waitForFinished(60000));
        return cli.exitCode();
    }

    QString file(const char* name) const { return QString::fromStdString(dir.file(name)); }

    test::TempDir dir;
};

TEST_F(RenderPageCommandTest, PdfIsWhatThePrintButtonPrintsForThatView) {
    const QString pdf = file("cli.pdf");
    ASSERT_EQ(render({kSample, pdf, u"--page"_s, u"--paper"_s, u"letter"_s, u"--end"_s, u"4000"_s,
                      u"--zoom"_s, u"2"_s, u"--hide"_s, u"tohb"_s}),
              0);
    const std::vector<test::PdfPageBox> pages = test::pdfPageBoxes(pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NEAR(pages[0].width, 792.0, 1.0);
    EXPECT_NEAR(pages[0].height, 612.0, 1.0);
    EXPECT_TRUE(test::pdfText(pdf).contains(u"two-hours-pause-restart.NVD"_s));

    // The same view in the viewer: loaded into a 1000 x 600 graph that has drawn itself.
    const auto store = makeMeasurementStore();
    GraphViewState view;
    resetMeasurementStore(*store, 0.0f, 0.0f);
    resetGraphViewState(view);
    view.viewWidth = 1000.0f;
    view.viewHeight = 600.0f;
    ASSERT_TRUE(readNVDFile(kSample.toStdString(), *store, view));
    store->zoomIndex = 2;
    view.viewEnd = 4000;
    view.traceShown[kTraceTohb] = 0;
    TextAttributes attributes;
    renderGraphImage(*store, view, QSize(1000, 600), attributes);
    const QByteArray name("two-hours-pause-restart.NVD");
    setCurrentFileName(*store, name.constData(), static_cast<std::size_t>(name.size()));
    printView page(*store, view);
    const QString printed = file("printed.pdf");
    ASSERT_TRUE(writePrintedPage(printed, QPageSize(QPageSize::Letter), page));
    EXPECT_EQ(test::pdfFirstPageImage(pdf), test::pdfFirstPageImage(printed));
}

TEST_F(RenderPageCommandTest, PngIsTheA4SheetUnlessAPaperIsNamed) {
    const QString png = file("sheet.png");
    ASSERT_EQ(render({kSample, png, u"--page"_s}), 0);
    EXPECT_EQ(QImage(png).size(), QSize(1754, 1240));
    ASSERT_EQ(render({kSample, png, u"--paper"_s, u"A5"_s, u"--page"_s}), 0);
    EXPECT_EQ(QImage(png).size(), QSize(1240, 875));
}

TEST_F(RenderPageCommandTest, UnknownPaperIsAUsageError) {
    EXPECT_EQ(render({kSample, file("x.pdf"), u"--page"_s, u"--paper"_s, u"A99"_s}), 2);
    EXPECT_FALSE(QFile::exists(file("x.pdf")));
}

}  // namespace
}  // namespace nuvisca
