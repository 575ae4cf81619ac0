#pragma once

#include <QList>
#include <QString>

namespace nuvisca {

struct MountedVolume {
    QString rootPath;
    bool removable = false;  // false also when the volume could not be queried
};

// The mounted local volumes, in the platform's order.
class VolumeSource {
public:
    virtual ~VolumeSource() = default;
    virtual QList<MountedVolume> mountedVolumes() const = 0;
};

}  // namespace nuvisca
