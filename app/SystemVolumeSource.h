#pragma once

#include <QString>

#include "app/VolumeSource.h"

namespace nuvisca {

// The mounted local volumes of this machine. A volume counts as removable when its block
// device, or the disk it is a partition of, is marked removable or sits on a USB or
// MMC/SD bus; pseudo and network file systems are skipped.
class SystemVolumeSource final : public VolumeSource {
public:
    explicit SystemVolumeSource(QString sysfsRoot = QStringLiteral("/sys"));
    QList<MountedVolume> mountedVolumes() const override;

    // Whether a block device such as "/dev/sdb1" is removable, by the sysfs tree.
    bool isRemovableDevice(const QString& devicePath) const;

private:
    QString sysfsRoot_;
};

}  // namespace nuvisca
