#pragma once

#include <QAbstractTableModel>

#include "app/FileList.h"

namespace nuvisca {

// Serves the controller's file list to the table; columns are found by identifier.
class FileListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit FileListModel(const std::vector<ListedFile>& list, QObject* parent = nullptr);

    static constexpr int kNameColumn = 1;
    static QString columnIdentifier(int column);
    // The cell text of a column identifier, empty for an unknown identifier or row.
    QString cellText(const QString& identifier, int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void reloadData();

private:
    const std::vector<ListedFile>& list_;
};

}  // namespace nuvisca
