#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QProcess>
#include <algorithm>
#include <cstdlib>

#include "formats/NvdReader.h"
#include "graph/GraphColours.h"
#include "graph/GraphFixtures.h"
#include "graph/GraphImage.h"
#include "graph/GraphView.h"
#include "support/PlainQtPainter.h"
#include "support/SyntheticRecording.h"
#include "support/TempDir.h"

namespace nuvisca {
namespace {

using namespace Qt::Literals::StringLiterals;

const QString kSample = QStringLiteral(NUVISCA_SAMPLES_DIR "/two-hours-pause-restart.NVD");

TEST(GraphImage, WidgetMatchesTheCommandLineRenderAndTakesMouseEventsWithYUpwards) {
    const test::TempDir dir;
    const QString png = QString::fromStdString(dir.file("graph.png").string());
    QProcess cli;
    cli.start(QStringLiteral(NUVISCA_CLI), {u"render"_s, kSample, png, u"--end"_s, u"4000"_s,
                                            u"--zoom"_s, u"2"_s, u"--hide"_s, u"tohb"_s});
    ASSERT_TRUE(cli.waitForFinished(60000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();

    test::GraphFixture f(0);  // a 1000 x 600 view the sample is loaded into
    f.store->zoomIndex = 2;
    ASSERT_TRUE(readNVDFile(kSample.toStdString(), *f.store, f.view));
    f.view.viewEnd = 4000;
    f.view.traceShown[kTohb] = 0;
    GraphView widget(*f.store, f.view);
    widget.resize(1000, 600);
    widget.grab();  // the view has drawn before anyone looks at it
    const QImage shown = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, QImage(png).convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(shown.pixel(500, 20), toQColor(kRso2Colour).rgb()) << "the filled rSO2 marker";

    const auto send = [&](QEvent::Type type, double x, double y, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(x, y), widget.mapToGlobal(QPointF(x, y)), Qt::LeftButton,
                          buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(&widget, &event);
    };
    send(QEvent::MouseButtonPress, 130, 22, Qt::LeftButton);  // the oxHb legend entry
    EXPECT_EQ(f.view.traceShown[kOxhb], 1);
    send(QEvent::MouseButtonRelease, 130, 22, Qt::NoButton);
    send(QEvent::MouseButtonPress, 500, 200, Qt::LeftButton);
    EXPECT_EQ(f.view.dragY, 400);
}

// The synthetic recording at 43 samples a pixel column, through the column reduction and as
// plain polylines. With a 2-point pen the zigzag of many samples in a column widens the
// plain line, so it may be up to a pixel bolder, but no difference may lie more than a pixel
// from shared ink.
TEST(GraphImage, ColumnReductionOnlyShadesTheEdgesOfThePlainPicture) {
    const QSize size(1800, 900);
    test::GraphFixture f(0);
    test::fillSyntheticRecording(*f.store);
    f.view.traceShown = {1, 1, 1, 1};
    f.view.viewEnd = kSampleCapacity;  // 43 samples a column
    settleView(f.view, f.store->zoomIndex, onScreenBounds(size));
    const QImage reduced = renderGraphImage(*f.store, f.view, size, f.attributes)
                               .convertToFormat(QImage::Format_RGB32);
    QImage plain(size, QImage::Format_RGB32);
    plain.fill(Qt::white);
    QPainter painter(&plain);
    test::PlainQtPainter plainPainter(painter, size.height());
    drawGraph(plainPainter, *f.store, f.view, f.attributes, kOnScreenStyle);
    painter.end();

    const auto inked = [](QRgb p) { return qGray(p) < 200; };
    int ink = 0;
    int strong = 0;  // pixels far apart in colour, and those of them with no shared ink around
    int away = 0;
    for (int y = 1; y < size.height() - 1; ++y) {
        for (int x = 1; x < size.width() - 1; ++x) {
            const QRgb a = plain.pixel(x, y);
            const QRgb b = reduced.pixel(x, y);
            ink += inked(a) ? 1 : 0;
            if (std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                          std::abs(qBlue(a) - qBlue(b))}) <= 96) {
                continue;
            }
            ++strong;
            bool shared = false;
            for (int d = 0; d < 9; ++d) {
                const QPoint p(x + d % 3 - 1, y + d / 3 - 1);
                shared = shared || (inked(plain.pixel(p)) && inked(reduced.pixel(p)));
            }
            away += shared ? 0 : 1;
        }
    }
    EXPECT_EQ(away, 0);
    EXPECT_LT(strong * 5, ink) << strong << " of " << ink;
}

}  // namespace
}  // namespace nuvisca
