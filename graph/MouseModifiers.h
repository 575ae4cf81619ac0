#pragma once

#include <Qt>

namespace nuvisca {

// Which Qt modifiers mean Shift and Control to the graph. On macOS Qt reports the Control
// key as Meta (and Command as Control).
inline bool shiftHeld(Qt::KeyboardModifiers modifiers) {
    return modifiers.testFlag(Qt::ShiftModifier);
}

inline bool controlHeld(Qt::KeyboardModifiers modifiers) {
#ifdef Q_OS_MACOS
    return modifiers.testFlag(Qt::MetaModifier);
#else
    return modifiers.testFlag(Qt::ControlModifier);
#endif
}

}  // namespace nuvisca
