#include "app/RecordingFiles.h"

#include <QFile>
#include <QFileInfo>

namespace nuvisca {

std::filesystem::path toFileSystemPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

bool hasCsvExtension(const QString& path) {
    const QString suffix = QFileInfo(path).suffix();
    return suffix == u"csv" || suffix == u"CSV";
}

}  // namespace nuvisca
