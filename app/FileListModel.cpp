#include "app/FileListModel.h"

#include <QDir>
#include <array>

namespace nuvisca {

namespace {

const std::array<QString, 3>& identifiers() {
    static const std::array<QString, 3> ids{QStringLiteral("TABLE_LIST_NUMBER"),
                                            QStringLiteral("TABLE_FNAME"),
                                            QStringLiteral("TABLE_FDATE")};
    return ids;
}

QString cellOf(const std::vector<ListedFile>& rows, int row, QString ListedFile::*field) {
    return row >= 0 && row < rowCount(rows) ? rows[static_cast<std::size_t>(row)].*field
                                            : QString();
}

}  // namespace

FileListModel::FileListModel(const std::vector<ListedFile>& list, QObject* parent)
    : QAbstractTableModel(parent), list_(list) {}

QString FileListModel::columnIdentifier(int column) {
    const auto& ids = identifiers();
    return column >= 0 && column < static_cast<int>(ids.size())
               ? ids[static_cast<std::size_t>(column)]
               : QString();
}

QString FileListModel::cellText(const QString& identifier, int row) const {
    if (identifier == identifiers()[0]) {
        return cellOf(list_, row, &ListedFile::number);
    }
    if (identifier == identifiers()[1]) {
        return cellOf(list_, row, &ListedFile::name);
    }
    if (identifier == identifiers()[2]) {
        return cellOf(list_, row, &ListedFile::date);
    }
    return {};
}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : nuvisca::rowCount(list_);
}

int FileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(identifiers().size());
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    // Rows of equal names from different folders tell apart by their full path.
    if (role == Qt::ToolTipRole) {
        return QDir::toNativeSeparators(cellOf(list_, index.row(), &ListedFile::path));
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    return cellText(columnIdentifier(index.column()), index.row());
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) {
        return {};
    }
    switch (section) {
        case 0:
            return QStringLiteral("番号");
        case 1:
            return QStringLiteral("ファイル名");
        case 2:
            return QStringLiteral("測定開始日時");
        default:
            return {};
    }
}

void FileListModel::reloadData() {
    beginResetModel();
    endResetModel();
}

}  // namespace nuvisca
