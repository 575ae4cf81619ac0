#pragma once

#include <filesystem>
#include <memory>

#include "store/Recording.h"

namespace nuvisca::cli {

// Opens the file as the viewer opens it; on failure prints "nuvisca: FILE: reason" to stderr
// and returns null.
std::shared_ptr<const Recording> loadRecording(const std::filesystem::path& path);

}  // namespace nuvisca::cli
