#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace nuvisca {

// Where the listed files came from: the open dialog adds to the list, an import replaces it.
enum class ListSource { None, OpenDialog, RemovableMedia };

inline constexpr int kMaxListEntries = 256;

// The controller's file list: four parallel row arrays. Row k of every array belongs to
// the same file.
struct FileList {
    QStringList filepathList;  // absolute paths
    QStringList tableListNumber;
    QStringList tableFilename;
    QStringList tableDate;

    int size() const { return static_cast<int>(filepathList.size()); }
    bool isEmpty() const { return filepathList.isEmpty(); }
    void clear();
    void removeRow(int row);
};

// "%02d" of the 1-based row number.
QString listNumberText(int rowIndex);
// "20YY年MM月DD日 hh:mm:ss" of a date key.
QString dateKeyText(std::int64_t key);

}  // namespace nuvisca
