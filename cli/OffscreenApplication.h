#pragma once

#include <QGuiApplication>
#include <array>
#include <filesystem>
#include <optional>

namespace nuvisca::cli {

// The Qt application that drawing text needs, on the offscreen platform unless one is chosen.
// Without XDG_RUNTIME_DIR, Qt warns on stderr at start-up; a private runtime folder, removed at
// the end, keeps the command's stderr for its own messages.
class OffscreenApplication {
public:
    OffscreenApplication();
    ~OffscreenApplication();
    OffscreenApplication(const OffscreenApplication&) = delete;
    OffscreenApplication& operator=(const OffscreenApplication&) = delete;

private:
    std::filesystem::path runtimeDir_;
    int argc_ = 1;
    std::array<char*, 2> argv_{};
    std::optional<QGuiApplication> app_;
};

}  // namespace nuvisca::cli
