#include "formats/WholeFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

#include "formats/RegularFile.h"

namespace nuvisca {

WholeFileRead readWholeFile(const std::filesystem::path& path, std::string& bytes,
                            std::size_t limit) {
    const FileHandle file = openRegularFile(path, "rb");
    struct stat info {};
    if (!file || ::fstat(::fileno(file.get()), &info) != 0) {
        return WholeFileRead::kUnreadable;
    }
    if (static_cast<std::uintmax_t>(info.st_size) > limit) {
        return WholeFileRead::kTooLarge;
    }
    // One read covers the file as sized; the loop serves a file that grew meanwhile, which
    // is followed up to one byte past the limit.
    const std::size_t held = limit + 1;
    std::size_t chunk = static_cast<std::size_t>(info.st_size) + 1;
    bytes.clear();
    for (;;) {
        const std::size_t used = bytes.size();
        chunk = std::min(chunk, held - used);
        bytes.resize(used + chunk);
        const std::size_t got = std::fread(bytes.data() + used, 1, chunk, file.get());
        bytes.resize(used + got);
        if (bytes.size() > limit) {
            return WholeFileRead::kTooLarge;
        }
        if (got < chunk) {
            return std::ferror(file.get()) == 0 ? WholeFileRead::kRead : WholeFileRead::kUnreadable;
        }
        chunk = bytes.size();
    }
}

}  // namespace nuvisca
