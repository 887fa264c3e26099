#pragma once

// A press belongs to the window it began in. A child's double click whose
// first click closed a window, or opened one, would land its second click in
// the window that is now under the pointer: that click does nothing. A held
// key presses once: its repeats press nothing, neither in the window where
// the key went down nor in one that came up under it. One guard watches
// every window of the program.

#include <QEvent>
#include <QHash>
#include <QObject>
#include <QPoint>
#include <QPointer>

class QKeyEvent;
class QMouseEvent;
class QWindow;

namespace ui {

class PressGuard : public QObject
{
    Q_OBJECT
public:
    // Puts the program's guard in place, once.
    static void install();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit PressGuard(QObject *application);
    bool dropMouse(QWindow *window, QEvent::Type type, const QMouseEvent &event);
    bool dropKey(QObject *target, QEvent::Type type, const QKeyEvent &event);

    // Where the last click ended: its window, time and place on the screen.
    QPointer<QWindow> clickWindow_;
    quint64 clickEndedAt_ = 0;
    QPoint clickEndedAtPoint_;
    bool dropRelease_ = false;          // the press of this button was dropped
    QHash<int, quint64> keyReleasedAt_; // by key, the time of its last release
};

// The keys that press a focused button.
bool pressesButtons(int key);

} // namespace ui
