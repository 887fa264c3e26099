// The program's press guard: a second click in another window and held keys.

#include "pressguard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleHints>
#include <QWindow>

namespace ui {

bool pressesButtons(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space ||
           key == Qt::Key_Select;
}

PressGuard::PressGuard(QObject *application) : QObject(application) {}

void PressGuard::install()
{
    if (!qApp->findChild<PressGuard *>(QString(), Qt::FindDirectChildrenOnly)) {
        qApp->installEventFilter(new PressGuard(qApp));
    }
}

bool PressGuard::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
        // Seen as the window system hands it to a window, before Qt gives
        // the focus to the widget under the pointer and delivers it there.
        if (auto *window = qobject_cast<QWindow *>(watched)) {
            return dropMouse(window, event->type(), *static_cast<const QMouseEvent *>(event));
        }
        return false;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return dropKey(watched, event->type(), *static_cast<const QKeyEvent *>(event));
    default:
        return false;
    }
}

bool PressGuard::dropMouse(QWindow *window, QEvent::Type type, const QMouseEvent &event)
{
    if (event.button() != Qt::LeftButton) {
        return false;
    }
    const QPoint at = event.globalPosition().toPoint();
    if (type == QEvent::MouseButtonRelease) {
        if (dropRelease_) {
            dropRelease_ = false;
            return true;
        }
        clickWindow_ = window;
        clickEndedAt_ = event.timestamp();
        clickEndedAtPoint_ = at;
        return false;
    }
    // A press in another window than the last click's, within the time and
    // the distance of a double click, is that double click's second press.
    const QStyleHints *hints = QGuiApplication::styleHints();
    dropRelease_ =
        clickEndedAt_ != 0 && window != clickWindow_ && event.timestamp() >= clickEndedAt_ &&
        event.timestamp() - clickEndedAt_ <= quint64(hints->mouseDoubleClickInterval()) &&
        (at - clickEndedAtPoint_).manhattanLength() <= hints->mouseDoubleClickDistance();
    return dropRelease_;
}

bool PressGuard::dropKey(QObject *target, QEvent::Type type, const QKeyEvent &event)
{
    if (!pressesButtons(event.key())) {
        return false;
    }
    // An X server repeats a held key as a release and a press at the same
    // moment, which Qt flags as a repeat only when it sees both at once; so
    // a press at the very time of the key's last release is a repeat too.
    // (Events made by a program carry no time and count by their flag.)
    if (type == QEvent::KeyRelease) {
        keyReleasedAt_[event.key()] = event.timestamp();
        return false;
    }
    const bool repeated =
        event.isAutoRepeat() ||
        (event.timestamp() != 0 && event.timestamp() == keyReleasedAt_.value(event.key()));
    return repeated && qobject_cast<QAbstractButton *>(target) != nullptr;
}

} // namespace ui
