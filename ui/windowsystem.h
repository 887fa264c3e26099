#pragma once

// What the desktop's window system knows of a window and Qt does not tell:
// that another program destroyed it or took it off the screen, that it lies
// on a desktop other than the one shown, that another program keeps it
// below the others. On X this is asked of the X server; elsewhere nothing is
// known beyond what Qt tells, and every answer is "no".

#include <QByteArray>

class QWindow;

namespace ui::windowsystem {

enum class Notice
{
    None,
    Destroyed, // the window is gone
    Unmapped,  // the window left the screen: minimised, another desktop, or withdrawn
};

// What a native event says of a window that Qt has not let go of.
Notice noticeOf(const QByteArray &eventType, const void *message, const QWindow &window);
// Off the screen, and neither minimised nor on another desktop: taken off
// by another program, and nothing on the desktop brings it back.
bool withdrawn(const QWindow &window);
// On a desktop other than the one shown.
bool onOtherDesktop(const QWindow &window);
// Asks the window manager to stop keeping the window below the others.
void stopKeepingBelow(const QWindow &window);

} // namespace ui::windowsystem
