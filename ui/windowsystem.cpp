// The window systems that tell Qt all the program asks of them.

#include "windowsystem.h"

namespace ui::windowsystem {

Notice noticeOf(const QByteArray &, const void *, const QWindow &)
{
    return Notice::None;
}

bool withdrawn(const QWindow &)
{
    return false;
}

bool onOtherDesktop(const QWindow &)
{
    return false;
}

void stopKeepingBelow(const QWindow &) {}

} // namespace ui::windowsystem
