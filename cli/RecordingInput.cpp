#include "cli/RecordingInput.h"

#include <cstdio>

#include "formats/RecordingFile.h"

namespace nuvisca::cli {

std::shared_ptr<const Recording> loadRecording(const std::filesystem::path& path) {
    OpenedRecording opened = openRecording(path);
    if (!opened.recording) {
        std::fprintf(stderr, "nuvisca: %s: %s\n", path.c_str(), opened.reason.c_str());
    }
    return std::move(opened.recording);
}

}  // namespace nuvisca::cli
