#include "app/ExportActions.h"

#include <QDir>
#include <QFileInfo>
#include <utility>

#include "app/DialogService.h"
#include "app/RecordingFiles.h"
#include "app/ViewerSettings.h"
#include "formats/EdfExport.h"
#include "print/CaseReport.h"

namespace nuvisca {

ExportActions::ExportActions(const ViewModel& model, DialogService& dialogs,
                             ViewerSettings& settings, StatusLine status)
    : model_(model), dialogs_(dialogs), settings_(settings), status_(std::move(status)) {}

void ExportActions::exportCsv(QWidget* parent, const QString& shownPath) {
    QString path =
        dialogs_.chooseExportPath(parent, proposedPath(shownPath, QStringLiteral(".csv")));
    if (path.isEmpty()) {
        return;
    }
    if (!hasCsvExtension(path)) {
        path.append(u".csv");
    }
    writeExport(parent, path, [&](const AveragedSeries* series, Failure& failure) {
        std::error_code why;
        const bool written =
            saveCsvExport(toFileSystemPath(path), model_.recording(), series, &why);
        failure.systemReason = QString::fromStdString(why.message());
        return written;
    });
}

void ExportActions::exportEdf(QWidget* parent, const QString& shownPath) {
    QString path =
        dialogs_.chooseEdfExportPath(parent, proposedPath(shownPath, QStringLiteral(".edf")));
    if (path.isEmpty()) {
        return;
    }
    const QString suffix = QFileInfo(path).suffix();
    const bool bdf = suffix == u"bdf" || suffix == u"BDF";
    if (!bdf && suffix != u"edf" && suffix != u"EDF") {
        path.append(u".edf");
    }
    writeExport(parent, path, [&](const AveragedSeries* series, Failure& failure) {
        const EdfResult result =
            saveEdfExport(toFileSystemPath(path), model_.recording(), series,
                          bdf ? EdfFlavour::Bdf : EdfFlavour::Edf, &model_.markers());
        if (result.refused) {
            failure.refusal = QString::fromStdString(result.error);
        } else if (result.writeError) {
            failure.systemReason = QString::fromStdString(result.writeError.message());
        }
        return result.ok;
    });
}

void ExportActions::exportReport(QWidget* parent, const QString& shownPath) {
    QString path =
        dialogs_.chooseReportPath(parent, proposedPath(shownPath, QStringLiteral("-report.pdf")));
    if (path.isEmpty()) {
        return;
    }
    if (!path.endsWith(u".pdf", Qt::CaseInsensitive)) {
        path.append(u".pdf");
    }
    writeFile(parent, path, [&](Failure& failure) {
        std::error_code why;
        const bool written =
            saveCaseReport(toFileSystemPath(path), model_, kDefaultMinutesPerStrip, why);
        failure.systemReason = QString::fromStdString(why.message());
        return written;
    });
}

QString ExportActions::proposedPath(const QString& shownPath, const QString& suffix) const {
    const QString folder = settings_.exportFolder();
    const QString name = QFileInfo(shownPath).completeBaseName().append(suffix);
    return folder.isEmpty() ? name : QDir(folder).filePath(name);
}

void ExportActions::writeExport(QWidget* parent, const QString& path,
                                const std::function<bool(const AveragedSeries*, Failure&)>& write) {
    const AveragedSeries* series = nullptr;
    if (model_.averageWindow() > 0 && dialogs_.askApplyMovingAverage(parent)) {
        series = model_.averaged();
    }
    writeFile(parent, path, [&](Failure& failure) { return write(series, failure); });
}

void ExportActions::writeFile(QWidget* parent, const QString& path,
                              const std::function<bool(Failure&)>& write) {
    Failure failure;
    if (!unlessExhausted(false, [&] { return write(failure); })) {
        const QString target = QDir::toNativeSeparators(path);
        if (!failure.refusal.isEmpty()) {
            dialogs_.showWarning(parent, QStringLiteral("「%1」に書き出せませんでした（%2）。")
                                             .arg(target, failure.refusal));
            return;
        }
        const QString reason = failure.systemReason.isEmpty()
                                   ? QString()
                                   : QStringLiteral("（%1）").arg(failure.systemReason);
        dialogs_.showWarning(parent,
                             QStringLiteral("「%1」に書き出せませんでした%2。"
                                            "保存先のフォルダと空き容量を確かめてください。")
                                 .arg(target, reason));
        return;
    }
    settings_.setExportFolder(QFileInfo(path).absolutePath());
    status_(QStringLiteral("「%1」に書き出しました。").arg(QDir::toNativeSeparators(path)));
}

}  // namespace nuvisca
