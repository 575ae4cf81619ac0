#pragma once

#include <QString>
#include <functional>

namespace nuvisca {

// Where an action tells how it went: the window's status line, once there is a window.
using StatusLine = std::function<void(const QString&)>;

}  // namespace nuvisca
