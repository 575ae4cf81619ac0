#include <QApplication>
#include <QFile>
#include <QPageSize>

#include "app/ControllerFixture.h"
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

TEST_F(PrintActionTest, PrintsTheEmptyGraphThenTheShownRecordingUnderItsName) {
    const QString empty = press("empty.pdf");
    EXPECT_EQ(dialogs.pageSetups + dialogs.printDialogs, 2);
    EXPECT_TRUE(dialogs.warnings.isEmpty());
    expectOneLandscapePage(empty, QPageSize(QPageSize::A4));
    const QString nothing = pdfText(empty);
    EXPECT_TRUE(nothing.contains(u"rSO2[%]"_s) && nothing.contains(u"80.0"_s));
    EXPECT_FALSE(nothing.contains(u"測定日時"_s));

    NvdBuilder builder;
    builder.start(2013, 7, 15, 9, 30, 0).end(9, 50, 0).timeStamp(9, 30, 0, 0.7f, 0.4f, 0.2f);
    for (int k = 1; k < 2000; ++k) {
        builder.continuation(0.7f, 0.4f, 0.2f);
    }
    builder.writeTo(media.file("朝の記録.NVD"));
    controller.addFiles({qPath(media.file("朝の記録.NVD"))});
    selectRow(0);
    window.graph()->repaint();
    const QString text = pdfText(press("morning.pdf"));
    EXPECT_TRUE(text.contains(u"朝の記録.NVD"_s));
    EXPECT_TRUE(text.contains(u"測定日時 2013年07月15日 09時30分00秒 終了時刻 09時50分00秒"_s));
    EXPECT_TRUE(text.contains(u"09:31:00"_s)) << "the first time label";
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
    const QString second = press("second.pdf");
    expectOneLandscapePage(second, QPageSize(QPageSize::Letter));  // paper and margins stay
    const QImage sheet = pdfFirstPageImage(second);
    EXPECT_EQ(sheet, pdfFirstPageImage(press("third.pdf"))) << "nothing changed, the same page";
    EXPECT_EQ(dialogs.pageSetups, 3);

    // The page spans the printable width inside the margins and hangs from the top; its
    // plot frame runs 8 to W - 8 across and ends 8 points above the page's foot.
    const double margin = 72.0 * 15.0 / 25.4;
    const double scale = (792.0 - 2.0 * margin) / view->viewWidth;
    const QRect ink = inkIn(sheet, sheet.rect());
    EXPECT_NEAR(ink.left(), margin + 8.0 * scale, 1.5);
    EXPECT_NEAR(ink.right() + 1, margin + (view->viewWidth - 8.0) * scale, 1.5);
    EXPECT_NEAR(ink.bottom() + 1, margin + (view->viewHeight + 96.0 - 8.0) * scale, 1.5);
}

TEST_F(PrintActionTest, CancelInEitherDialogPrintsNothingAndAPrinterThatCannotStartIsReported) {
    dialogs.pageSetupAccepted = false;
    EXPECT_FALSE(QFile::exists(press("setup-cancelled.pdf")));
    EXPECT_EQ(dialogs.printDialogs, 0);
    dialogs.pageSetupAccepted = true;
    dialogs.printConfirmed = false;
    EXPECT_FALSE(QFile::exists(press("cancelled.pdf")));
    EXPECT_TRUE(dialogs.printDialogs == 1 && dialogs.warnings.isEmpty());
    dialogs.printConfirmed = true;
    press("no-such-folder/page.pdf");
    ASSERT_EQ(dialogs.warnings.size(), 1);
    EXPECT_TRUE(dialogs.warnings.front().startsWith(u"印刷できませんでした。"_s));
}

}  // namespace
}  // namespace nuvisca::test
