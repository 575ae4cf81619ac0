// The window's menu bar: the button actions with the platform's shortcuts, the view
// settings and traces, recent files and the help texts.
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QTableView>

#include "app/MainWindow.h"
#include "graph/GraphView.h"
#include "store/Channels.h"

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
    // Some platforms bind no key to SaveAs.
    add(file, WindowAction::ExportCsv, QStringLiteral("CSV書き出し…"),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    add(file, WindowAction::ExportEdf, QStringLiteral("EDF+で書き出し…"), QKeySequence::UnknownKey);
    add(file, WindowAction::ExportReport, QStringLiteral("レポートを書き出し…"),
        QKeySequence::UnknownKey);
    add(file, WindowAction::Print, QStringLiteral("印刷…"), QKeySequence::Print);
    file->addSeparator();
    recentMenu_ = file->addMenu(QStringLiteral("最近使ったファイル"));
    recentMenu_->setEnabled(false);
    file->addSeparator();
    quit_ = file->addAction(QStringLiteral("終了"), this, &QWidget::close);
    quit_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit_->setMenuRole(QAction::QuitRole);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    add(edit, WindowAction::UndoMarkerEdit, QStringLiteral("元に戻す"),
        QKeySequence(Qt::CTRL | Qt::Key_Z));
    add(edit, WindowAction::RedoMarkerEdit, QStringLiteral("やり直す"),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    action(WindowAction::UndoMarkerEdit)->setEnabled(false);
    action(WindowAction::RedoMarkerEdit)->setEnabled(false);
    edit->addSeparator();
    add(edit, WindowAction::RemoveSelected, QStringLiteral("リストから削除"), QKeySequence::Delete);
    // Delete in the list only, so it never takes the key from another control.
    action(WindowAction::RemoveSelected)->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    table_->addAction(action(WindowAction::RemoveSelected));
    edit->addAction(QStringLiteral("グラフをコピー"), this, [this] {
        QGuiApplication::clipboard()->setImage(graph_->image(graph_->devicePixelRatioF()));
    });

    viewMenu_ = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    add(viewMenu_, WindowAction::GoToTime, QStringLiteral("時刻へ移動…"),
        QKeySequence(Qt::CTRL | Qt::Key_G));
    viewMenu_->addSeparator();
    QMenu* traces = viewMenu_->addMenu(QStringLiteral("表示する値"));
    for (std::size_t k = 0; k < traceActions_.size(); ++k) {
        traceActions_[k] = traces->addAction(QString::fromLatin1(kChannels[k].legendName));
        traceActions_[k]->setCheckable(true);
    }
    mirrorBoxInMenu(zoomBox_, viewMenu_->addMenu(QStringLiteral("表示倍率")));
    mirrorBoxInMenu(averageBox_, viewMenu_->addMenu(QStringLiteral("移動平均")));

    QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    help->addAction(QStringLiteral("操作方法"), this, &MainWindow::showControls);
    help->addAction(QStringLiteral("このソフトについて"), this, &MainWindow::showAbout)
        ->setMenuRole(QAction::AboutRole);
    help->addAction(QStringLiteral("Qtについて"), qApp, &QApplication::aboutQt)
        ->setMenuRole(QAction::AboutQtRole);
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

QString MainWindow::controlsText() const {
    const auto key = [](QAction* item) {
        return item->shortcut().toString(QKeySequence::NativeText);
    };
    return QStringLiteral(
               "<p><b>記録を開く</b>: 「ファイルを追加」（%1）で記録ファイルとCSVファイルを選ぶか、"
               "「メディアから取り込み」で取り外し可能なメディアの記録を一覧に載せます"
               "（デスクトップの nuviscaViewer_NVDFiles にもコピーします）。"
               "ファイルをウィンドウへドロップしても追加できます。行を選ぶとグラフに表示します。"
               "「最近使ったファイル」からも開けます。</p>"
               "<p><b>書き出し・印刷</b>: 「CSV書き出し」（%2）と「EDF+で書き出し」は表示中の"
               "記録を、測定値のまま、または移動平均を反映して書き出します。「印刷」（%3）は"
               "グラフを横向きの1ページに印刷します。「レポートを書き出し」は表示中の記録の"
               "設定・統計・低下イベントと記録の全体を、症例レポートとして A4 横の PDF に"
               "書き出します。「リストから削除」（%4）は選んだ行を"
               "一覧から外し、隣の記録を表示します。「編集」の「グラフをコピー」は表示中のグラフを"
               "画像としてクリップボードに入れます（論文やスライドに貼れます）。</p>"
               "<p><b>表示倍率・移動平均</b>: ウィンドウ上部の欄か「表示」メニューで選びます。"
               "表示倍率は値の軸を 1/2〜8 倍に伸ばします。移動平均 N は各サンプルを前後 "
               "N&nbsp;−&nbsp;1 "
               "個ずつのサンプルと平均します（1 は平均しません）。「表示する値」で各値の表示・"
               "非表示を切り替えます。</p>"
               "<p><b>時刻へ移動</b>（%5）: 入力した時刻（HH:MM または HH:MM:SS）のサンプルが"
               "表示範囲の左端に来るように移動します。日付をまたいだ記録では、翌日の時刻を "
               "24:00 以降で数えます（例: 24:15）。</p>"
               "<p><b>グラフのマウス操作</b>: 左右にドラッグすると時間の方向に、上下にドラッグ"
               "すると拡大した値の方向にスクロールします。Shift を押しながら左右にドラッグすると"
               "表示範囲の終わりが動き、範囲が広がり・狭まります。Control を押しながらドラッグ"
               "すると値の方向だけスクロールします。Alt（Mac では Option）を押しながらドラッグ"
               "すると、その範囲を選択します。Esc で選択を解除します。凡例をクリックすると、"
               "その値の表示・非表示が切り替わります。</p>"
               "<p><b>ホイール</b>: カーソルの位置を中心に時間の方向を拡大・縮小します"
               "（900 サンプルから記録全体まで）。Shift+ホイールか横方向のホイールで時間の方向に"
               "スクロールし、Ctrl+ホイールで表示倍率を切り替えます。</p>"
               "<p><b>キー</b>（グラフをクリックしてから）: ← / → 範囲の10分の1ずつスクロール、"
               "PageUp / PageDown 範囲1つ分スクロール、Home / End 記録の最初・最後へ、"
               "+ / − 中央を中心に拡大・縮小、0 記録全体を表示、↑ / ↓ 拡大した値をスクロール"
               "（上下のドラッグと同じ）、M マーカーを追加。</p>"
               "<p><b>読み取り</b>: グラフの上にマウスを置くと縦線が出て、その位置の時刻、"
               "記録の始めからの経過時間、表示中の値を示します（移動平均のときは平均値と、"
               "かっこの中に測定値）。</p>"
               "<p><b>全体の帯</b>: グラフの下の帯は記録の全体を示します。クリックするとその"
               "位置が表示範囲の中央に来ます。枠をドラッグすると表示範囲が動きます。</p>"
               "<p><b>統計</b>: 帯の下の欄は、選択範囲（なければ表示範囲）の rSO2・oxHb・dxHb・"
               "toHb の件数・平均・最小・最大（移動平均のときは平均値の）と、rSO2 が有効閾値を"
               "下回った時間と面積を示します。ベースラインは「ベースラインに設定」（選択範囲の平均"
               "）、"
               "「最初の N 分」、または値の入力で決まり、有効閾値は rSO2 閾値と、ベースラインから"
               "相対低下の分だけ下げた値の高い方です。グラフには破線で示します。</p>"
               "<p><b>低下イベント</b>: rSO2 が有効閾値を 15 秒以上続けて下回った区間を赤く塗り、"
               "右の「低下イベント」の表に（選択範囲があればその中の）開始・持続時間・最低値・面積"
               "を示します。行をクリックするとその区間へ"
               "移動します。</p>"
               "<p><b>マーカー</b>: M キー、グラフのダブルクリック、または右クリックの"
               "「マーカーを追加…」で、縦線の位置（縦線がなければ表示範囲の中央）にラベル付きの"
               "マーカーを置きます。ラベルは一覧から選ぶか入力し、時刻（HH:MM:SS）と持続時間"
               "（秒または M:SS、空欄なら時点）も変えられます。「マーカー」の表は時刻・ラベル・"
               "持続時間を示し、行をクリックするとそこへ移動します。ダブルクリックか「編集…」で"
               "変更（時刻を変えると移動）、「削除」か Delete キーで削除します。2つの行を選ぶと"
               "（1つならその次のマーカーまで）「区間を選択」でその間を選択範囲にしてその始めへ移動"
               "し、統計と"
               "低下イベントがその区間を示します。「元に戻す」（%7）と「やり直す」（%8）は"
               "マーカーの追加・変更・削除を取り消し・やり直します。マーカーとベースラインは"
               "記録の横の .events.tsv "
               "ファイル（記録のフォルダに書き込めないときはデータフォルダ）に保存され、次に開いた"
               "ときに戻ります。</p>"
               "<p><b>メニューのキー</b>: %1 ファイルを追加、%2 CSV書き出し、%3 印刷、"
               "%4 リストから削除、%5 時刻へ移動、%7 元に戻す、%8 やり直す、%6 終了。</p>")
        .arg(key(action(WindowAction::AddFiles)), key(action(WindowAction::ExportCsv)),
             key(action(WindowAction::Print)), key(action(WindowAction::RemoveSelected)),
             key(action(WindowAction::GoToTime)), key(quit_),
             key(action(WindowAction::UndoMarkerEdit)), key(action(WindowAction::RedoMarkerEdit)));
}

void MainWindow::showControls() {
    QMessageBox::information(this, QStringLiteral("操作方法"), controlsText());
}

void MainWindow::showAbout() {
    QMessageBox::about(this, QStringLiteral("このソフトについて"),
                       QStringLiteral("<p><b>nuvisca Viewer</b> %1</p>"
                                      "<p>組織酸素計の記録を表示・書き出し・印刷します。</p>"
                                      "<p>Qt %2 を使っています。</p>")
                           .arg(QStringLiteral(NUVISCA_VERSION), QString::fromLatin1(qVersion())));
}

}  // namespace nuvisca
