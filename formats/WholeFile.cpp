#include "formats/WholeFile.h"

#include <cstdio>
#include <system_error>

#include "formats/RegularFile.h"

namespace nuvisca {

bool readWholeFile(const std::filesystem::path& path, std::string& bytes) {
    const FileHandle file = openRegularFile(path, "rb");
    if (!file) {
        return false;
    }
    std::error_code error;
    const std::uintmax_t expected = std::filesystem::file_size(path, error);
    // One read covers the file as sized; the loop serves a file that grew meanwhile.
    std::size_t chunk = error ? std::size_t{65536} : static_cast<std::size_t>(expected) + 1;
    bytes.clear();
    for (;;) {
        const std::size_t used = bytes.size();
        bytes.resize(used + chunk);
        const std::size_t got = std::fread(bytes.data() + used, 1, chunk, file.get());
        bytes.resize(used + got);
        if (got < chunk) {
            return std::ferror(file.get()) == 0;
        }
        chunk = bytes.size();
    }
}

}  // namespace nuvisca
