#include <QApplication>
#include <QFile>
#include <QPageSize>

#include "ControllerFixture.h"
#include "print/PdfProbe.h"

namespace nuvisca::test {
namespace {

// The print button of the real window, printing to PDF files through the fake dialogs.
class PrintActionTest : public ControllerTest {
protected:
    PrintActionTest() {
        window.resize(1800, 700);
        window.show();
        QApplication::processEvents();
        window.graph()->repaint();
        dialogs.printConfirmed = true;
    }

    QString press(const std::string& pdfName) {
        dialogs.printPdfPath = qPath(desktop.file(pdfName));
        controller.print();
        return dialogs.printPdfPath;
    }
};

TEST_F(PrintActionTest,
       NothingWhenCancelledTheShownRecordingOnOneLandscapePageAndAFailureReported) {
    dialogs.pageSetupAccepted = false;
    EXPECT_FALSE(QFile::exists(press("setup-cancelled.pdf")));
    dialogs.pageSetupAccepted = true;
    dialogs.printConfirmed = false;
    EXPECT_FALSE(QFile::exists(press("cancelled.pdf")));
    dialogs.printConfirmed = true;
    EXPECT_FALSE(pdfText(press("empty.pdf")).contains(u"測定日時"_s)) << "no recording yet";
    controller.addFiles({onMedia("朝の記録.NVD", 9, 30, 2000)});
    selectRow(0);
    window.graph()->repaint();
    const QString pdf = press("morning.pdf");
    EXPECT_EQ(dialogs.pageSetups + dialogs.printDialogs, 7)
        << "no print dialog after a cancelled setup";
    EXPECT_TRUE(dialogs.warnings.isEmpty());
    EXPECT_TRUE(toolOutput(u"pdfinfo"_s, {pdf}).contains(QRegularExpression(u"Pages: +1\n"_s)));
    EXPECT_EQ(pdfFirstPageImage(pdf).size(), QSize(842, 595)) << "A4 landscape";
    EXPECT_EQ(pdfImageCount(pdf), 0) << "vector shapes and text";
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(u"朝の記録.NVD"_s));
    EXPECT_TRUE(text.contains(u"測定日時 2013年07月15日 09時30分00秒 終了時刻 09時31分00秒"_s));

    press("no-such-folder/page.pdf");
    ASSERT_EQ(dialogs.warnings.size(), 1);
    EXPECT_TRUE(dialogs.warnings.front().startsWith(u"印刷できませんでした。"_s));
}

TEST_F(PrintActionTest, EachPressReappliesLandscapeFitToWidthFromTheTop) {
    dialogs.pageSetupEdits = [](QPrinter& printer) {
        printer.setPageSize(QPageSize(QPageSize::Letter));
        printer.setPageOrientation(QPageLayout::Portrait);
        printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    };
    EXPECT_EQ(pdfFirstPageImage(press("first.pdf")).size(), QSize(612, 792))
        << "the user's portrait choice holds once";
    dialogs.pageSetupEdits = nullptr;
    const QImage sheet = pdfFirstPageImage(press("second.pdf"));
    EXPECT_EQ(sheet.size(), QSize(792, 612)) << "landscape again, on the user's paper";

    // The page spans the printable width inside the margins and hangs from the top; its
    // plot frame runs 8 to W - 8 across and ends 8 points above the page's foot.
    const double margin = 72.0 * 15.0 / 25.4;
    const double scale = (792.0 - 2.0 * margin) / view->viewWidth;
    const QRect ink = inkIn(sheet, sheet.rect());
    EXPECT_NEAR(ink.left(), margin + 8.0 * scale, 1.5);
    EXPECT_NEAR(ink.right() + 1, margin + (view->viewWidth - 8.0) * scale, 1.5);
    EXPECT_NEAR(ink.bottom() + 1, margin + (view->viewHeight + 96.0 - 8.0) * scale, 1.5);
}

}  // namespace
}  // namespace nuvisca::test
