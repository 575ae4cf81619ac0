#pragma once

#include <filesystem>

namespace nuvisca {

// The folder in the user's application data where the sidecars of recordings whose own folder
// cannot be written are kept; the viewer and the command-line tool share it.
std::filesystem::path sidecarDataFolder();

}  // namespace nuvisca
