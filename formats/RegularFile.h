#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

namespace nuvisca {

struct FileCloser {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};

using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Opens a regular file (or a link to one) with fopen. Anything else yields null without
// being opened: opening a FIFO for reading blocks until a writer appears, and folders and
// devices are never recordings.
inline FileHandle openRegularFile(const std::filesystem::path& path, const char* mode) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::status(path, error)) || error) {
        return nullptr;
    }
    return FileHandle(std::fopen(path.c_str(), mode));
}

}  // namespace nuvisca
