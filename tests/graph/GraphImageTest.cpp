#include <gtest/gtest.h>

#include <QProcess>

#include "formats/RecordingFile.h"
#include "graph/GraphFixtures.h"
#include "graph/GraphImage.h"
#include "graph/GraphView.h"
#include "graph/MouseModifiers.h"
#include "support/TempDir.h"

namespace nuvisca {
namespace {

using namespace Qt::Literals::StringLiterals;

const QString kSample = QStringLiteral(NUVISCA_SAMPLES_DIR "/two-hours-pause-restart.NVD");

TEST(GraphImage, WidgetMatchesTheCommandLineRenderAndFillsAWidenedView) {
    const test::TempDir dir;
    const QString png = QString::fromStdString(dir.file("graph.png").string());
    QProcess cli;
    cli.start(QStringLiteral(NUVISCA_CLI), {u"render"_s, kSample, png, u"--end"_s, u"4000"_s,
                                            u"--zoom"_s, u"2"_s, u"--hide"_s, u"tohb"_s});
    ASSERT_TRUE(cli.waitForFinished(60000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();

    test::GraphFixture f(0);  // a 1000 x 600 view the sample is loaded into
    f.model.setZoomIndex(2);
    f.model.setRecording(openRecording(kSample.toStdString()).recording);
    ASSERT_GT(f.model.recording().sampleCount, 4000);
    f.view.viewEnd = 4000;
    f.view.traceShown[kTohb] = false;
    GraphView widget(f.model);
    widget.resize(1000, 600);
    EXPECT_EQ(widget.grab().toImage().convertToFormat(QImage::Format_RGB32),
              QImage(png).convertToFormat(QImage::Format_RGB32));

    // A range that filled a 500-point view fills the view widened to 1200 points.
    std::tie(f.view.viewStart, f.view.viewEnd) = std::tuple(100, 580);
    int moves = 0;
    f.model.subscribe([&](unsigned changes) { moves += (changes & kRangeChanged) != 0 ? 1 : 0; });
    widget.resize(1200, 600);
    widget.grab();
    EXPECT_EQ(f.view.viewEnd - f.view.viewStart, 900);
    EXPECT_EQ(moves, 1) << "the overview and the statistics follow";
}

TEST(MouseModifiers, AControlClickThatBecameARightButtonStillDragsTheGraph) {
    for (const bool right : {false, true}) {
        EXPECT_TRUE(pressesGraph(Qt::LeftButton, {}, right) &&
                    !pressesGraph(Qt::RightButton, {}, right));
        EXPECT_EQ(pressesGraph(Qt::RightButton, Qt::ControlModifier, right), right);
        EXPECT_EQ(dragsGraph(Qt::RightButton, right) && releasesGraph(Qt::RightButton, right),
                  right);
    }
}

}  // namespace
}  // namespace nuvisca
