#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>

#include "ControllerFixture.h"
#include "app/EventList.h"
#include "app/MarkerList.h"
#include "app/StatisticsPanel.h"
#include "app/ViewerSettings.h"
#include "graph/GraphLayout.h"

namespace nuvisca::test {
namespace {

// One hour from 09:00:00, slot k at 09:00:00 + k / 2 seconds, in a window wide enough that
// every visible slot has a point of its own.
class MarkerTest : public ControllerTest {
protected:
    void SetUp() override {
        window.resize(1700, 900);
        window.show();
        QApplication::processEvents();
        controller.openFiles({qPath(writeRecording(media.path(), "hour.NVD", 9, 0, 7200))});
        viewModel.showRange({1000, 1900});
        ASSERT_EQ(view->viewStart, 1000);
        ASSERT_GE(pixelsPerSample(*view), 1.0f);
    }

    // The graph's point of a slot, halfway up the plot.
    QPointF pointOf(std::int32_t slot) const {
        return {layoutGraph(viewModel, *view).slotX(slot), view->viewHeight / 2.0};
    }
    void send(QEvent::Type type, QPointF at, Qt::MouseButton button = Qt::NoButton) {
        QMouseEvent event(type, at, window.graph()->mapToGlobal(at), button,
                          type == QEvent::MouseMove ? Qt::NoButton : button, Qt::NoModifier);
        QApplication::sendEvent(window.graph(), &event);
    }
    void pressKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(target, &press);
    }
    std::vector<std::int32_t> slots() const {
        std::vector<std::int32_t> found;
        for (const Marker& marker : viewModel.markers()) {
            found.push_back(marker.slot);
        }
        return found;
    }
    void addAt(std::int32_t slot, const QString& label, const QString& duration = {}) {
        dialogs.typeMarker(label, {}, duration);
        controller.addMarker(slot);
    }
    void clickRow(QTableWidget& table, int row, bool doubleClick = false) {
        const QPoint at = table.visualItemRect(table.item(row, 0)).center();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                  QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
            if (type == QEvent::MouseButtonDblClick && !doubleClick) {
                break;
            }
            QMouseEvent click(type, at, table.viewport()->mapToGlobal(at), Qt::LeftButton,
                              Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(table.viewport(), &click);
        }
    }
    MarkerList& list() { return *window.markerList(); }
};

// Key M takes the hairline's slot, or the middle of the range without one (also the second
// half of a second, which the editor's clock cannot name); a double click and the context
// menu take the slot under the mouse, and the menu off the plot the middle. A cancelled or
// blank label adds nothing.
TEST_F(MarkerTest, KeyDoubleClickAndMenuOpenTheEditorAtTheirSlot) {
    GraphView& graph = *window.graph();
    pressKey(&graph, Qt::Key_M);
    send(QEvent::MouseMove, pointOf(1201));
    pressKey(&graph, Qt::Key_M);
    send(QEvent::Leave, {});
    send(QEvent::MouseButtonPress, pointOf(1300), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, pointOf(1300), Qt::LeftButton);
    send(QEvent::MouseButtonDblClick, pointOf(1300), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, pointOf(1300), Qt::LeftButton);
    for (const QPointF at : {pointOf(1700), QPointF(pointOf(1700).x(), 2.0)}) {
        const std::unique_ptr<QMenu> menu = graph.contextMenu(at);
        ASSERT_EQ(menu->actions().size(), 1);
        EXPECT_EQ(menu->actions().front()->text(), u"マーカーを追加…"_s);
        menu->actions().front()->trigger();
    }
    QStringList offered;
    for (const MarkerFields& fields : dialogs.markerOffers) {
        offered.append(fields.clock);
        EXPECT_EQ(fields.label + fields.duration, u""_s);
    }
    EXPECT_EQ(offered, (QStringList{u"09:12:05"_s, u"09:10:00"_s, u"09:10:50"_s, u"09:14:10"_s,
                                    u"09:12:05"_s}));
    EXPECT_EQ(dialogs.markerTitles.constFirst(), u"マーカーを追加"_s);
    EXPECT_TRUE(viewModel.markers().empty()) << "every editor was cancelled";

    for (std::int32_t slot : {1450, 1201, 1300}) {
        dialogs.typeMarker(u"  執刀\t開始 "_s);
        controller.addMarker(slot);
    }
    addAt(1400, u"   "_s);
    EXPECT_EQ(slots(), (std::vector{1201, 1300, 1450}));
    EXPECT_EQ(viewModel.markers().front().label, "執刀 開始");
    EXPECT_TRUE(dialogs.warnings.isEmpty());
}

// A clock or a duration that cannot be read is warned about and offered again as typed; the
// clock moves the marker, the duration reads as seconds or M:SS, also in full-width digits.
TEST_F(MarkerTest, TheEditorChecksItsEntriesAndOffersThemAgain) {
    const std::pair<QString, QString> entries[] = {
        {u"25:61"_s, u""_s},        {u"08:00"_s, u""_s},      {u"09:20"_s, u"1:3"_s},
        {u"09:20"_s, u"3:00:00"_s}, {u"09:59:50"_s, u"20"_s}, {u"０９：２０"_s, u"１：３０．５"_s}};
    for (const auto& [clock, duration] : entries) {
        dialogs.typeMarker(u"大動脈遮断"_s, clock, duration);
    }
    controller.addMarker(1000);
    ASSERT_EQ(viewModel.markers().size(), 1u);
    EXPECT_EQ(viewModel.markers().front(), (Marker{2400, 181, "大動脈遮断"}));
    const QString span = u"（09:00:00〜09:59:59）"_s;
    EXPECT_EQ(
        dialogs.warnings,
        (QStringList{u"「25:61」は時刻として読めません。HH:MM または HH:MM:SS で、記録の範囲"_s +
                         span + u"の時刻を入力してください。"_s,
                     u"08:00:00 は記録の範囲"_s + span + u"の外です。"_s,
                     u"「1:3」は持続時間として読めません。秒（例: 90）または M:SS（例: "
                     u"1:30）で入力してください。"_s,
                     u"「3:00:00」は持続時間として読めません。秒（例: 90）または M:SS（例: "
                     u"1:30）で入力してください。"_s,
                     u"持続時間が記録の終わり（09:59:59）を越えています。"_s}));
    ASSERT_EQ(dialogs.markerOffers.size(), 6u);
    EXPECT_EQ(dialogs.markerOffers[1], (MarkerFields{u"大動脈遮断"_s, u"25:61"_s, u""_s}));
    EXPECT_EQ(dialogs.markerOffers[4].duration, u"3:00:00"_s);

    list().table()->selectRow(0);
    list().editButton()->click();
    EXPECT_EQ(dialogs.markerTitles.constLast(), u"マーカーを編集"_s);
    EXPECT_EQ(dialogs.markerOffers.back(),
              (MarkerFields{u"大動脈遮断"_s, u"09:20:00"_s, u"1:30.5"_s}));
}

// Adding, editing, moving and deleting are undone and redone through the 編集 menu (the steps
// themselves are the view model's), whose items are enabled only when there is something to
// undo or redo; a new recording forgets it.
TEST_F(MarkerTest, EditsAreUndoneAndRedoneThroughTheMenu) {
    QAction& undo = *window.action(WindowAction::UndoMarkerEdit);
    QAction& redo = *window.action(WindowAction::RedoMarkerEdit);
    EXPECT_FALSE(undo.isEnabled() || redo.isEnabled());
    addAt(1200, u"麻酔導入"_s);
    const Markers added = viewModel.markers();
    list().table()->selectRow(0);
    dialogs.typeMarker(u"執刀開始"_s, u"09:15:00"_s, u"30"_s);
    list().editButton()->click();
    const Markers moved{{1800, 60, "執刀開始"}};
    ASSERT_EQ(viewModel.markers(), moved);
    list().table()->selectRow(0);
    list().deleteButton()->click();
    EXPECT_TRUE(viewModel.markers().empty());
    EXPECT_TRUE(undo.isEnabled() && !redo.isEnabled());

    undo.trigger();
    EXPECT_EQ(viewModel.markers(), moved);
    undo.trigger();
    EXPECT_EQ(viewModel.markers(), added);
    EXPECT_TRUE(undo.isEnabled() && redo.isEnabled());
    redo.trigger();
    redo.trigger();
    EXPECT_TRUE(viewModel.markers().empty());
    EXPECT_FALSE(redo.isEnabled());
    undo.trigger();
    controller.openFiles({onMedia("other.NVD", 11)});
    EXPECT_FALSE(undo.isEnabled() || redo.isEnabled());
}

// The editor offers the starting labels, then those used before, the most recent first, in
// this run and the next; only the newest are kept.
TEST_F(MarkerTest, TheLabelsUsedAreOfferedAfterTheStartingOnesNextRunToo) {
    const QStringList starting{u"麻酔導入"_s,     u"執刀開始"_s,     u"大動脈遮断"_s, u"遮断解除"_s,
                               u"人工心肺開始"_s, u"人工心肺終了"_s, u"手術終了"_s};
    addAt(1200, u"再灌流"_s);
    addAt(1300, u"執刀開始"_s);
    addAt(1400, u"体位変換"_s);
    addAt(1500, u"再灌流"_s);
    controller.addMarker(1600);
    EXPECT_EQ(dialogs.markerLabels, starting + (QStringList{u"再灌流"_s, u"体位変換"_s}));
    ViewerSettings nextRun(settings);
    EXPECT_EQ(nextRun.markerLabels(), dialogs.markerLabels);
    for (int k = 0; k < 40; ++k) {
        nextRun.noteMarkerLabel(QString::number(k));
    }
    const QStringList kept = nextRun.markerLabels();
    EXPECT_EQ(kept.size(), starting.size() + ViewerSettings::kMarkerLabelsKept);
    EXPECT_EQ(kept.mid(starting.size(), 2), (QStringList{u"39"_s, u"38"_s}));
    EXPECT_FALSE(kept.contains(u"再灌流"_s));
}

// Rows name each marker's time, label and duration; a click shows the range from it, a double
// click edits it, Delete removes it; two chosen rows, or one and the next marker (the end after
// the last), select a phase that the panel and the event list then show.
TEST_F(MarkerTest, TheListShowsEditsDeletesAndSelectsPhases) {
    controller.openFiles({sampleCopy("two-hours-pause-restart.NVD")});
    viewModel.addMarker({4200, 0, "執刀開始"});
    viewModel.addMarker({600, 181, "麻酔導入"});
    viewModel.addMarker({9000, 0, "手術終了"});
    QTableWidget& table = *list().table();
    ASSERT_EQ(table.rowCount(), 3);
    const auto rowText = [&](int row) {
        return table.item(row, 0)->text() + u'|' + table.item(row, 1)->text() + u'|' +
               table.item(row, 2)->text();
    };
    EXPECT_EQ(rowText(0), u"09:05:00|麻酔導入|1分30.5秒"_s);
    EXPECT_EQ(rowText(1), u"09:35:00|執刀開始|"_s);

    clickRow(table, 1);
    EXPECT_EQ(view->viewStart, 4200);
    table.clearSelection();
    table.selectRow(0);
    table.selectionModel()->select(table.model()->index(2, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_FALSE(list().editButton()->isEnabled());
    list().phaseButton()->click();
    EXPECT_EQ(viewModel.selection(), (SlotSpan{600, 9000}));
    EXPECT_EQ(view->viewStart, 600);
    EXPECT_TRUE(window.statisticsPanel()->title()->text().startsWith(u"選択範囲 09:05:00–"_s));
    const Desaturations inPhase =
        findDesaturations(*store, nullptr, 600, 9000, viewModel.review().effectiveThreshold(),
                          viewModel.review().minimumSeconds);
    EXPECT_EQ(window.eventList()->table()->rowCount(), static_cast<int>(inPhase.events.size()));
    EXPECT_TRUE(window.eventList()->sums()->text().startsWith(
        u"選択範囲 %1 件"_s.arg(inPhase.events.size())));
    for (const auto& [row, phase] :
         {std::pair{0, SlotSpan{600, 4200}}, {2, SlotSpan{9000, store->sampleCount}}}) {
        table.selectRow(row);
        list().phaseButton()->click();
        EXPECT_EQ(viewModel.selection(), phase);
    }

    dialogs.typeMarker(u"終了"_s);
    clickRow(table, 1, true);
    EXPECT_EQ(dialogs.markerOffers.back().label, u"執刀開始"_s);
    EXPECT_EQ(viewModel.markers()[1].label, "終了");
    table.setFocus();
    table.selectRow(0);
    pressKey(&table, Qt::Key_Delete);
    ASSERT_EQ(table.rowCount(), 2);
    EXPECT_EQ(rowText(0), u"09:35:00|終了|"_s);
    EXPECT_EQ(controller.fileList().size(), 2u) << "the file list keeps its rows";
}

}  // namespace
}  // namespace nuvisca::test
