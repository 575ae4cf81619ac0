// The marker editor of the desktop: a label box offering the labels, the clock time and the
// duration.
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

#include "app/DialogService.h"

namespace nuvisca {

std::optional<MarkerFields> QtDialogService::editMarker(QWidget* parent, const QString& title,
                                                        const QStringList& labels,
                                                        const MarkerFields& fields) {
    QDialog dialog(parent);
    dialog.setWindowTitle(title);
    auto* label = new QComboBox(&dialog);
    label->setEditable(true);
    label->setInsertPolicy(QComboBox::NoInsert);
    label->addItems(labels);
    label->setMaxVisibleItems(16);
    label->setCurrentText(fields.label);
    auto* clock = new QLineEdit(fields.clock, &dialog);
    clock->setPlaceholderText(QStringLiteral("HH:MM:SS"));
    auto* duration = new QLineEdit(fields.duration, &dialog);
    duration->setPlaceholderText(QStringLiteral("秒 または M:SS（空欄: 時点）"));
    const int fieldWidth = clock->fontMetrics().horizontalAdvance(duration->placeholderText()) +
                           4 * clock->fontMetrics().averageCharWidth();
    for (QWidget* field : std::initializer_list<QWidget*>{label, clock, duration}) {
        field->setMinimumWidth(fieldWidth);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* form = new QFormLayout(&dialog);
    form->addRow(QStringLiteral("ラベル"), label);
    form->addRow(QStringLiteral("時刻"), clock);
    form->addRow(QStringLiteral("持続時間"), duration);
    form->addRow(buttons);
    label->setFocus();
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return MarkerFields{label->currentText(), clock->text(), duration->text()};
}

}  // namespace nuvisca
