#include "app/SystemVolumeSource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace nuvisca {

namespace {

bool isLocalDiskFileSystem(const QByteArray& type) {
    static const QByteArrayList kSkipped = {
        "proc",        "sysfs",       "tmpfs",    "devtmpfs", "devpts",    "cgroup",  "cgroup2",
        "overlay",     "squashfs",    "autofs",   "mqueue",   "debugfs",   "tracefs", "securityfs",
        "pstore",      "bpf",         "configfs", "fusectl",  "hugetlbfs", "ramfs",   "nsfs",
        "binfmt_misc", "nfs",         "nfs4",     "cifs",     "smb3",      "smbfs",   "9p",
        "fuse.sshfs",  "fuse.portal", "efivarfs"};
    return !kSkipped.contains(type);
}

bool readsOne(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(4).trimmed() == "1";
}

}  // namespace

SystemVolumeSource::SystemVolumeSource(QString sysfsRoot) : sysfsRoot_(std::move(sysfsRoot)) {}

bool SystemVolumeSource::isRemovableDevice(const QString& devicePath) const {
    if (!devicePath.startsWith(u"/dev/")) {
        return false;
    }
    const QString name = QFileInfo(devicePath).fileName();
    QString node =
        QFileInfo(QStringLiteral("%1/class/block/%2").arg(sysfsRoot_, name)).canonicalFilePath();
    if (node.isEmpty()) {
        return false;
    }
    if (QFileInfo::exists(node + QStringLiteral("/partition"))) {
        node = QFileInfo(node).absolutePath();
    }
    return readsOne(node + QStringLiteral("/removable")) || node.contains(u"/usb") ||
           node.contains(u"/mmc");
}

QList<MountedVolume> SystemVolumeSource::mountedVolumes() const {
    QList<MountedVolume> volumes;
    for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
        if (!storage.isValid() || !storage.isReady() ||
            !isLocalDiskFileSystem(storage.fileSystemType())) {
            continue;
        }
        const QString device = QString::fromLocal8Bit(storage.device());
        volumes.append({storage.rootPath(), isRemovableDevice(device)});
    }
    return volumes;
}

}  // namespace nuvisca
