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

// Option on macOS, which Qt reports as Alt too.
inline bool altHeld(Qt::KeyboardModifiers modifiers) {
    return modifiers.testFlag(Qt::AltModifier);
}

#ifdef Q_OS_MACOS
// Qt's Cocoa backend turns a Control-click into a right-button press, drag and release (no
// application attribute turns that off), so the graph takes that button as its own.
inline constexpr bool kControlClickIsRightButton = true;
#else
inline constexpr bool kControlClickIsRightButton = false;
#endif

// The buttons the graph answers: the left one, and the right one that a Control-click
// became. The release may come after the key has been let go.
inline bool pressesGraph(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                         bool controlClickIsRight = kControlClickIsRightButton) {
    return button == Qt::LeftButton ||
           (controlClickIsRight && button == Qt::RightButton && controlHeld(modifiers));
}

inline bool dragsGraph(Qt::MouseButtons buttons,
                       bool controlClickIsRight = kControlClickIsRightButton) {
    return buttons.testFlag(Qt::LeftButton) ||
           (controlClickIsRight && buttons.testFlag(Qt::RightButton));
}

inline bool releasesGraph(Qt::MouseButton button,
                          bool controlClickIsRight = kControlClickIsRightButton) {
    return button == Qt::LeftButton || (controlClickIsRight && button == Qt::RightButton);
}

}  // namespace nuvisca
