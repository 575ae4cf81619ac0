#pragma once

#include <sys/mount.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace nuvisca::test {

// A tmpfs of a few KiB mounted on a folder, to run a disk full for real. Mounting needs
// privileges: when they are missing, mounted() is false and the caller skips.
class SmallTmpfs {
public:
    SmallTmpfs(const std::filesystem::path& at, std::size_t bytes) : at_(at) {
        std::filesystem::create_directories(at_);
        const std::string options = "size=" + std::to_string(bytes);
        mounted_ = ::mount("tmpfs", at_.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }

    ~SmallTmpfs() {
        if (mounted_) {
            ::umount2(at_.c_str(), MNT_DETACH);
        }
    }

    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;

    bool mounted() const { return mounted_; }

    // Writes a filler file until the file system refuses another byte.
    void fill() const {
        std::FILE* out = std::fopen((at_ / "filler").c_str(), "wb");
        if (out == nullptr) {
            return;
        }
        const char block[512] = {};
        while (std::fwrite(block, 1, sizeof block, out) == sizeof block && std::fflush(out) == 0) {
        }
        std::fclose(out);
        // Byte by byte into whatever room the blocks left.
        out = std::fopen((at_ / "filler-tail").c_str(), "wb");
        if (out != nullptr) {
            while (std::fputc('x', out) != EOF && std::fflush(out) == 0) {
            }
            std::fclose(out);
        }
    }

private:
    std::filesystem::path at_;
    bool mounted_ = false;
};

}  // namespace nuvisca::test
