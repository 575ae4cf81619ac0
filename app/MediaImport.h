#pragma once

#include <QString>
#include <vector>

#include "app/FileList.h"
#include "app/StatusLine.h"

namespace nuvisca {

class VolumeSource;

// The removable-media import: the device recordings in the top folder of every removable
// volume, and their copies in an import folder on the Desktop.
class MediaImport {
public:
    // Makes the import folder in the desktop directory.
    MediaImport(const VolumeSource& volumes, const QString& desktopDirectory, StatusLine status);

    const QString& importFolder() const { return folder_; }

    // The first kMaxListEntries recordings found, sorted by start time; none, after saying
    // why on the status line.
    std::vector<ListedFile> findRecordings() const;
    // Says how many recordings the list took, then copies each into the import folder unless
    // something there bears its name already; a file above the copy bound is named instead.
    void copyListed(const std::vector<ListedFile>& listed) const;

private:
    const VolumeSource& volumes_;
    QString folder_;
    bool folderReady_ = false;
    StatusLine status_;
};

}  // namespace nuvisca
