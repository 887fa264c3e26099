#pragma once

// Before Qt starts: whether there is a screen to show the windows on. Where
// a Wayland session's compositor does not answer but an X display does, Qt
// is told to use X. Where neither answers, the program says so in one line
// that names DISPLAY and WAYLAND_DISPLAY as it found them, instead of Qt's
// abort with advice to reinstall. An explicit QT_QPA_PLATFORM other than
// Wayland (offscreen, xcb, ...) is left to Qt. Only on Linux; elsewhere
// there is always a screen.

namespace app {

// True if the program can go on; false after the line was written to the
// standard error stream.
bool findScreen();

} // namespace app
