#include <gtest/gtest.h>

#include <QPainter>
#include <QSize>
#include <tuple>

#include "formats/NvdReader.h"
#include "formats/RecordingFile.h"
#include "graph/GraphFixtures.h"
#include "graph/GraphImage.h"
#include "print/PdfProbe.h"
#include "print/PrintPage.h"

namespace nuvisca::test {
namespace {

// A 1000 x 600 view prints as a 1000 x 696 page: a band with the device but no file name above
// the view's picture, which keeps all but the view's border.
TEST(PrintPageImage, LowerPartIsTheViewsPictureWithoutItsBorder) {
    // What the user has done to the view: zoom, average window, start, end (0: as loaded),
    // vertical offset and the traces shown.
    using Row = std::tuple<const char*, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                           float, ChannelFlags>;
    // clang-format off
    const Row rows[] = {
        {"as loaded", 1, 0, 0, 0, 0, {false, false, true, true}},
        {"later part zoomed, offset, oxHb for toHb", 3, 0, 5000, 5900, 300, {true, false, false, true}},
        {"whole recording smoothed at half zoom", 0, 9, 0, 12000, 0, {true, true, true, true}}};
    // clang-format on
    for (const auto& [name, zoom, window, start, end, offset, shown] : rows) {
        SCOPED_TRACE(name);
        GraphFixture f(0);
        f.model.setZoomIndex(zoom);
        f.model.setAverageWindow(window);
        f.model.setRecording(
            openRecording(NUVISCA_SAMPLES_DIR "/two-hours-pause-restart.NVD").recording);
        ASSERT_GT(f.model.recording().sampleCount, 0);
        f.view.viewStart = start;
        f.view.viewEnd = end > 0 ? end : f.view.viewEnd;
        f.view.verticalOffset = offset;
        f.view.traceShown = shown;
        const QImage graph = renderGraphImage(f.model, f.view, QSize(1000, 600), f.drawnBefore);

        PrintPage page(f.model);
        ASSERT_EQ(QSizeF(page.frame().width, page.frame().height), QSizeF(1000, 696));
        QImage printed(1000, 696, QImage::Format_ARGB32_Premultiplied);
        printed.fill(Qt::red);  // the page must paint every pixel itself
        QPainter painter(&printed);
        page.drawRect(painter);
        painter.end();
        EXPECT_TRUE(graph.copy(1, 1, 998, 598).convertToFormat(QImage::Format_RGB32) ==
                    printed.copy(1, 97, 998, 598).convertToFormat(QImage::Format_RGB32));
        for (const QRect& blank :
             {QRect(0, 96, 1, 600), QRect(999, 96, 1, 600), QRect(0, 695, 1000, 1)}) {
            EXPECT_TRUE(inkIn(printed, blank).isNull());
        }
        // The band holds only the device, on its lower edge and ending 10 inside the page.
        const QRect band = inkIn(printed, {0, 0, 1000, 96});
        EXPECT_EQ(band, inkIn(printed, {800, 60, 190, 36}));
        EXPECT_GT(band.right(), 985);
        EXPECT_GT(inkIn(printed, {11, 168, 978, 510}).width(), 900) << "the plot is on it";
    }
}

}  // namespace
}  // namespace nuvisca::test
