#include "app/FileList.h"

#include "store/RecordingDate.h"

namespace nuvisca {

void FileList::clear() {
    filepathList.clear();
    tableListNumber.clear();
    tableFilename.clear();
    tableDate.clear();
}

void FileList::removeRow(int row) {
    filepathList.removeAt(row);
    tableListNumber.removeAt(row);
    tableFilename.removeAt(row);
    tableDate.removeAt(row);
}

QString listNumberText(int rowIndex) {
    return QString::asprintf("%02d", rowIndex + 1);
}

QString dateKeyText(std::int64_t key) {
    return QString::fromStdString(formatDate(dateFromKey(key), DateStyle::FileList));
}

}  // namespace nuvisca
