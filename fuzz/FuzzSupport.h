#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "store/Recording.h"

namespace nuvisca::fuzz {

// The readers only take paths: each input is written to a file in a folder of this
// process's own, in memory where /dev/shm exists.
class ScratchFolder {
public:
    ScratchFolder() {
        std::error_code error;
        std::filesystem::path base = "/dev/shm";
        if (!std::filesystem::is_directory(base, error)) {
            base = std::filesystem::temp_directory_path();
        }
        path_ = base / ("nuvisca-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path_, error);
    }

    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::filesystem::path file(const char* name) const { return path_ / name; }

    std::filesystem::path write(const char* name, const std::uint8_t* data,
                                std::size_t size) const {
        const std::filesystem::path path = file(name);
        std::FILE* out = std::fopen(path.c_str(), "wb");
        if (out == nullptr || (size > 0 && std::fwrite(data, 1, size, out) != size) ||
            std::fclose(out) != 0) {
            std::fprintf(stderr, "fuzz harness: cannot write %s\n", path.c_str());
            std::abort();
        }
        return path;
    }

private:
    std::filesystem::path path_;
};

inline const ScratchFolder& scratch() {
    static const ScratchFolder folder;
    return folder;
}

// A broken property is a finding: libFuzzer keeps the input as a crash artefact.
inline void require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}

inline std::int64_t dateKeyOf(const Recording& store) {
    return std::int64_t{store.startYear} * 10'000'000'000 +
           std::int64_t{store.startMonth} * 100'000'000 + std::int64_t{store.startDay} * 1'000'000 +
           std::int64_t{store.startHour} * 10'000 + std::int64_t{store.startMinute} * 100 +
           store.startSecond;
}

// Values no reader writes, to tell whether a refused file left the store alone.
inline void markUntouched(Recording& store) {
    store.sampleCount = -7;
    store.startYear = -7;
    store.endSecond = -7;
    store.deviceId.fill('x');
}

inline bool isUntouched(const Recording& store) {
    return store.sampleCount == -7 && store.startYear == -7 && store.endSecond == -7 &&
           store.deviceId[0] == 'x';
}

inline bool holdsDigitsOnly(const Recording& store) {
    for (std::size_t k = 0; k < kDeviceIdLength; ++k) {
        if (store.deviceId[k] < '0' || store.deviceId[k] > '9') {
            return false;
        }
    }
    return store.deviceId[kDeviceIdLength] == '\0';
}

}  // namespace nuvisca::fuzz
