#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QProcess>
#include <QStringList>
#include <algorithm>
#include <cstdlib>

#include "formats/NvdReader.h"
#include "graph/GraphImage.h"
#include "graph/GraphRenderer.h"
#include "graph/QtPainter.h"
#include "graph/dataView.h"
#include "support/PlainQtPainter.h"
#include "support/SyntheticRecording.h"
#include "support/TempDir.h"

namespace nuvisca {
namespace {

QImage normalised(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

int channelDifference(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

// The view of the sample as the CLI sets it up: reset, then loaded into a view of the size.
struct LoadedSample {
    std::unique_ptr<MeasurementStore> store = makeMeasurementStore();
    GraphViewState view;

    explicit LoadedSample(const std::filesystem::path& path, QSize size) {
        resetMeasurementStore(*store, 0.0f, 0.0f);
        resetGraphViewState(view);
        store->zoomIndex = 1;
        view.viewWidth = static_cast<float>(size.width());
        view.viewHeight = static_cast<float>(size.height());
        EXPECT_TRUE(readNVDFile(path, *store, view));
    }
};

const std::filesystem::path kSample =
    std::filesystem::path(NUVISCA_SAMPLES_DIR) / "two-hours-pause-restart.NVD";

TEST(GraphImage, CommandLineRenderMatchesTheWidgetPixelForPixel) {
    const test::TempDir dir;
    const std::filesystem::path png = dir.file("graph.png");
    QProcess cli;
    cli.start(QStringLiteral(NUVISCA_CLI),
              {QStringLiteral("render"), QString::fromStdString(kSample.string()),
               QString::fromStdString(png.string()), QStringLiteral("--end"),
               QStringLiteral("4000"), QStringLiteral("--hide"), QStringLiteral("tohb")});
    ASSERT_TRUE(cli.waitForFinished(60000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();

    const QSize size(1000, 600);
    LoadedSample sample(kSample, size);
    sample.view.viewEnd = 4000;
    sample.view.traceShown[kTraceTohb] = 0;
    dataView widget(*sample.store, sample.view);
    widget.resize(size);
    widget.grab();  // the view has drawn before anyone looks at it
    const QImage shown = normalised(widget.grab().toImage());
    const QImage rendered = normalised(QImage(QString::fromStdString(png.string())));
    ASSERT_EQ(rendered.size(), size);
    EXPECT_TRUE(shown == rendered);
}

TEST(GraphImage, WidgetForwardsMouseEventsWithYUpwards) {
    const QSize size(1000, 600);
    LoadedSample sample(kSample, size);
    dataView widget(*sample.store, sample.view);
    widget.resize(size);
    widget.grab();  // lays out the legend boxes

    const auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, widget.mapToGlobal(at), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&widget, &event);
    };
    send(QEvent::MouseButtonPress, {130, 22}, Qt::LeftButton);  // oxHb legend entry
    EXPECT_EQ(sample.view.traceShown[kTraceOxhb], 1);
    send(QEvent::MouseButtonRelease, {130, 22}, Qt::NoButton);

    send(QEvent::MouseButtonPress, {500, 300}, Qt::LeftButton);
    EXPECT_EQ(sample.view.mouseDownInPlot, 1);
    EXPECT_EQ(sample.view.dragY, 300);  // 600 - 300
    for (int x = 495; x >= 400; x -= 5) {
        send(QEvent::MouseMove, {static_cast<double>(x), 300}, Qt::LeftButton);
    }
    send(QEvent::MouseButtonRelease, {400, 300}, Qt::NoButton);
    EXPECT_EQ(sample.view.viewStart, 91);
}

TEST(GraphImage, TextStandsOnTheGivenPointAndYPointsUp) {
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QtPainter qt(painter, image.height());
        qt.fillRect({0, 0, 20, 10}, {0, 0, 0, 1});  // lower-left corner
        qt.drawText({50, 30}, "Hgy", {24.0, {0, 0, 0, 1}, std::nullopt});
    }
    EXPECT_EQ(image.pixel(5, 95), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(5, 85), qRgb(255, 255, 255));
    int lowestInk = -1;
    int leftmostInk = image.width();
    for (int y = 0; y < 80; ++y) {
        for (int x = 25; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                lowestInk = std::max(lowestInk, y);
                leftmostInk = std::min(leftmostInk, x);
            }
        }
    }
    // The descender of "g" and "y" ends just above the box's bottom edge at y 70.
    EXPECT_LE(lowestInk, 70);
    EXPECT_GE(lowestInk, 64);
    EXPECT_GE(leftmostInk, 50);
    EXPECT_LE(leftmostInk, 54);
}

struct WidenedPair {
    QImage plain;
    QImage reduced;
};

// The whole synthetic recording widened into an 1800-point view (43 samples on every pixel
// column), drawn by the backend and by the plain path through every sample.
WidenedPair drawWidened() {
    const QSize size(1800, 900);
    const auto store = makeMeasurementStore();
    test::fillSyntheticRecording(*store);
    GraphViewState view;
    resetGraphViewState(view);
    view.traceShown = {1, 1, 1, 1};
    view.viewWidth = 1800.0f;
    view.viewEnd = kSampleCapacity;
    TextAttributes attributes;

    WidenedPair pair{QImage(size, QImage::Format_RGB32),
                     normalised(renderGraphImage(*store, view, size, attributes))};
    pair.plain.fill(Qt::white);
    QPainter painter(&pair.plain);
    test::PlainQtPainter plainPainter(painter, size.height());
    drawGraph(plainPainter, *store, view, attributes, onScreenStyle({1800.0f, 900.0f}));
    return pair;
}

// Reduced to its first, lowest, highest and last sample, a column keeps its values, but
// with a 2-point pen the zigzag of dozens of samples inside one column also widens the
// plain line sideways, so on steep noisy stretches the plain trace is up to a pixel bolder.
// The reduction may change only that edge shade: no difference lies more than a pixel away
// from ink both drawings share.
TEST(GraphImage, ColumnReductionOnlyShadesTheEdgesOfThePlainPicture) {
    const WidenedPair pair = drawWidened();
    const auto inked = [](QRgb p) { return qGray(p) < 200; };
    int ink = 0;
    int strong = 0;
    int apart = 0;
    for (int y = 1; y < pair.plain.height() - 1; ++y) {
        for (int x = 1; x < pair.plain.width() - 1; ++x) {
            ink += inked(pair.plain.pixel(x, y)) ? 1 : 0;
            if (channelDifference(pair.plain.pixel(x, y), pair.reduced.pixel(x, y)) <= 96) {
                continue;
            }
            ++strong;
            bool shared = false;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    shared = shared || (inked(pair.plain.pixel(x + dx, y + dy)) &&
                                        inked(pair.reduced.pixel(x + dx, y + dy)));
                }
            }
            apart += shared ? 0 : 1;
        }
    }
    RecordProperty("inked", ink);
    RecordProperty("strongly_different", strong);
    EXPECT_EQ(apart, 0);
    EXPECT_LT(strong * 5, ink) << strong << " of " << ink;
}

}  // namespace
}  // namespace nuvisca
