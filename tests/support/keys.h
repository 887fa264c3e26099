#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace testing {

// Keys as a keyboard sends them to the focused widget, each at its time: a
// fresh press, the pairs of release and press at one moment that repeat a
// held key (Qt flags some of them as auto-repeat, others not), and the
// final release.
inline quint64 keyClock = 1000;
inline void sendKey(QEvent::Type type, Qt::Key key, bool autoRepeat)
{
    QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
    event.setTimestamp(keyClock);
    QApplication::sendEvent(QApplication::focusWidget(), &event);
}
inline void keyDown(Qt::Key key)
{
    keyClock += 150;
    sendKey(QEvent::KeyPress, key, false);
}
inline void keyRepeat(Qt::Key key, bool flagged)
{
    keyClock += 40;
    sendKey(QEvent::KeyRelease, key, flagged);
    sendKey(QEvent::KeyPress, key, flagged);
}
inline void keyUp(Qt::Key key)
{
    keyClock += 40;
    sendKey(QEvent::KeyRelease, key, false);
}
inline void keyTap(Qt::Key key)
{
    keyDown(key);
    keyUp(key);
}

} // namespace testing
