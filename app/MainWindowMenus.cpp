// The window's menu bar: the button actions with the platform's shortcuts, the view
// settings and traces, recent files and the help texts.
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QTableView>

#include "app/MainWindow.h"

namespace nuvisca {

QAction* MainWindow::action(WindowAction which) const {
    return actions_[static_cast<std::size_t>(which)];
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    const auto add = [&](QMenu* menu, WindowAction which, const QString& text,
                         const QKeySequence& key) {
        QAction* item = menu->addAction(text);
        item->setShortcut(key);
        actions_[static_cast<std::size_t>(which)] = item;
    };
    add(file, WindowAction::AddFiles, QStringLiteral("ファイルを追加…"), QKeySequence::Open);
    add(file, WindowAction::ImportFromMedia, QStringLiteral("メディアから取り込み"),
        QKeySequence::UnknownKey);
    file->addSeparator();
    add(file, WindowAction::ExportCsv, QStringLiteral("CSV書き出し…"), QKeySequence::SaveAs);
    add(file, WindowAction::ExportEdf, QStringLiteral("EDF+で書き出し…"), QKeySequence::UnknownKey);
    add(file, WindowAction::Print, QStringLiteral("印刷…"), QKeySequence::Print);
    file->addSeparator();
    recentMenu_ = file->addMenu(QStringLiteral("最近使ったファイル"));
    recentMenu_->setEnabled(false);
    file->addSeparator();
    QAction* quit = file->addAction(QStringLiteral("終了"), this, &QWidget::close);
    quit->setShortcut(QKeySequence::Quit);
    quit->setMenuRole(QAction::QuitRole);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    add(edit, WindowAction::RemoveSelected, QStringLiteral("リストから削除"), QKeySequence::Delete);
    // Delete in the list only, so it never takes the key from another control.
    action(WindowAction::RemoveSelected)->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    table_->addAction(action(WindowAction::RemoveSelected));

    viewMenu_ = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    add(viewMenu_, WindowAction::GoToTime, QStringLiteral("時刻へ移動…"),
        QKeySequence(Qt::CTRL | Qt::Key_G));
    viewMenu_->addSeparator();
    static const char* const kTraceNames[] = {"OXHB", "DXHB", "TOHB", "rSO2"};
    QMenu* traces = viewMenu_->addMenu(QStringLiteral("表示する値"));
    for (std::size_t k = 0; k < traceActions_.size(); ++k) {
        traceActions_[k] = traces->addAction(QString::fromLatin1(kTraceNames[k]));
        traceActions_[k]->setCheckable(true);
    }

    QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    help->addAction(QStringLiteral("操作方法"), this, &MainWindow::showControls);
    help->addAction(QStringLiteral("このソフトについて"), this, &MainWindow::showAbout)
        ->setMenuRole(QAction::AboutRole);
    help->addAction(QStringLiteral("Qtについて"), qApp, &QApplication::aboutQt)
        ->setMenuRole(QAction::AboutQtRole);
}

void MainWindow::mirrorBoxesInMenu() {
    mirrorBoxInMenu(zoomBox_, viewMenu_->addMenu(QStringLiteral("表示倍率")));
    mirrorBoxInMenu(averageBox_, viewMenu_->addMenu(QStringLiteral("移動平均")));
}

void MainWindow::mirrorBoxInMenu(QComboBox* box, QMenu* menu) {
    auto* group = new QActionGroup(menu);
    for (int i = 0; i < box->count(); ++i) {
        QAction* item = group->addAction(box->itemText(i).trimmed());
        item->setCheckable(true);
        item->setChecked(i == box->currentIndex());
        connect(item, &QAction::triggered, box, [box, i] { box->setCurrentIndex(i); });
    }
    menu->addActions(group->actions());
    connect(box, &QComboBox::currentIndexChanged, group, [group](int index) {
        if (index >= 0 && index < group->actions().size()) {
            group->actions().at(index)->setChecked(true);
        }
    });
}

void MainWindow::setRecentFiles(const QStringList& paths) {
    recentMenu_->clear();
    for (const QString& path : paths) {
        QAction* item = recentMenu_->addAction(QFileInfo(path).fileName());
        item->setToolTip(QDir::toNativeSeparators(path));
        connect(item, &QAction::triggered, this, [this, path] { Q_EMIT recentFileChosen(path); });
    }
    recentMenu_->setToolTipsVisible(true);
    recentMenu_->setEnabled(!paths.isEmpty());
}

void MainWindow::showControls() {
    QMessageBox::information(
        this, QStringLiteral("操作方法"),
        QStringLiteral(
            "<p><b>記録を開く</b>: 「ファイルを追加」か「メディアから取り込み」で一覧に載せ、"
            "行を選ぶとグラフに表示します。ファイルをウィンドウへドロップしても追加できます。</p>"
            "<p><b>グラフ</b>: 左右にドラッグすると時間の方向に、上下にドラッグすると"
            "拡大した値の方向にスクロールします。Shift を押しながら左右にドラッグすると"
            "表示範囲の終わりが動き、範囲が広がり・狭まります。Control を押しながら"
            "ドラッグすると値の方向だけスクロールします。凡例をクリックすると、その値の"
            "表示・非表示が切り替わります。</p>"
            "<p><b>表示倍率・移動平均</b>: ウィンドウ上部の欄か「表示」メニューで選びます。</p>"
            "<p><b>キー</b>: %1 追加、%2 CSV書き出し、%3 印刷、%4 一覧から削除、%5 終了。</p>")
            .arg(QKeySequence(QKeySequence::Open).toString(QKeySequence::NativeText),
                 QKeySequence(QKeySequence::SaveAs).toString(QKeySequence::NativeText),
                 QKeySequence(QKeySequence::Print).toString(QKeySequence::NativeText),
                 QKeySequence(QKeySequence::Delete).toString(QKeySequence::NativeText),
                 QKeySequence(QKeySequence::Quit).toString(QKeySequence::NativeText)));
}

void MainWindow::showAbout() {
    QMessageBox::about(this, QStringLiteral("このソフトについて"),
                       QStringLiteral("<p><b>nuvisca Viewer</b> %1</p>"
                                      "<p>組織酸素計の記録を表示・書き出し・印刷します。</p>"
                                      "<p>Qt %2 を使っています。</p>")
                           .arg(QStringLiteral(NUVISCA_VERSION), QString::fromLatin1(qVersion())));
}

}  // namespace nuvisca
