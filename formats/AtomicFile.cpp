#include "formats/AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>
#include <system_error>

namespace nuvisca {
namespace {

// Creates a fresh file with a name no one else holds, with the usual permissions (umask).
int createTemporaryBeside(const std::filesystem::path& target, std::filesystem::path& created) {
    static std::mt19937_64 generator{std::random_device{}()};
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    for (int attempt = 0; attempt < 64; ++attempt) {
        // A fixed short stem: a long target name must not push this one past the name limit.
        const std::string name =
            ".nuvisca-" + std::to_string(generator() % 1'000'000'000ull) + ".tmp";
        created = folder / name;
        const int fd = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

std::error_code lastSystemError() {
    return {errno, std::generic_category()};
}

// The first failing step's reason, or none.
std::error_code writeAndClose(int fd, std::string_view data) {
    std::FILE* file = ::fdopen(fd, "wb");
    if (file == nullptr) {
        const std::error_code error = lastSystemError();
        ::close(fd);
        return error;
    }
    std::error_code error;
    if (std::fwrite(data.data(), 1, data.size(), file) != data.size() || std::fflush(file) != 0 ||
        ::fsync(::fileno(file)) != 0) {
        error = lastSystemError();
    }
    if (std::fclose(file) != 0 && !error) {
        error = lastSystemError();
    }
    return error;
}

}  // namespace

bool writeFileAtomically(const std::filesystem::path& target, std::string_view data,
                         std::error_code* why) {
    std::error_code error;
    if (!target.has_filename()) {
        error = std::make_error_code(std::errc::is_a_directory);
    } else {
        std::filesystem::path temporary;
        const int fd = createTemporaryBeside(target, temporary);
        if (fd < 0) {
            error = lastSystemError();
        } else {
            error = writeAndClose(fd, data);
            if (!error) {
                std::filesystem::rename(temporary, target, error);
            }
            if (error) {
                std::error_code ignored;
                std::filesystem::remove(temporary, ignored);
            }
        }
    }
    if (why != nullptr) {
        *why = error;
    }
    return !error;
}

}  // namespace nuvisca
