#pragma once

#include <QMainWindow>
#include <array>

#include "store/Recording.h"

class QAction;
class QComboBox;
class QSizeF;
class QLabel;
class QMenu;
class QPushButton;
class QSplitter;
class QTableView;
class QTabWidget;

namespace nuvisca {

class FileListModel;
class GraphView;
class ViewModel;
class StatisticsPanel;
class EventList;
class MarkerList;

// The five buttons below the file list, top to bottom.
enum class WindowButton { ImportFromMedia, AddFiles, ExportCsv, Print, RemoveSelected };

// The menu commands the controller carries out.
enum class WindowAction {
    ImportFromMedia,
    AddFiles,
    ExportCsv,
    ExportEdf,
    ExportReport,
    Print,
    RemoveSelected,
    GoToTime,
    UndoMarkerEdit,
    RedoMarkerEdit,  // the last: a new command goes before it
};
inline constexpr std::size_t kWindowActionCount =
    static_cast<std::size_t>(WindowAction::RedoMarkerEdit) + 1;

// The window layout: it builds the controls and menus and leaves all behaviour on
// recordings to the controller.
class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(ViewModel& model, QWidget* parent = nullptr);

    GraphView* graph() const { return graph_; }
    QTableView* table() const { return table_; }
    QComboBox* zoomBox() const { return zoomBox_; }
    QComboBox* averageBox() const { return averageBox_; }
    QSplitter* splitter() const { return splitter_; }
    StatisticsPanel* statisticsPanel() const { return statistics_; }
    EventList* eventList() const { return events_; }
    MarkerList* markerList() const { return markers_; }
    // Brings the marker list forward in the tabs it shares with the event list.
    void showMarkerList();
    // The marker tab's title counts them, so that kept markers are seen behind the events.
    void showMarkerCount(std::size_t count);
    QPushButton* button(WindowButton which) const;
    QAction* action(WindowAction which) const;
    // Checkable, in the graph's trace order.
    QAction* traceAction(std::size_t trace) const { return traceActions_[trace]; }

    // The frame's place when none was saved: nearly the whole screen, on its bottom edge.
    void placeOnScreen(QSizeF available);
    void setFileListModel(FileListModel* model);
    void setRecentFiles(const QStringList& paths);
    // Title bar and status bar name the shown recording; an empty name shows none.
    void showRecording(const QString& fileName, const QString& deviceId);
    // The 操作方法 help: every control, with the menu commands' keys.
    QString controlsText() const;

    void showStatus(const QString& message);
    void clearStatus();
    QString statusText() const;

Q_SIGNALS:
    void filesDropped(const QStringList& paths);
    void recentFileChosen(const QString& path);
    void closing();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillBoxes();
    void buildMenus();
    void mirrorBoxInMenu(QComboBox* box, QMenu* menu);
    void showControls();
    void showAbout();

    GraphView* graph_;
    QLabel* title_;
    QTableView* table_;
    QComboBox* zoomBox_;
    QComboBox* averageBox_;
    QSplitter* splitter_ = nullptr;
    StatisticsPanel* statistics_ = nullptr;
    EventList* events_ = nullptr;
    MarkerList* markers_ = nullptr;
    QTabWidget* reviewTabs_ = nullptr;
    QLabel* deviceLabel_;
    std::array<QPushButton*, 5> buttons_{};
    std::array<QAction*, kWindowActionCount> actions_{};
    QAction* quit_ = nullptr;
    std::array<QAction*, kChannelCount> traceActions_{};
    QMenu* viewMenu_ = nullptr;
    QMenu* recentMenu_ = nullptr;
};

}  // namespace nuvisca
