#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QProcess>
#include <algorithm>
#include <cstdlib>

#include "formats/NvdReader.h"
#include "graph/GraphColours.h"
#include "graph/GraphImage.h"
#include "graph/GraphRenderer.h"
#include "graph/QtPainter.h"
#include "graph/dataView.h"
#include "support/PlainQtPainter.h"
#include "support/SyntheticRecording.h"
#include "support/TempDir.h"

namespace nuvisca {
namespace {

using namespace Qt::Literals::StringLiterals;

const QSize kSize(1000, 600);
const std::string kSample = NUVISCA_SAMPLES_DIR "/two-hours-pause-restart.NVD";

QImage normalised(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

TEST(GraphImage, WidgetMatchesTheCommandLineRenderAndTakesMouseEventsWithYUpwards) {
    const test::TempDir dir;
    const QString png = QString::fromStdString(dir.file("graph.png").string());
    QProcess cli;
    cli.start(QStringLiteral(NUVISCA_CLI),
              {u"render"_s, QString::fromStdString(kSample), png, u"--end"_s, u"4000"_s,
               u"--zoom"_s, u"2"_s, u"--hide"_s, u"tohb"_s});
    ASSERT_TRUE(cli.waitForFinished(60000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();

    // The sample loaded as the viewer loads it into a 1000 x 600 view.
    const auto store = makeMeasurementStore();
    GraphViewState view;
    resetMeasurementStore(*store, 0.0f, 0.0f);
    resetGraphViewState(view);
    store->zoomIndex = 2;
    view.viewWidth = 1000.0f;
    view.viewHeight = 600.0f;
    ASSERT_TRUE(readNVDFile(kSample, *store, view));
    view.viewEnd = 4000;
    view.traceShown[kTraceTohb] = 0;
    dataView widget(*store, view);
    widget.resize(kSize);
    widget.grab();  // the view has drawn before anyone looks at it
    const QImage shown = normalised(widget.grab().toImage());
    const QImage rendered = normalised(QImage(png));
    ASSERT_EQ(rendered.size(), kSize);
    EXPECT_TRUE(shown == rendered);
    // The filled rSO2 legend marker lies 11 to 29 points below the top edge.
    EXPECT_EQ(shown.pixel(500, 20), toQColor(colorSto2).rgb());

    const auto send = [&](QEvent::Type type, double x, double y, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(x, y), widget.mapToGlobal(QPointF(x, y)), Qt::LeftButton,
                          buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(&widget, &event);
    };
    send(QEvent::MouseButtonPress, 130, 22, Qt::LeftButton);  // the oxHb legend entry
    EXPECT_EQ(view.traceShown[kTraceOxhb], 1);
    send(QEvent::MouseButtonRelease, 130, 22, Qt::NoButton);
    send(QEvent::MouseButtonPress, 500, 200, Qt::LeftButton);
    EXPECT_EQ(view.dragY, 400);
    send(QEvent::MouseMove, 400, 200, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, 400, 200, Qt::NoButton);
    EXPECT_EQ(view.viewStart, 91);
}

// The whole synthetic recording widened into an 1800-point view (43 samples on every pixel
// column), drawn through the column reduction and as plain polylines through every sample.
// A reduced column keeps its values, but with a 2-point pen the zigzag of dozens of samples
// in one column also widens the plain line sideways, so on steep noisy stretches the plain
// trace is up to a pixel bolder. No difference may lie more than a pixel from shared ink.
TEST(GraphImage, ColumnReductionOnlyShadesTheEdgesOfThePlainPicture) {
    const QSize size(1800, 900);
    const auto store = makeMeasurementStore();
    test::fillSyntheticRecording(*store);
    GraphViewState view;
    resetGraphViewState(view);
    view.traceShown = {1, 1, 1, 1};
    view.viewWidth = 1800.0f;
    view.viewEnd = kSampleCapacity;
    TextAttributes attributes;
    const QImage reduced = normalised(renderGraphImage(*store, view, size, attributes));
    QImage plain(size, QImage::Format_RGB32);
    plain.fill(Qt::white);
    QPainter painter(&plain);
    test::PlainQtPainter plainPainter(painter, size.height());
    drawGraph(plainPainter, *store, view, attributes, onScreenStyle({1800.0f, 900.0f}));
    painter.end();

    const auto inked = [](QRgb p) { return qGray(p) < 200; };
    const auto apart = [](QRgb a, QRgb b) {
        return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                         std::abs(qBlue(a) - qBlue(b))}) > 96;
    };
    int ink = 0;
    int strong = 0;
    int away = 0;
    for (int y = 1; y < size.height() - 1; ++y) {
        for (int x = 1; x < size.width() - 1; ++x) {
            ink += inked(plain.pixel(x, y)) ? 1 : 0;
            if (!apart(plain.pixel(x, y), reduced.pixel(x, y))) {
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
