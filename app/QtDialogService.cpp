#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include "app/DialogService.h"

namespace nuvisca {

QStringList QtDialogService::chooseRecordingsToAdd(QWidget* parent, const QString& folder) {
    return QFileDialog::getOpenFileNames(parent, QStringLiteral("ファイルを追加"), folder,
                                         QStringLiteral("記録ファイル (*.nvd *.NVD *.csv *.CSV)"));
}

namespace {

// "csv" of "CSV (*.csv)".
QString suffixOf(const QString& filter) {
    const qsizetype star = filter.indexOf(u"*.");
    return filter.mid(star + 2, filter.indexOf(u')', star) - star - 2);
}

// The first filter's suffix completes a bare name until the user picks another filter.
QString chooseSavePath(QWidget* parent, const QString& title, const QString& proposed,
                       const QStringList& filters) {
    QFileDialog dialog(parent, title, proposed);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(suffixOf(filters.constFirst()));
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog](const QString& filter) { dialog.setDefaultSuffix(suffixOf(filter)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

}  // namespace

QString QtDialogService::chooseExportPath(QWidget* parent, const QString& proposed) {
    return chooseSavePath(parent, QStringLiteral("CSV書き出し"), proposed,
                          {QStringLiteral("CSV (*.csv)")});
}

QString QtDialogService::chooseEdfExportPath(QWidget* parent, const QString& proposed) {
    return chooseSavePath(parent, QStringLiteral("EDF+で書き出し"), proposed,
                          {QStringLiteral("EDF+ (*.edf)"), QStringLiteral("BDF+ (*.bdf)")});
}

QString QtDialogService::chooseReportPath(QWidget* parent, const QString& proposed) {
    return chooseSavePath(parent, QStringLiteral("レポートを書き出し"), proposed,
                          {QStringLiteral("PDF (*.pdf)")});
}

bool QtDialogService::askApplyMovingAverage(QWidget* parent) {
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Question);
    box.setText(QStringLiteral("移動平均を反映させますか？"));
    QPushButton* no = box.addButton(QStringLiteral("いいえ"), QMessageBox::RejectRole);
    QPushButton* yes = box.addButton(QStringLiteral("はい"), QMessageBox::AcceptRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void QtDialogService::showWarning(QWidget* parent, const QString& message) {
    QMessageBox::warning(parent, QStringLiteral("nuvisca Viewer"), message);
}

std::optional<QString> QtDialogService::askLine(QWidget* parent, const QString& title,
                                                const QString& label, const QString& proposed) {
    bool accepted = false;
    const QString line =
        QInputDialog::getText(parent, title, label, QLineEdit::Normal, proposed, &accepted);
    return accepted ? std::optional(line) : std::nullopt;
}

bool QtDialogService::openPageSetup(QPrinter& printer, QWidget* parent) {
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtDialogService::confirmPrint(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace nuvisca
