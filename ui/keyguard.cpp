// The key guard's event filter: held keys and keys right after the results.

#include "keyguard.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QShortcut>
#include <QTimer>
#include <QWidget>

namespace ui {

KeyGuard::KeyGuard(QWidget *window, int holdOffMs) : QObject(window), holdOff_(new QTimer(this))
{
    holdOff_->setSingleShot(true);
    holdOff_->setInterval(holdOffMs);
    // The window is watched while it holds the focus itself, so that a key's
    // release is known wherever the focus is.
    window->installEventFilter(this);
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        button->installEventFilter(this);
    }
    for (QShortcut *shortcut : window->findChildren<QShortcut *>()) {
        shortcut->setAutoRepeat(false);
        shortcut->installEventFilter(this);
    }
}

void KeyGuard::holdOff()
{
    holdOff_->start();
}

void KeyGuard::release()
{
    holdOff_->stop();
}

bool KeyGuard::holdingOff() const
{
    return holdOff_->isActive();
}

bool KeyGuard::eventFilter(QObject *watched, QEvent *event)
{
    // Only a fresh press of a key presses a button: a held key repeats
    // its press, and a child who holds Enter means one press. While the
    // results have just come up no key presses anything, so that the child
    // sees them before a key can put them away.
    if (event->type() == QEvent::Shortcut) {
        return holdOff_->isActive();
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
        return false;
    }
    const auto *key = static_cast<const QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
    case Qt::Key_Select:
        break;
    default:
        return false;
    }
    // An X server repeats a held key as a release and a press at the same
    // moment, which Qt flags as a repeat only when it sees both at once; so
    // a press at the very time of the key's last release is a repeat too.
    // (Events made by a program carry no time and count by their flag.)
    bool repeated = key->isAutoRepeat();
    if (event->type() == QEvent::KeyRelease) {
        keyReleasedAt_[key->key()] = key->timestamp();
    } else if (key->timestamp() != 0 && key->timestamp() == keyReleasedAt_.value(key->key())) {
        repeated = true;
    }
    return (repeated || holdOff_->isActive()) && watched != parent();
}

} // namespace ui
