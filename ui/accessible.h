#pragma once

// What assistive technology (a screen reader over AT-SPI) is told about the
// windows where Qt's own choice is wrong for them: a window is a frame, the
// options that are drawn as push buttons are radio buttons, and a window or a
// panel lists only the controls that are on screen and say something, so
// that hidden controls and decorative pictures are not announced. Every
// button can be pressed through its action only while it is on screen and
// enabled, and says it is neither enabled nor focusable while hidden.

class QWidget;

namespace ui {

enum class AccessibleKind
{
    Standard,    // as Qt describes the widget
    Frame,       // a top-level window, named by its accessible name or title
    Group,       // a panel of controls, named by its accessible name
    RadioButton, // a checkable button, one of a group of which one is chosen
    Decoration,  // a picture that says nothing; left out of its parent's list
};

void setAccessibleKind(QWidget *widget, AccessibleKind kind);

} // namespace ui
