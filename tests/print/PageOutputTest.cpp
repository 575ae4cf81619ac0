#include <gtest/gtest.h>

#include <QPrinter>
#include <memory>

#include "graph/GraphImage.h"
#include "print/PageOutput.h"
#include "print/PrintImages.h"
#include "support/TempDir.h"

namespace nuvisca {
namespace {

using namespace Qt::Literals::StringLiterals;

TEST(PageOutput, PaperByItsUsualName) {
    EXPECT_EQ(paperSizeNamed("A4"), QPageSize(QPageSize::A4));
    EXPECT_EQ(paperSizeNamed("a3"), QPageSize(QPageSize::A3));
    EXPECT_EQ(paperSizeNamed("Letter"), QPageSize(QPageSize::Letter));
    EXPECT_EQ(paperSizeNamed("LEGAL"), QPageSize(QPageSize::Legal));
    EXPECT_EQ(paperSizeNamed("B5"), QPageSize(QPageSize::JisB5));
    EXPECT_EQ(paperSizeNamed("ISOB5"), QPageSize(QPageSize::B5));
    for (const char* unknown : {"", "A99", "Custom", "A4 "}) {
        EXPECT_FALSE(paperSizeNamed(unknown).has_value()) << unknown;
    }
}

class PageOutputTest : public ::testing::Test {
protected:
    PageOutputTest() {
        resetMeasurementStore(*store, 0.0f, 0.0f);
        resetGraphViewState(view);
        TextAttributes attributes;
        renderGraphImage(*store, view, QSize(1200, 600), attributes);  // the view measures
    }

    QString file(const char* name) const { return QString::fromStdString(dir.file(name)); }

    test::TempDir dir;
    std::unique_ptr<MeasurementStore> store = makeMeasurementStore();
    GraphViewState view;
};

TEST_F(PageOutputTest, PngIsTheSheetWithThePageInItsPrintableArea) {
    printView page(*store, view);
    const QString png = file("page.png");
    ASSERT_TRUE(writePrintedPage(png, QPageSize(QPageSize::A4), page));
    const QImage sheet(png);
    // A4 landscape at 150 dpi.
    EXPECT_EQ(sheet.size(), QSize(1754, 1240));
    // Within the printer's own margins, the plot frame runs 8 to W - 8 across and ends
    // 8 points above the foot of a page that spans the width and hangs from the top.
    const QMarginsF margins =
        QPrinter(QPrinter::HighResolution).pageLayout().margins(QPageLayout::Point);
    const double scale = (842.0 - margins.left() - margins.right()) / 1200.0;
    const double dotsPerPoint = 150.0 / 72.0;
    const test::InkBox ink = test::inkIn(sheet, sheet.rect());
    EXPECT_NEAR(ink.left, (margins.left() + 8.0 * scale) * dotsPerPoint, 3.0);
    EXPECT_NEAR(ink.right + 1, (margins.left() + 1192.0 * scale) * dotsPerPoint, 3.0);
    EXPECT_NEAR(ink.bottom + 1, (margins.top() + 688.0 * scale) * dotsPerPoint, 3.0);
}

}  // namespace
}  // namespace nuvisca
