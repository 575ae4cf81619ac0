#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QItemSelectionModel>
#include <QPrinter>
#include <QSettings>
#include <QStatusBar>
#include <QTableView>
#include <deque>
#include <functional>
#include <utility>

#include "app/DialogService.h"
#include "app/FileListModel.h"
#include "app/MainWindow.h"
#include "app/ViewerController.h"
#include "app/VolumeSource.h"
#include "formats/CsvTestSupport.h"
#include "graph/GraphView.h"
#include "support/NvdBuilder.h"

namespace nuvisca::test {

using namespace Qt::Literals::StringLiterals;

// Answers the controller's dialogs from queues, and counts what it was asked.
class FakeDialogs final : public DialogService {
public:
    QStringList filesToAdd;  // each answer is given once, then the dialog is cancelled
    QString exportPath;
    bool answerYes = false;
    int questionsAsked = 0;
    QStringList warnings;
    int pageSetups = 0;
    bool pageSetupAccepted = true;
    int printDialogs = 0;
    bool printConfirmed = false;
    std::function<void(QPrinter&)> pageSetupEdits;  // what the user changes in page setup
    QString printPdfPath;                           // a confirmed print goes to this PDF
    std::optional<QString> line;      // typed into the next line dialog; none: cancelled
    QString lineLabel, lineProposed;  // what the line dialog last asked and offered

    QString proposedExport;  // what the save dialog was last offered
    QStringList chooseRecordingsToAdd(QWidget*, const QString&) override {
        return std::exchange(filesToAdd, {});
    }
    QString chooseExportPath(QWidget*, const QString& proposed) override {
        proposedExport = proposed;
        return std::exchange(exportPath, {});
    }
    QString chooseEdfExportPath(QWidget* parent, const QString& proposed) override {
        return chooseExportPath(parent, proposed);
    }
    QString chooseReportPath(QWidget* parent, const QString& proposed) override {
        return chooseExportPath(parent, proposed);
    }
    bool askApplyMovingAverage(QWidget*) override {
        ++questionsAsked;
        return answerYes;
    }
    void showWarning(QWidget*, const QString& message) override { warnings.append(message); }
    std::optional<QString> askLine(QWidget*, const QString&, const QString& label,
                                   const QString& proposed) override {
        lineLabel = label;
        lineProposed = proposed;
        return std::exchange(line, std::nullopt);
    }
    // The marker editor answers with the next of these, given what it offered; none left:
    // cancelled.
    using MarkerAnswer = std::function<std::optional<MarkerFields>(const MarkerFields&)>;
    std::deque<MarkerAnswer> markerAnswers;
    std::vector<MarkerFields> markerOffers;  // what each editor started from
    QStringList markerTitles;
    QStringList markerLabels;  // the labels the last editor offered
    std::optional<MarkerFields> editMarker(QWidget*, const QString& title,
                                           const QStringList& labels,
                                           const MarkerFields& fields) override {
        markerTitles.append(title);
        markerOffers.push_back(fields);
        markerLabels = labels;
        if (markerAnswers.empty()) {
            return std::nullopt;
        }
        const MarkerAnswer answer = std::move(markerAnswers.front());
        markerAnswers.pop_front();
        return answer(fields);
    }
    // Typed over what the editor offered; an empty clock or duration keeps the offered one.
    void typeMarker(const QString& label, const QString& clock = {}, const QString& duration = {}) {
        markerAnswers.push_back([=](const MarkerFields& offered) {
            return MarkerFields{label, clock.isEmpty() ? offered.clock : clock,
                                duration.isEmpty() ? offered.duration : duration};
        });
    }

    bool openPageSetup(QPrinter& printer, QWidget*) override {
        ++pageSetups;
        if (pageSetupEdits) {
            pageSetupEdits(printer);
        }
        return pageSetupAccepted;
    }
    bool confirmPrint(QPrinter& printer, QWidget*) override {
        ++printDialogs;
        if (printConfirmed) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(printPdfPath);
        }
        return printConfirmed;
    }
};

inline QString qPath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

// The real controller and main window over a fake Desktop, fake dialogs and the volumes the
// test mounts.
class ControllerTest : public ::testing::Test, public VolumeSource {
protected:
    ControllerTest()
        : controller(viewModel,
                     {dialogs, *this, qPath(desktop.path()), settings, dataFolder.path()},
                     QSizeF(1600, 1000)),
          window(viewModel) {
        controller.attachWindow(window);
    }

    // A small device recording starting at the given time of day; oxHb starts at a hundredth
    // of the hour, so recordings of different hours differ, and rises by 0.001 a sample.
    static std::filesystem::path writeRecording(const std::filesystem::path& folder,
                                                const std::string& name, int hour, int minute,
                                                int records = 20) {
        NvdBuilder builder;
        const float oxhb = 0.01f * static_cast<float>(hour);
        builder.start(2013, 7, 15, hour, minute, 0).end(hour, minute + 1, 0);
        builder.timeStamp(hour, minute, 0, 0.7f, oxhb, 0.2f);
        for (int k = 1; k < records; ++k) {
            builder.continuation(0.7f, oxhb + 0.001f * static_cast<float>(k), 0.2f);
        }
        builder.writeTo(folder / name);
        return folder / name;
    }

    // "r7.NVD" of "r" and 7.
    static std::string numbered(const std::string& prefix, int k) {
        return std::string(prefix).append(std::to_string(k)).append(".NVD");
    }

    QString onMedia(const std::string& name, int hour, int minute = 0, int records = 20) {
        return qPath(writeRecording(media.path(), name, hour, minute, records));
    }

    // A sample recording copied to the medium, so that what is kept beside it goes there.
    QString sampleCopy(const std::string& name) {
        std::filesystem::copy_file(std::filesystem::path(NUVISCA_SAMPLES_DIR) / name,
                                   media.file(name));
        return qPath(media.file(name));
    }

    QList<MountedVolume> mountedVolumes() const override { return volumes; }
    void addVolume(const std::filesystem::path& root, bool removable = true) {
        volumes.append({qPath(root), removable});
    }

    void selectRow(int row) { window.table()->selectRow(row); }
    int selectedRow() const {
        const auto rows = window.table()->selectionModel()->selectedRows();
        return rows.isEmpty() ? -1 : rows.constFirst().row();
    }
    QStringList names() const { return column(&ListedFile::name); }
    QStringList column(QString ListedFile::*field) const {
        QStringList cells;
        for (const ListedFile& file : controller.fileList()) {
            cells.append(file.*field);
        }
        return cells;
    }
    QString currentName() const { return QString::fromStdString(viewModel.fileName()); }
    QString status() const { return window.statusBar()->currentMessage(); }

    TempDir desktop;
    TempDir dataFolder;  // the sidecars of read-only folders; not the user's own
    TempDir media;
    FakeDialogs dialogs;
    QList<MountedVolume> volumes;
    // Never the user's own settings.
    QSettings settings{qPath(desktop.file("settings.ini")), QSettings::IniFormat};
    ViewModel viewModel;
    // The recording the window shows, whichever was loaded last.
    struct Shown {
        const ViewModel* model;
        const Recording* operator->() const { return &model->recording(); }
        const Recording& operator*() const { return model->recording(); }
    } store{&viewModel};
    GraphViewState* view = &viewModel.editView();
    ViewerController controller;
    MainWindow window;
};

}  // namespace nuvisca::test
