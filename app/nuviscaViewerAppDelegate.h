#pragma once

#include <QObject>
#include <QPointer>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <memory>

#include "app/FileList.h"
#include "graph/GraphViewState.h"
#include "store/MeasurementStore.h"

class QComboBox;
class QLabel;
class QTableView;

namespace nuvisca {

class DialogService;
class FileListModel;
class MainWindow;
struct PrintSettings;
class VolumeSource;
class dataView;

// The one controller of the window: owns the file list, loads the selected recording,
// applies the zoom and moving-average settings and runs the five button actions.
class nuviscaViewerAppDelegate final : public QObject {
    Q_OBJECT
public:
    struct Services {
        DialogService& dialogs;
        const VolumeSource& volumes;
        QString desktopDirectory;  // the user's Desktop, or a test folder
    };

    // Start-up reset: store, graph view state, empty list, desktop import folder.
    nuviscaViewerAppDelegate(MeasurementStore& store, GraphViewState& view, Services services,
                             QSizeF screenAvailableSize, QObject* parent = nullptr);
    ~nuviscaViewerAppDelegate() override;

    // Window frame, title and the two boxes, and the wiring of every control.
    void awakeFromNib(MainWindow& window);

    const FileList& fileList() const { return list_; }
    const QString& desktopNvdFolder() const { return desktopNvdFolder_; }
    bool desktopFolderCreated() const { return desktopFolder_flg; }
    FileListModel* tableModel() const { return model_; }

public Q_SLOTS:
    void combobox1SelChange();
    void combobox2SelChange();
    void onClickedButton1();
    void onClickedButton2();
    void onClickedButton3();
    void onClickedButton4();
    void onClickedButton5();
    void tableViewSelectionDidChange();
    // Files chosen in the open dialog, given on the command line or dropped on the window.
    void addFiles(const QStringList& paths);

private:
    int selectedRow() const;
    void selectRow(int row);
    void scrollToRow(int row);
    void reloadTable();
    // Loads a listed file with the reader its list source and extension call for.
    bool loadListedFile(int row);
    void averageAndRedrawIfLoaded();
    // Records which listed file the store now holds, or that it holds none of them.
    void setLoadedFile(int row);
    void showNeighbour(int row);
    bool copyIntoImportFolder(const QString& source, const QString& name);
    void dataViewUpdate();
    void saveNVDFile(const QString& path);
    void reportUnreadable(const QString& fileName);

    MeasurementStore& store_;
    GraphViewState& view_;
    DialogService& dialogs_;
    const VolumeSource& volumes_;

    FileList list_;
    FileListModel* model_ = nullptr;
    QString desktopNvdFolder_;
    bool desktopFolder_flg = false;
    // The file whose recording the store holds, so a failed load can fall back to it.
    QString loadedPath_;
    bool selectingProgrammatically_ = false;

    QPointer<MainWindow> window_;
    QPointer<dataView> mDataView;
    QPointer<QLabel> textTitle;
    QPointer<QTableView> tableView_;
    QPointer<QComboBox> combobox1_;
    QPointer<QComboBox> combobox2_;
    // Shared by every print and page setup of the process.
    std::unique_ptr<PrintSettings> printSettings_;
};

}  // namespace nuvisca
