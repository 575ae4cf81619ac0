#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QPrinter;
class QWidget;

namespace nuvisca {

// The marker editor's fields as text.
struct MarkerFields {
    QString label;
    QString clock;     // HH:MM:SS as the time axis counts it
    QString duration;  // seconds or M:SS; blank for a moment
    friend bool operator==(const MarkerFields&, const MarkerFields&) = default;
};

// The modal dialogs the controller needs. The desktop implementation shows Qt's dialogs;
// tests answer without blocking.
class DialogService {
public:
    virtual ~DialogService() = default;

    // Device recordings and CSV exports to add, starting in the folder (empty: the
    // dialog's own choice); empty when the user cancelled.
    virtual QStringList chooseRecordingsToAdd(QWidget* parent, const QString& folder) = 0;
    // Where to write the CSV export, proposing the given path; empty when the user cancelled.
    virtual QString chooseExportPath(QWidget* parent, const QString& proposed) = 0;
    // The same for the EDF+ or BDF+ export.
    virtual QString chooseEdfExportPath(QWidget* parent, const QString& proposed) = 0;
    // The same for the case report (PDF).
    virtual QString chooseReportPath(QWidget* parent, const QString& proposed) = 0;
    // The moving-average question of the export: true for "はい".
    virtual bool askApplyMovingAverage(QWidget* parent) = 0;
    virtual void showWarning(QWidget* parent, const QString& message) = 0;
    // A line of text asked for under the title and label, offered as `proposed`; none when
    // the user cancelled.
    virtual std::optional<QString> askLine(QWidget* parent, const QString& title,
                                           const QString& label, const QString& proposed) = 0;
    // The marker editor under the title, offering the labels and starting from `fields`;
    // none when the user cancelled.
    virtual std::optional<MarkerFields> editMarker(QWidget* parent, const QString& title,
                                                   const QStringList& labels,
                                                   const MarkerFields& fields) = 0;
    // Page setup edits the shared printer settings; either dialog's Cancel ends the print.
    virtual bool openPageSetup(QPrinter& printer, QWidget* parent) = 0;
    virtual bool confirmPrint(QPrinter& printer, QWidget* parent) = 0;
};

// The dialogs of the desktop.
class QtDialogService final : public DialogService {
public:
    QStringList chooseRecordingsToAdd(QWidget* parent, const QString& folder) override;
    QString chooseExportPath(QWidget* parent, const QString& proposed) override;
    QString chooseEdfExportPath(QWidget* parent, const QString& proposed) override;
    QString chooseReportPath(QWidget* parent, const QString& proposed) override;
    bool askApplyMovingAverage(QWidget* parent) override;
    void showWarning(QWidget* parent, const QString& message) override;
    std::optional<QString> askLine(QWidget* parent, const QString& title, const QString& label,
                                   const QString& proposed) override;
    std::optional<MarkerFields> editMarker(QWidget* parent, const QString& title,
                                           const QStringList& labels,
                                           const MarkerFields& fields) override;
    bool openPageSetup(QPrinter& printer, QWidget* parent) override;
    bool confirmPrint(QPrinter& printer, QWidget* parent) override;
};

}  // namespace nuvisca
