#include "cli/KeptInput.h"

#include <cstdio>

#include "formats/SidecarFolder.h"

namespace nuvisca::cli {

std::string sidecarProblemText(const SidecarRead& read) {
    const auto leftOut = [&](const std::string& why) {
        return std::to_string(read.skippedRows) + (read.skippedRows == 1 ? " row" : " rows") +
               " left out " + why + " (the first on line " + std::to_string(read.firstBadLine) +
               ")";
    };
    switch (read.problem) {
        case SidecarProblem::kNone:
            return {};
        case SidecarProblem::kNotASidecar:
            return "not a marker file (UTF-8 text with the columns onset, duration and "
                   "trial_type); ignored";
        case SidecarProblem::kTooLarge:
            return "larger than " + std::to_string(kSidecarByteLimit >> 20) +
                   " MiB, too large to be a marker file; ignored";
        case SidecarProblem::kBadRows:
            return leftOut("as unreadable or outside the recording");
        case SidecarProblem::kTooManyRows:
            return leftOut("past " + std::to_string(kMarkerLimit) + " markers");
        case SidecarProblem::kUnreadable:
            return "cannot be read (" + read.error.message() + "); ignored";
    }
    return {};
}

KeptAnnotations loadKeptAnnotations(const std::filesystem::path& recordingPath,
                                    const Recording& recording) {
    const SidecarPlace place = sidecarPlace(recordingPath, sidecarDataFolder(), recording);
    SidecarRead read = loadSidecar(place, recordingPath, recording);
    if (const std::string problem = sidecarProblemText(read); !problem.empty()) {
        std::fprintf(stderr, "nuvisca: %s: %s\n", read.source.c_str(), problem.c_str());
    }
    return std::move(read.kept);
}

}  // namespace nuvisca::cli
