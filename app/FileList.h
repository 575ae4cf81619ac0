#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace nuvisca {

// Where the listed files came from: the open dialog adds to the list, an import replaces it.
enum class ListSource { None, OpenDialog, RemovableMedia };

inline constexpr int kMaxListEntries = 256;

// One row of the window's file list.
struct ListedFile {
    QString path;  // absolute
    QString name;  // as shown
    // "%02d" of the row the file was listed at; a removal above it does not renumber it.
    QString number{};
    QString date{};  // the start date text of dateKey
    std::int64_t dateKey = 0;
};

inline int rowCount(const std::vector<ListedFile>& rows) {
    return static_cast<int>(rows.size());
}
// The row listing the path, -1 when none does.
int rowOf(const std::vector<ListedFile>& rows, const QString& path);
// Stable, so files with equal start times keep the order in which they were found.
void sortByDateKey(std::vector<ListedFile>::iterator first, std::vector<ListedFile>::iterator last);
// Gives each row the number of its place ("%02d", from 1) and the text of its date key.
void numberRows(std::vector<ListedFile>& rows);

}  // namespace nuvisca
