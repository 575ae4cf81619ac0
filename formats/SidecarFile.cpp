// Where sidecars live, and reading and writing them as files.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "formats/AtomicFile.h"
#include "formats/MarkerSidecar.h"
#include "formats/WholeFile.h"

namespace nuvisca {
namespace {

constexpr std::string_view kSuffix = ".events.tsv";

std::string deviceIdForFileName(const Recording& recording) {
    std::string id(recording.deviceId.data(),
                   ::strnlen(recording.deviceId.data(), recording.deviceId.size()));
    for (char& c : id) {
        const bool plain =
            (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-';
        c = plain ? c : '_';
    }
    return id.empty() ? "unknown" : id;
}

bool isPresent(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::symlink_status(path, error).type() !=
           std::filesystem::file_type::not_found;
}

SidecarRead readSidecarFile(const std::filesystem::path& path, const Recording& recording) {
    std::string bytes;
    errno = 0;
    const WholeFileRead outcome = readWholeFile(path, bytes, kSidecarByteLimit);
    const int cause = errno;
    SidecarRead read;
    if (outcome == WholeFileRead::kRead) {
        read = decodeSidecar(bytes, recording);
    } else if (outcome == WholeFileRead::kTooLarge) {
        read.problem = SidecarProblem::kTooLarge;
    }
    read.source = path;
    if (outcome != WholeFileRead::kUnreadable) {
        return read;
    }
    read.problem = SidecarProblem::kUnreadable;
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        read.error = std::make_error_code(std::errc::is_a_directory);
    } else if (cause != 0) {
        read.error = std::error_code(cause, std::generic_category());
    } else {
        read.error = std::make_error_code(std::errc::invalid_argument);
    }
    return read;
}

}  // namespace

std::filesystem::path sidecarBeside(const std::filesystem::path& recordingPath) {
    return recordingPath.parent_path() / (recordingPath.stem().string() + std::string(kSuffix));
}

std::filesystem::path sidecarInDataFolder(const std::filesystem::path& dataFolder,
                                          const Recording& recording) {
    char key[16];
    std::snprintf(
        key, sizeof key, "%012lld",
        static_cast<long long>(std::clamp<std::int64_t>(recording.dateKey, 0, 999'999'999'999)));
    return dataFolder / (deviceIdForFileName(recording) + '_' + key + std::string(kSuffix));
}

SidecarPlace sidecarPlace(const std::filesystem::path& recordingPath,
                          const std::filesystem::path& dataFolder, const Recording& recording) {
    std::filesystem::path folder = recordingPath.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    if (::access(folder.c_str(), W_OK | X_OK) == 0) {
        return {sidecarBeside(recordingPath), false};
    }
    return {sidecarInDataFolder(dataFolder, recording), true};
}

SidecarRead loadSidecar(const SidecarPlace& place, const std::filesystem::path& recordingPath,
                        const Recording& recording) {
    if (isPresent(place.path)) {
        return readSidecarFile(place.path, recording);
    }
    if (const auto beside = sidecarBeside(recordingPath); place.inDataFolder && isPresent(beside)) {
        return readSidecarFile(beside, recording);
    }
    return {};
}

std::error_code saveSidecar(const std::filesystem::path& path, const Recording& recording,
                            const KeptAnnotations& kept) {
    std::error_code error;
    if (kept.markers.empty() && !kept.baseline) {
        std::filesystem::remove(path, error);
        return error;
    }
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path(), error);
        if (error) {
            return error;
        }
    }
    if (!writeFileAtomically(path, encodeSidecar(recording, kept), &error) && !error) {
        error = std::make_error_code(std::errc::io_error);
    }
    return error;
}

}  // namespace nuvisca
