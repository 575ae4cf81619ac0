#include <QAction>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <set>

#include "ControllerFixture.h"
#include "app/EventList.h"
#include "app/StatisticsPanel.h"
#include "formats/StatisticsCsv.h"
#include "formats/TextFields.h"
#include "graph/GraphLayout.h"
#include "graph/RangeNavigation.h"

namespace nuvisca::test {
namespace {

struct PaintCounter final : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

using WindowShellTest = ControllerTest;

TEST_F(WindowShellTest, TheBoxesStartAtOneTimesWithoutAverageAndSetTheStore) {
    EXPECT_EQ(window.zoomBox()->currentText() + window.averageBox()->currentText(), u"  1倍1"_s);
    window.zoomBox()->setCurrentIndex(4);
    window.averageBox()->setCurrentIndex(29);
    EXPECT_EQ((std::array{viewModel.zoomIndex(), viewModel.averageWindow()}), (std::array{4, 29}));
}

// A header without samples is shown as such, not under the last recording's picture; a
// removal whose neighbour cannot be read says the graph is empty, and the empty list says
// nothing.
TEST_F(WindowShellTest, EmptyLoadsAreDrawnAndRemovalsTellWhatIsShown) {
    NvdBuilder().start(2013, 7, 15, 11, 0, 0).recordCount(5).writeTo(media.file("empty.NVD"));
    controller.addFiles({onMedia("full.NVD", 10), qPath(media.file("empty.NVD"))});
    // On its own, so that nothing else in the window repaints it.
    const std::unique_ptr<GraphView> graph(window.graph());
    graph->setParent(nullptr);
    graph->show();
    selectRow(0);
    QApplication::processEvents();
    PaintCounter counter;
    graph->installEventFilter(&counter);
    selectRow(1);
    QApplication::processEvents();
    EXPECT_GT(counter.paints, 0);
    EXPECT_EQ(status(), u"「empty.NVD」には測定値がありません。"_s);
    std::filesystem::remove(media.file("empty.NVD"));
    selectRow(0);
    controller.removeSelected();
    EXPECT_EQ(status(), u"「empty.NVD」は読み込めませんでした。グラフには何も表示していません。"_s);
    controller.removeSelected();
    EXPECT_EQ(status(), u""_s);
}

// The command line's files: a recording cut at the capacity says so, and a file that is no
// recording is named after the load has spoken.
TEST_F(WindowShellTest, CommandLineFilesLeftOutOrCutAreNamed) {
    writeText(media.file("notes.NVD"), "not a recording\n");
    controller.openFiles(
        {onMedia("long.NVD", 8, 0, kSampleCapacity + 1), qPath(media.file("notes.NVD"))});
    EXPECT_EQ(store->sampleCount, kSampleCapacity);
    EXPECT_EQ(status(),
              u"記録が10時間40分を超えるため、それ以降は読み込んでいません。"
              u"「notes.NVD」は記録ファイルではないため読み飛ばしました。"_s);
}

// The command line's first file is shown and named in the title; the menu and the legend
// switch the same traces; exports end in ".csv" and are proposed in the last export folder;
// the window, the traces and the folders are what the next run starts with.
TEST_F(WindowShellTest, CommandLineMenusExportsAndSettingsForTheNextRun) {
    controller.openFiles({onMedia("b.NVD", 10), onMedia("a.NVD", 9)});
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_EQ(window.windowTitle(), u"b.NVD — nuvisca Viewer"_s);
    dialogs.exportPath = qPath(media.file("out.txt"));
    controller.exportCsv();
    EXPECT_TRUE(std::filesystem::exists(media.file("out.txt.csv")));
    EXPECT_FALSE(std::filesystem::exists(media.file("out.txt")));

    window.traceAction(0)->trigger();
    window.resize(1200, 700);
    window.show();
    QApplication::processEvents();
    window.graph()->repaint();
    const LegendBox box = layoutGraph(viewModel, *view).legend[kRso2];
    const QPointF legend((box.left + box.right) / 2.0f,
                         view->viewHeight - (box.bottom + box.top) / 2.0f);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent click(type, legend, window.graph()->mapToGlobal(legend), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.graph(), &click);
    }
    EXPECT_EQ(view->traceShown, (std::array{true, false, true, false}));
    EXPECT_FALSE(window.traceAction(3)->isChecked());
    window.statisticsPanel()->thresholdBox()->setValue(62.5);
    window.close();

    ViewModel nextModel;
    ViewerController next(nextModel,
                          {dialogs, *this, qPath(desktop.path()), settings, dataFolder.path()},
                          QSizeF(1600, 1000));
    MainWindow nextWindow(nextModel);
    next.attachWindow(nextWindow);
    EXPECT_EQ(nextModel.view().traceShown, view->traceShown);
    EXPECT_TRUE(nextWindow.traceAction(0)->isChecked() && !nextWindow.traceAction(3)->isChecked());
    EXPECT_EQ(nextWindow.size(), window.size());
    EXPECT_EQ(nextWindow.statisticsPanel()->threshold(), 62.5);
    next.openFiles({qPath(media.file("a.NVD"))});
    next.exportCsv();
    EXPECT_EQ(dialogs.proposedExport, qPath(media.file("a.csv")));
}

// The panel shows the command line's figures of the selection, or else of the visible range,
// of the series shown, by the effective threshold; the event list shows the command line's
// events, and a click on a row shows the range from the event's start.
TEST_F(WindowShellTest, PanelAndEventListShowTheCliFiguresOfTheSelectionOrTheVisibleRange) {
    window.show();
    QApplication::processEvents();
    controller.openFiles({sampleCopy("two-hours-pause-restart.NVD")});
    StatisticsPanel& panel = *window.statisticsPanel();
    const auto expectCliFigures = [&](SlotSpan span, double threshold) {
        const RangeStatistics stats =
            computeRangeStatistics(*store, viewModel.averaged(), {span.start, span.end, threshold});
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
        EXPECT_EQ(panel.effectiveThreshold()->text().toStdString(), below.threshold + " %");
    };
    expectCliFigures({view->viewStart, view->viewEnd}, 50.0);
    showRangeStartingAt(viewModel, 9000);
    expectCliFigures({view->viewStart, view->viewEnd}, 50.0);
    window.averageBox()->setCurrentIndex(9);
    panel.thresholdBox()->setValue(62.5);
    expectCliFigures({view->viewStart, view->viewEnd}, 62.5);
    EXPECT_NE(panel.belowSeconds()->text(), u"0.0 s"_s);
    EXPECT_TRUE(panel.title()->text().startsWith(u"表示範囲 "));

    EXPECT_FALSE(panel.baselineFromSelection()->isEnabled());
    viewModel.setSelection({600, 4200});
    EXPECT_EQ(panel.title()->text(), u"選択範囲 09:05:00–09:35:00（30分00秒）"_s);
    panel.baselineFromSelection()->click();
    const Baseline baseline =
        *measureBaseline(*store, viewModel.averaged(), BaselineMethod::kRange, 600, 4200);
    EXPECT_EQ(panel.baselineMethod()->text(), u"ベースラインに設定"_s);
    EXPECT_EQ(viewModel.review().baseline->value, baseline.value);
    panel.dropBox()->setValue(10.0);
    const double effective = std::max(62.5, baseline.value * 0.9);
    expectCliFigures({600, 4200}, effective);
    panel.firstMinutesBox()->setValue(5);
    EXPECT_EQ(viewModel.review().baseline->value,
              firstMinutesBaseline(*store, viewModel.averaged(), 5)->value);
    EXPECT_EQ(panel.baselineMethod()->text(), u"最初の 5 分"_s);

    // Without a selection the list holds the whole recording's events.
    viewModel.setSelection({});
    QTableWidget& table = *window.eventList()->table();
    const Desaturations found =
        findDesaturations(*store, viewModel.averaged(), 0, store->sampleCount,
                          viewModel.review().effectiveThreshold(), 15.0);
    ASSERT_GE(found.events.size(), 2u);
    ASSERT_EQ(table.rowCount(), static_cast<int>(found.events.size()));
    std::string area;
    appendFixed(area, found.events[1].areaBelow, 2);
    EXPECT_EQ(table.item(1, 3)->text().toStdString(), area + " %·min");
    const QPoint row = table.visualItemRect(table.item(1, 0)).center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent click(type, row, table.viewport()->mapToGlobal(row), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(table.viewport(), &click);
    }
    EXPECT_EQ(view->viewStart, found.events[1].start);

    viewModel.setSelection({600, 4200});
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(window.graph(), &escape);
    EXPECT_TRUE(viewModel.selection().empty());
}

// 時刻へ移動 puts the slot of the time typed at the left edge, held in as a scroll is; a time
// in the pause goes to the restart; text that is no time or a time outside the recording is
// refused, naming the recording's times, and moves nothing.
TEST_F(WindowShellTest, GoToTimeCountsPastMidnightAndRefusesWhatItCannotFind) {
    // 23:59:00 to 24:00:59.5, then a restart at 00:05:00 (counted 24:05:00) until 24:29:59.5.
    NvdBuilder builder;
    builder.start(2013, 7, 15, 23, 59, 0).end(0, 30, 0).timeStamp(23, 59, 0, 0.7f, 0.4f, 0.2f);
    for (int k = 1; k < 3240; ++k) {
        if (k == 240) {
            builder.timeStamp(0, 5, 0, 0.7f, 0.4f, 0.2f);
        } else {
            builder.continuation(0.7f, 0.4f, 0.2f);
        }
    }
    builder.writeTo(media.file("night.NVD"));
    window.show();
    QApplication::processEvents();
    controller.openFiles({qPath(media.file("night.NVD"))});
    const std::int32_t length = view->viewEnd - view->viewStart;
    ASSERT_EQ(view->viewStart, 0);

    const QString span = u"（23:59:00〜24:29:59）"_s;
    // Typed, and where the range starts after it (unmoved when refused).
    const std::pair<std::optional<QString>, std::int32_t> entries[] = {
        {u"24:06"_s, 360},
        {u" 24:03:00 "_s, 240},
        {u"23:59:01"_s, 2},
        {u"２４：０７"_s, 480},
        {u"24:29:59"_s, 3240 - length - 1},
        {u"23:58:59"_s, 3240 - length - 1},
        {u"25:61"_s, 3240 - length - 1},
        {u""_s, 3240 - length - 1},
        {u"24:06"_s, 360},
        {std::nullopt, 360}};
    for (const auto& [typed, start] : entries) {
        dialogs.line = typed;
        window.action(WindowAction::GoToTime)->trigger();
        EXPECT_EQ(view->viewStart, start) << typed.value_or(u"cancelled"_s).toStdString();
        EXPECT_EQ(view->viewEnd - view->viewStart, length);
    }
    EXPECT_TRUE(dialogs.lineLabel.contains(u"23:59:00〜24:29:59"_s))
        << dialogs.lineLabel.toStdString();
    EXPECT_EQ(dialogs.lineProposed, u"24:06:00"_s) << "the time at the left edge";
    EXPECT_EQ(
        dialogs.warnings,
        (QStringList{
            u"23:58:59 は記録の範囲"_s + span + u"の外です。"_s,
            u"「25:61」は時刻として読めません。HH:MM または HH:MM:SS で、記録の範囲"_s + span +
                u"の時刻を入力してください。"_s,
            u"HH:MM または HH:MM:SS で、記録の範囲"_s + span + u"の時刻を入力してください。"_s}));
}

// Every command of the menus is in the help; those with a key show one, a key of their own,
// and the help names it.
TEST_F(WindowShellTest, HelpNamesEveryMenuCommandAndItsKey) {
    const QString help = window.controlsText();
    const QStringList withKeys{
        u"ファイルを追加…"_s, u"CSV書き出し…"_s, u"印刷…"_s,    u"終了"_s,
        u"リストから削除"_s,  u"時刻へ移動…"_s,  u"元に戻す"_s, u"やり直す"_s};
    std::set<QString> keys;
    int keyed = 0;
    for (QAction* top : window.menuBar()->actions()) {
        if (top->menu() == nullptr || top->text().startsWith(u"ヘルプ"_s)) {
            continue;
        }
        for (QAction* item : top->menu()->actions()) {
            const QString key = item->shortcut().toString(QKeySequence::NativeText);
            if (item->isSeparator()) {
                continue;
            }
            EXPECT_TRUE(help.contains(QString(item->text()).remove(u'…')))
                << item->text().toStdString();
            EXPECT_EQ(key.isEmpty(), !withKeys.contains(item->text()))
                << item->text().toStdString();
            if (!key.isEmpty()) {
                ++keyed;
                EXPECT_TRUE(keys.insert(key).second) << key.toStdString();
                EXPECT_TRUE(help.contains(key)) << key.toStdString();
            }
        }
    }
    EXPECT_EQ(keyed, withKeys.size());
}

}  // namespace
}  // namespace nuvisca::test
