#pragma once

// What assistive technology (a screen reader over AT-SPI) is told about the
// windows where Qt's own choice is wrong for them: a top-level window is a
// frame, a Panel a group of controls, a checkable RaisedButton (an option
// drawn as a push button) a radio button; a window or a panel lists only the
// controls that are on screen and say something, so that hidden controls and
// decorative pictures (a Picture with no accessible name) are not announced.
// Every button can be pressed through its action only while it is on screen
// and enabled, and says it is neither enabled nor focusable while hidden.

class QWidget;

namespace ui {

// Puts the rules in place for a window about to be built, and drops what
// Qt may have told about the window before they were.
void describeWindow(QWidget *window);

} // namespace ui
