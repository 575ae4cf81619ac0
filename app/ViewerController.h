#pragma once

#include <QObject>
#include <QPointer>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>

#include "app/AddedFiles.h"
#include "app/ExportActions.h"
#include "app/FileList.h"
#include "app/MarkerActions.h"
#include "app/MediaImport.h"
#include "app/PrintAction.h"
#include "app/SidecarKeeper.h"
#include "app/ViewerSettings.h"
#include "formats/CsvReader.h"
#include "graph/ViewModel.h"

class QComboBox;
class QSettings;
class QTableView;

namespace nuvisca {

class DialogService;
class FileListModel;
class MainWindow;
class VolumeSource;
class GraphView;

// The one controller of the window: owns the file list and its selection, loads the selected
// recording, applies the zoom and moving-average settings and hands the import, export and
// print commands to their actions.
class ViewerController final : public QObject {
    Q_OBJECT
public:
    struct Services {
        DialogService& dialogs;
        const VolumeSource& volumes;
        QString desktopDirectory;  // the user's Desktop, or a test folder
        QSettings& settings;
        // Keeps the markers of recordings whose own folder cannot be written.
        std::filesystem::path dataFolder;
    };

    // Start-up reset: store, graph view state, empty list, desktop import folder.
    ViewerController(ViewModel& viewModel, Services services, QSizeF screenAvailableSize,
                     QObject* parent = nullptr);

    // The saved window frame and traces, the list's model, and the wiring of every control.
    void attachWindow(MainWindow& window);

    const std::vector<ListedFile>& fileList() const { return list_; }
    const QString& desktopNvdFolder() const { return mediaImport_.importFolder(); }
    FileListModel* tableModel() const { return model_; }

public Q_SLOTS:
    void zoomChanged();
    void averageChanged();
    void importFromMedia();
    void chooseFilesToAdd();
    void exportCsv();
    void print();
    void removeSelected();
    void selectionChanged();
    // Files chosen in the open dialog, given on the command line or dropped on the window.
    void addFiles(const QStringList& paths);
    // Files named on the command line: listed, and the first of them shown.
    void openFiles(const QStringList& paths);
    void exportEdf();
    // The case report of the recording as shown, as a PDF.
    void exportReport();
    // Asks for a clock time and shows the range from its slot on.
    void goToTime();
    // Opens the marker editor for a new marker at the slot, or for a listed marker.
    void addMarker(std::int32_t slot);
    void editMarker(std::size_t index);

private:
    int selectedRow() const;
    void selectRow(int row);
    void scrollToRow(int row);
    void reloadTable();
    // Numbers the rows aside and then shows them in place of the list; false, with the list
    // as it was, when they cannot be numbered.
    bool showList(std::vector<ListedFile> rows, ListSource source);
    const ListedFile& listed(int row) const { return list_[static_cast<std::size_t>(row)]; }
    // Lists the files; none when the list has no room left.
    std::optional<AddedFiles> addToList(const QStringList& paths);

    // Loads a listed file with the reader its list source and extension call for; a load
    // that runs out of memory fails, leaving the store as it was.
    bool loadListedFile(int row, CsvRefusal* refusal = nullptr);
    // The date key the list takes; 0 also for a file whose dating ran out of memory.
    std::int64_t listedDateKey(const QString& path, CsvRefusal* refusal = nullptr);
    // Records which listed file the store now holds, or that it holds none of them.
    void setLoadedFile(int row);
    void showNeighbour(int row);
    bool showsRecording() const;
    static QString refusalText(const QString& fileName, CsvRefusal refusal);
    void reportUnreadable(const QString& fileName, CsvRefusal refusal = CsvRefusal::kNotAnExport);
    void showStatus(const QString& message);
    StatusLine statusLine();
    void connectMenus(MainWindow& window);
    void showTracesInMenu();
    void saveOnClose();
    void modelChanged(unsigned changes);
    bool eventFilter(QObject* watched, QEvent* event) override;

    ViewModel& viewModel_;
    QSizeF screenSize_;
    ListSource listSource_ = ListSource::None;
    DialogService& dialogs_;
    ViewerSettings settings_;
    MediaImport mediaImport_;
    ExportActions exports_;
    PrintAction printAction_;
    MarkerActions markerActions_;
    SidecarKeeper sidecar_;

    std::vector<ListedFile> list_;
    FileListModel* model_ = nullptr;
    // The file whose recording the store holds, so a failed load can fall back to it.
    QString loadedPath_;
    bool selectingProgrammatically_ = false;

    QPointer<MainWindow> window_;
    QPointer<GraphView> graphView_;
    QPointer<QTableView> tableView_;
    QPointer<QComboBox> zoomBox_;
    QPointer<QComboBox> averageBox_;
    Subscription subscription_;  // last, so that it is the first to go
};

}  // namespace nuvisca
