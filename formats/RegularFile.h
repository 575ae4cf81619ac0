#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

namespace nuvisca {

struct FileCloser {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};

using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Opens a regular file (or a link to one) for reading with fopen's mode. Anything else
// yields null without being opened: opening a FIFO for reading blocks until a writer
// appears, and folders and devices are never recordings. The opened file is checked again,
// opened without blocking, since a file can be swapped for a pipe after the first check.
inline FileHandle openRegularFile(const std::filesystem::path& path, const char* mode) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::status(path, error)) || error) {
        return nullptr;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    struct stat info {};
    const int flags = ::fcntl(fd, F_GETFL);
    std::FILE* file = nullptr;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && flags >= 0 &&
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0) {
        file = ::fdopen(fd, mode);
    }
    if (file == nullptr) {
        ::close(fd);
    }
    return FileHandle(file);
}

}  // namespace nuvisca
