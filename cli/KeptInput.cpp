#include "cli/KeptInput.h"

#include <cstdio>
#include <string_view>

#include "formats/SidecarFolder.h"

namespace nuvisca::cli {

std::string sidecarProblemText(const SidecarRead& read) {
    const auto leftOut = [&](std::string_view why) {
        return std::to_string(read.skippedRows)
            .append(read.skippedRows == 1 ? " row" : " rows")
            .append(" left out ")
            .append(why)
            .append(" (the first on line ")
            .append(std::to_string(read.firstBadLine))
            .append(")");
    };
    switch (read.problem) {
        case SidecarProblem::kNone:
            return {};
        case SidecarProblem::kNotASidecar:
            return "not a marker file (UTF-8 text with the columns onset, duration and "
                   "trial_type); ignored";
        case SidecarProblem::kTooLarge:
            return std::string("larger than ")
                .append(std::to_string(kSidecarByteLimit >> 20))
                .append(" MiB, too large to be a marker file; ignored");
        case SidecarProblem::kBadRows:
            return leftOut("as unreadable or outside the recording");
        case SidecarProblem::kTooManyRows:
            return leftOut(
                std::string("past ").append(std::to_string(kMarkerLimit)).append(" markers"));
        case SidecarProblem::kUnreadable:
            return std::string("cannot be read (")
                .append(read.error.message())
                .append("); ignored");
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
