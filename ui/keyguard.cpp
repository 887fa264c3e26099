// The key guard's event filter: keys right after the results.

#include "keyguard.h"

#include "pressguard.h"

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
    // A held key's repeats press nothing anywhere in the program.
    PressGuard::install();
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
    // While the results have just come up no key presses anything, so that
    // the child sees them before a key can put them away. (A held key's
    // repeats press nothing at any time: see PressGuard.)
    if (event->type() == QEvent::Shortcut) {
        return holdOff_->isActive();
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
        return false;
    }
    return holdOff_->isActive() && watched != parent() &&
           pressesButtons(static_cast<const QKeyEvent *>(event)->key());
}

} // namespace ui
