#pragma once

#include <sys/mount.h>

#include <filesystem>
#include <string>

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

private:
    std::filesystem::path at_;
    bool mounted_ = false;
};

}  // namespace nuvisca::test
