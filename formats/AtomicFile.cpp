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

bool writeAndClose(int fd, std::string_view data) {
    std::FILE* file = ::fdopen(fd, "wb");
    if (file == nullptr) {
        ::close(fd);
        return false;
    }
    bool ok = std::fwrite(data.data(), 1, data.size(), file) == data.size();
    ok = ok && std::fflush(file) == 0;
    ok = ok && ::fsync(::fileno(file)) == 0;
    ok = std::fclose(file) == 0 && ok;
    return ok;
}

}  // namespace

bool writeFileAtomically(const std::filesystem::path& target, std::string_view data) {
    if (!target.has_filename()) {
        return false;
    }
    std::filesystem::path temporary;
    const int fd = createTemporaryBeside(target, temporary);
    if (fd < 0) {
        return false;
    }
    std::error_code error;
    if (writeAndClose(fd, data)) {
        std::filesystem::rename(temporary, target, error);
        if (!error) {
            return true;
        }
    }
    std::filesystem::remove(temporary, error);
    return false;
}

}  // namespace nuvisca
