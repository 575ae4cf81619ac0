#pragma once

#include <filesystem>
#include <string>

#include "formats/MarkerSidecar.h"
#include "store/Recording.h"

namespace nuvisca::cli {

// The markers and baseline kept with the recording read from recordingPath, found where the
// viewer keeps them (sidecarPlace with sidecarDataFolder) and read as the viewer reads them.
// No sidecar: nothing kept, nothing said. A sidecar that cannot be read, or only in part, is
// named on stderr in one line ("nuvisca: SIDECAR: what was wrong") and what was sound is
// returned, so that the command goes on.
KeptAnnotations loadKeptAnnotations(const std::filesystem::path& recordingPath,
                                    const Recording& recording);

// What was wrong with a sidecar as read, as a clause ("2 rows left out as unreadable or outside
// the recording (the first on line 7)");
// empty when nothing was.
std::string sidecarProblemText(const SidecarRead& read);

}  // namespace nuvisca::cli
