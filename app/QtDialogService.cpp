#include <QFileDialog>
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

QString QtDialogService::chooseExportPath(QWidget* parent, const QString& proposed) {
    QFileDialog dialog(parent, QStringLiteral("CSV書き出し"), proposed);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("CSV (*.csv)"));
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
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

bool QtDialogService::openPageSetup(QPrinter& printer, QWidget* parent) {
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtDialogService::confirmPrint(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace nuvisca
