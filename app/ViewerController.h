#pragma once

#include <QObject>
#include <QPointer>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <memory>

#include "app/FileList.h"
#include "formats/CsvReader.h"
#include "graph/GraphViewState.h"
#include "store/MeasurementStore.h"

class QComboBox;
class QTableView;

namespace nuvisca {

class DialogService;
class FileListModel;
class MainWindow;
struct PrintSettings;
class VolumeSource;
class GraphView;

// The one controller of the window: owns the file list, loads the selected recording,
// applies the zoom and moving-average settings and runs the five button actions.
class ViewerController final : public QObject {
    Q_OBJECT
public:
    struct Services {
        DialogService& dialogs;
        const VolumeSource& volumes;
        QString desktopDirectory;  // the user's Desktop, or a test folder
    };

    // Start-up reset: store, graph view state, empty list, desktop import folder.
    ViewerController(MeasurementStore& store, GraphViewState& view, Services services,
                     QSizeF screenAvailableSize, QObject* parent = nullptr);
    ~ViewerController() override;

    // Window frame, title and the two boxes, and the wiring of every control.
    void attachWindow(MainWindow& window);

    const FileList& fileList() const { return list_; }
    const QString& desktopNvdFolder() const { return desktopNvdFolder_; }
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

private:
    int selectedRow() const;
    void selectRow(int row);
    void scrollToRow(int row);
    void reloadTable();
    // Loads a listed file with the reader its list source and extension call for; a load
    // that runs out of memory fails, leaving the store as it was.
    bool loadListedFile(int row, CsvRefusal* refusal = nullptr);
    // The date key the list takes; a file refused for its size, or whose dating ran out of
    // memory, is named on the status line.
    std::int64_t listedDateKey(const QString& path);
    void averageAndRedrawIfLoaded();
    // Records which listed file the store now holds, or that it holds none of them.
    void setLoadedFile(int row);
    void showNeighbour(int row);
    bool copyIntoImportFolder(const QString& source, const QString& name);
    void reportTooLargeToCopy(const QString& name);
    void requestRedraw();
    void writeCsvExport(const QString& path);
    void reportUnreadable(const QString& fileName, CsvRefusal refusal = CsvRefusal::kNotAnExport);

    MeasurementStore& store_;
    GraphViewState& view_;
    DialogService& dialogs_;
    const VolumeSource& volumes_;

    FileList list_;
    FileListModel* model_ = nullptr;
    QString desktopNvdFolder_;
    bool importFolderReady_ = false;
    // The file whose recording the store holds, so a failed load can fall back to it.
    QString loadedPath_;
    bool selectingProgrammatically_ = false;

    QPointer<MainWindow> window_;
    QPointer<GraphView> graphView_;
    QPointer<QTableView> tableView_;
    QPointer<QComboBox> zoomBox_;
    QPointer<QComboBox> averageBox_;
    // Shared by every print and page setup of the process.
    std::unique_ptr<PrintSettings> printSettings_;
};

}  // namespace nuvisca
