#include "cli/OffscreenApplication.h"

#include <cstdlib>
#include <string>
#include <system_error>

namespace nuvisca::cli {

OffscreenApplication::OffscreenApplication() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        std::error_code error;
        std::string folder =
            (std::filesystem::temp_directory_path(error) / "nuvisca-runtime-XXXXXX").string();
        if (!error && ::mkdtemp(folder.data()) != nullptr) {
            runtimeDir_ = folder;
            ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
        }
    }
    static char name[] = "nuvisca";
    argv_ = {name, nullptr};
    app_.emplace(argc_, argv_.data());
}

OffscreenApplication::~OffscreenApplication() {
    app_.reset();
    if (!runtimeDir_.empty()) {
        ::unsetenv("XDG_RUNTIME_DIR");
        std::error_code ignored;
        std::filesystem::remove_all(runtimeDir_, ignored);
    }
}

}  // namespace nuvisca::cli
