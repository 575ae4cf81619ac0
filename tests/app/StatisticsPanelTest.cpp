#include <QApplication>
#include <QDoubleSpinBox>
#include <QLabel>

#include "ControllerFixture.h"
#include "app/StatisticsPanel.h"
#include "formats/StatisticsCsv.h"

namespace nuvisca::test {

TEST_F(ControllerTest, StatisticsPanelShowsTheCliFiguresOfTheVisibleRange) {
    window.show();
    QApplication::processEvents();
    controller.openFiles({QStringLiteral(NUVISCA_SAMPLES_DIR "/two-hours-pause-restart.NVD")});
    StatisticsPanel& panel = *window.statisticsPanel();
    const auto expectCliFigures = [&](StatisticsSeries series, double threshold) {
        const RangeStatistics stats =
            computeRangeStatistics(*store, {view->viewStart, view->viewEnd, series, threshold});
        ASSERT_TRUE(stats.channels[kRso2].count > 0 &&
                    stats.end - stats.start < store->sampleCount);
        for (const Channel channel : {kRso2, kOxhb, kDxhb, kTohb}) {
            const auto texts = channelStatisticTexts(channel, stats.channels[channel]);
            const std::array want{&texts.count, &texts.mean, &texts.min, &texts.max};
            for (std::size_t c = 0; c < 4; ++c) {
                EXPECT_EQ(panel.figure(channel, StatisticsColumn(c))->text().toStdString(),
                          *want[c]);
            }
        }
        const BelowThresholdTexts below = belowThresholdTexts(stats);
        EXPECT_EQ(panel.belowSeconds()->text().toStdString(), below.seconds + " s");
        EXPECT_EQ(panel.belowArea()->text().toStdString(), below.area + " %·min");
    };
    expectCliFigures(StatisticsSeries::Measured, 50.0);
    window.graph()->showRange({9000, 0});
    expectCliFigures(StatisticsSeries::Measured, 50.0);
    window.averageBox()->setCurrentIndex(9);
    panel.thresholdBox()->setValue(62.5);
    expectCliFigures(StatisticsSeries::Averaged, 62.5);
    EXPECT_NE(panel.belowSeconds()->text(), u"0.0 s"_s);
    ViewerController next(*store, *view, {dialogs, *this, qPath(desktop.path()), settings}, {});
    MainWindow nextWindow(new GraphView(*store, *view));
    next.attachWindow(nextWindow);
    EXPECT_EQ(nextWindow.statisticsPanel()->threshold(), 62.5);
}

}  // namespace nuvisca::test
