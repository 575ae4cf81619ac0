#include "app/FileList.h"

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
    return QString::asprintf("20%02lld年%02lld月%02lld日 %02lld:%02lld:%02lld",
                             static_cast<long long>(key / 10000000000LL),
                             static_cast<long long>((key % 10000000000LL) / 100000000LL),
                             static_cast<long long>((key % 100000000LL) / 1000000LL),
                             static_cast<long long>((key % 1000000LL) / 10000LL),
                             static_cast<long long>((key % 10000LL) / 100LL),
                             static_cast<long long>(key % 100LL));
}

}  // namespace nuvisca
