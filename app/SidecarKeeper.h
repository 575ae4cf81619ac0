#pragma once

#include <QString>
#include <filesystem>

#include "app/StatusLine.h"
#include "formats/MarkerSidecar.h"
#include "graph/ViewModel.h"

namespace nuvisca {

// Keeps the shown recording's markers and baseline in its sidecar: read when the recording is
// shown, written after each of the user's edits and never otherwise, so a sidecar that could
// not be read stays as it was until the user changes something.
class SidecarKeeper {
public:
    // `dataFolder` keeps the sidecars of recordings whose own folder cannot be written.
    SidecarKeeper(ViewModel& model, std::filesystem::path dataFolder);

    // The recording read from `path` is now shown (none for an empty path): gives the model
    // what was kept with it. Returns what the status line should say; empty when all went well.
    QString recordingShown(const QString& path);
    // Writes what the model keeps now after the user's edit of it (ViewChange flags); returns
    // what the status line should say. A sidecar that could not be read wholly is only
    // overwritten once the user changes a marker.
    QString userEdited(unsigned changes);

    const SidecarPlace& place() const { return place_; }

private:
    ViewModel& model_;
    std::filesystem::path dataFolder_;
    std::filesystem::path recordingPath_;  // empty while nothing is shown
    SidecarPlace place_;
    bool heldBack_ = false;  // what was read was not all of the sidecar
};

}  // namespace nuvisca
