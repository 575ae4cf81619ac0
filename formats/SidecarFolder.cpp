#include "formats/SidecarFolder.h"

#include <QStandardPaths>
#include <QString>

namespace nuvisca {

std::filesystem::path sidecarDataFolder() {
    // The viewer's application data folder, named here rather than by the running
    // application, so that the command-line tool finds the same one.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return std::filesystem::path(data.toStdString()) / "nuvisca" / "nuvisca Viewer" / "markers";
}

}  // namespace nuvisca
