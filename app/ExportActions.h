#pragma once

#include <QString>
#include <functional>

#include "app/StatusLine.h"
#include "formats/CsvWriter.h"
#include "graph/ViewModel.h"

class QWidget;

namespace nuvisca {

class DialogService;
class ViewerSettings;

// The CSV and EDF+ (or BDF+) exports of the shown recording: the save dialog, the
// moving-average question, the write, and the alert or status line that tells how it went.
class ExportActions {
public:
    ExportActions(const ViewModel& model, DialogService& dialogs, ViewerSettings& settings,
                  StatusLine status);

    // Each proposes the shown file's name in the last export folder.
    void exportCsv(QWidget* parent, const QString& shownPath);
    void exportEdf(QWidget* parent, const QString& shownPath);
    // The case report of the model as shown, proposing NAME-report.pdf.
    void exportReport(QWidget* parent, const QString& shownPath);

private:
    // Why an export was not written: the recording refused as such, or the system's reason.
    struct Failure {
        QString refusal;
        QString systemReason;
    };
    QString proposedPath(const QString& shownPath, const QString& suffix) const;
    // Asks the moving-average question and writes through write.
    void writeExport(QWidget* parent, const QString& path,
                     const std::function<bool(const AveragedSeries*, Failure&)>& write);
    // Writes through write; tells how it went in the status line or an alert.
    void writeFile(QWidget* parent, const QString& path,
                   const std::function<bool(Failure&)>& write);

    const ViewModel& model_;
    DialogService& dialogs_;
    ViewerSettings& settings_;
    StatusLine status_;
};

}  // namespace nuvisca
