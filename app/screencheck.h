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

// After Qt has started: whether the windows can be shown whole and readable
// on the primary screen at the scale the settings ask for. A scale that is
// not a number, infinite, zero or negative, one that would make the texts
// too small to read, or one that leaves even the smallest window larger than
// the screen makes the program say so in one line, as for a missing
// screen; false then.
bool screenHoldsTheWindows();

} // namespace app
