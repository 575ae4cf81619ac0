#include "app/FileList.h"

#include <algorithm>

#include "store/RecordingDate.h"

namespace nuvisca {

namespace {

// "20YY年MM月DD日 hh:mm:ss" of a date key.
QString dateKeyText(std::int64_t key) {
    return QString::fromStdString(formatDate(dateFromKey(key), DateStyle::FileList));
}

}  // namespace

int rowOf(const std::vector<ListedFile>& rows, const QString& path) {
    const auto found = std::find_if(rows.begin(), rows.end(),
                                    [&](const ListedFile& file) { return file.path == path; });
    return found == rows.end() ? -1 : static_cast<int>(found - rows.begin());
}

void sortByDateKey(std::vector<ListedFile>::iterator first,
                   std::vector<ListedFile>::iterator last) {
    std::stable_sort(first, last, [](const ListedFile& a, const ListedFile& b) {
        return a.dateKey < b.dateKey;
    });
}

void numberRows(std::vector<ListedFile>& rows) {
    for (std::size_t k = 0; k < rows.size(); ++k) {
        rows[k].number = QString::asprintf("%02d", static_cast<int>(k) + 1);
        rows[k].date = dateKeyText(rows[k].dateKey);
    }
}

}  // namespace nuvisca
