#pragma once

// Keeps a window whole on the available area of its screen, centred, and
// scaled down where it does not fit; or, in full screen, its content as
// large as the screen holds it, centred. The rule is applied again at every
// change: when the window is shown, when a screen is added or removed, when
// its screen changes its size, free area or scale, when the window enters or
// leaves full screen and when it moves to another screen.
//
// Full screen is toggled (by F11 in a practice window). The state the last
// toggle asked for is the one kept: the window system reports state changes
// late, and a report that differs from the requested state is answered with
// the request again, so a burst of presses ends where its last press asked.

#include <QAbstractNativeEventFilter>
#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <functional>
#include <vector>

class QScreen;
class QTimer;
class QWidget;

namespace ui {

// The smallest scale a window is laid out at, however small its screen.
inline constexpr qreal kSmallestScale = 0.1;

// Where a window goes: the scale its content is laid out at and its client
// area's rectangle on the screen.
struct Placement
{
    qreal scale = 1.0;
    QRect client;
    friend bool operator==(const Placement &, const Placement &) = default;
};

// A window of a designed client size, with a frame of margins around it, on
// a screen: the designed size where the available area holds the framed
// window, else scaled down to fit it; centred on the screen, or in the
// available area where panels would cover part of it there. sizeAt gives the
// client size at a scale. Lengths are logical pixels; the fit holds in the
// device pixels that a device pixel ratio turns them into, where the window
// system counts the free area and the frame as device gives them.
struct DeviceRoom
{
    QRect free; // the available area, from the screen's corner
    QMargins frame;
};
Placement fitOnScreen(const std::function<QSize(qreal)> &sizeAt, QMargins frame, QRect screen,
                      QRect available, const DeviceRoom &device, qreal ratio = 1.0);
// Full screen: the content as large as a window of a size holds it, and the
// origin that centres it there.
struct Filling
{
    qreal scale = 1.0;
    QPoint origin;
};
Filling fillWindow(const std::function<QSize(qreal)> &sizeAt, QSize window, qreal ratio = 1.0);

class WindowPlacement : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT
public:
    enum class Sizing
    {
        Fixed,    // the window has exactly the size of its content
        Resizable // the user may resize the window; placing sets its size
    };
    // layOut lays the window's controls out at a scale, shifted by an
    // origin; sizeAt gives the client size the content takes at a scale.
    WindowPlacement(QWidget *window, std::function<QSize(qreal)> sizeAt,
                    std::function<void(qreal, QPoint)> layOut, Sizing sizing);

    // Places the window now, by the state it was last asked to be in.
    void place();
    // Shows the window in front, active, as it was, with one call: a
    // minimised window is restored to the state it had, full screen
    // included; one that is shown but not on the screen (on another desktop,
    // destroyed or taken off by another program, also after it was
    // minimised) gets a new platform window, which the window system maps on
    // the current desktop. A window kept below the others comes up, and one
    // moved or resized by another program is placed again. The widget and
    // all it shows stay.
    void present();
    // Full screen, or back to the placed window.
    void toggleFullScreen();
    // The scale the content is laid out at now.
    qreal scale() const { return scale_; }
    // Another program destroyed the window or took it off the screen, and
    // nothing on the desktop brings it back; present() does.
    bool lost() const { return lost_; }

signals:
    // The window was lost (on X, as `xdotool windowclose` or `windowunmap`
    // do). Qt goes on taking the widget for shown.
    void lostFromOutside();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    QScreen *screen() const;
    QRect geometry() const;
    QMargins frameMargins() const;
    void layOut(qreal scale, QPoint origin);
    void requestState();
    void settle();
    void schedule();
    // Something changed that the window is placed for: placed again soon,
    // with corrections counted from naught.
    void placeAgain();
    void followScreen(QScreen *screen);
    // The window is shown for the first time: its platform window exists.
    void shownFirst();
    // The window lies no longer whole on its screen's free area, or has lost
    // its fixed size.
    bool strayed() const;
    void loseFromOutside();

    QWidget *window_;
    std::function<QSize(qreal)> sizeAt_;
    std::function<void(qreal, QPoint)> layOut_;
    Sizing sizing_;
    qreal scale_ = 1.0;
    QPoint origin_;
    qreal ratio_ = 0; // the device pixel ratio the content was laid out for
    bool wantFullScreen_ = false;
    bool shown_ = false;
    bool exposed_ = false;
    bool mapped_ = false; // the platform window has been on the screen
    bool lost_ = false;   // see lost()
    int corrections_ = 0; // placements a move by someone else has caused
    QTimer *settleTimer_;
    QTimer *withdrawnTimer_; // runs from the window leaving the screen to the question
    std::vector<QMetaObject::Connection> screenConnections_;
};

} // namespace ui
