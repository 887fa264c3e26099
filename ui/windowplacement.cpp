// Places a window whole on its screen and keeps it there as the screen and the
// desktop change, fills the screen in full screen, and brings a window back.

#include "windowplacement.h"

#include "pixels.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QStyleHints>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>

#if __has_include(<xcb/xcb.h>)
#include <xcb/xcb.h>
#define POKOMOJI_XCB 1
#endif

namespace ui {

namespace {

// How often in a row a window that someone else moved off its available
// area is put back, before the placement gives way to them.
constexpr int kMaxCorrections = 3;
// The smallest scale a window is laid out at, however small its screen.
constexpr qreal kSmallestScale = 0.1;

bool fullScreen(const QWidget *window)
{
    return window->windowState().testFlag(Qt::WindowFullScreen);
}

// The scale at which a designed size fits a room of logical pixels.
qreal scaleWithin(QSize designed, QSize room)
{
    return std::min(qreal(room.width()) / designed.width(),
                    qreal(room.height()) / designed.height());
}

} // namespace

Placement fitOnScreen(const std::function<QSize(qreal)> &sizeAt, QMargins frame, QRect screen,
                      QRect available, qreal ratio)
{
    // Everything is measured from the screen's corner, in device pixels: the
    // free area as small as it can be, the frame as wide as it can be.
    const QRect free = available.translated(-screen.topLeft());
    const int left = deviceAtMost(free.left(), ratio);
    const int top = deviceAtMost(free.top(), ratio);
    const int right = deviceAtLeast(free.left(), ratio) + deviceAtLeast(free.width(), ratio);
    const int bottom = deviceAtLeast(free.top(), ratio) + deviceAtLeast(free.height(), ratio);
    const QMargins frameDevice(deviceAtMost(frame.left(), ratio), deviceAtMost(frame.top(), ratio),
                               deviceAtMost(frame.right(), ratio),
                               deviceAtMost(frame.bottom(), ratio));
    const QSize room(logicalWithin(right - left - frameDevice.left() - frameDevice.right(), ratio),
                     logicalWithin(bottom - top - frameDevice.top() - frameDevice.bottom(), ratio));
    const qreal scale = std::clamp(scaleWithin(sizeAt(1.0), room), kSmallestScale, 1.0);
    const QSize client = sizeAt(scale);

    QRect framed(QPoint(), client.grownBy(frame));
    framed.moveCenter(screen.center());
    if (!available.contains(framed)) {
        framed.moveCenter(available.center());
    }
    // Centring in logical pixels can leave the rounded window a device pixel
    // over an edge of the free area: it moves back in by a logical pixel.
    QPoint corner = framed.topLeft() - screen.topLeft() + QPoint(frame.left(), frame.top());
    const QSize clientDevice(qRound(client.width() * ratio), qRound(client.height() * ratio));
    const auto inside = [ratio](int &at, int before, int length, int after, int low, int high) {
        if (qRound(at * ratio) - before < low) {
            ++at;
        } else if (qRound(at * ratio) + length + after > high) {
            --at;
        }
    };
    inside(corner.rx(), frameDevice.left(), clientDevice.width(), frameDevice.right(), left, right);
    inside(corner.ry(), frameDevice.top(), clientDevice.height(), frameDevice.bottom(), top,
           bottom);
    return {scale, QRect(corner + screen.topLeft(), client)};
}

Filling fillWindow(const std::function<QSize(qreal)> &sizeAt, QSize window, qreal ratio)
{
    const QSize room(logicalWithin(deviceAtLeast(window.width(), ratio), ratio),
                     logicalWithin(deviceAtLeast(window.height(), ratio), ratio));
    const qreal scale = std::max(kSmallestScale, scaleWithin(sizeAt(1.0), room));
    const QSize content = sizeAt(scale);
    return {scale, QPoint((window.width() - content.width()) / 2,
                          (window.height() - content.height()) / 2)};
}

WindowPlacement::WindowPlacement(QWidget *window, std::function<QSize(qreal)> sizeAt,
                                 std::function<void(qreal, QPoint)> layOut, Sizing sizing)
    : QObject(window), window_(window), sizeAt_(std::move(sizeAt)), layOut_(std::move(layOut)),
      sizing_(sizing), settleTimer_(new QTimer(this))
{
    // Changes arrive in bunches (a new screen size, then its free area; a
    // state report, then a move): the placement runs once they are in.
    settleTimer_->setSingleShot(true);
    settleTimer_->setInterval(0);
    connect(settleTimer_, &QTimer::timeout, this, &WindowPlacement::settle);
    connect(qApp, &QGuiApplication::screenAdded, this, &WindowPlacement::placeAgain);
    connect(qApp, &QGuiApplication::screenRemoved, this, &WindowPlacement::placeAgain);
    connect(qApp, &QGuiApplication::primaryScreenChanged, this, &WindowPlacement::placeAgain);
    window_->installEventFilter(this);
    QCoreApplication::instance()->installNativeEventFilter(this);
    // A fixed window is laid out and sized as designed until it is placed.
    if (sizing_ == Sizing::Fixed) {
        this->layOut(1.0, {}); // the member: the argument of that name is moved away
        window_->setFixedSize(sizeAt_(1.0));
    }
    // Where the platform shows every window full screen (a browser, whose
    // page is the screen), the window starts full screen: its content fills
    // the page, centred.
    if (QGuiApplication::styleHints()->showIsFullScreen()) {
        toggleFullScreen();
    }
}

QScreen *WindowPlacement::screen() const
{
    QScreen *screen = window_->screen();
    return screen ? screen : QGuiApplication::primaryScreen();
}

QRect WindowPlacement::geometry() const
{
    // The window system's idea of the client area, which is what is on the
    // screen, where the widget's may differ for a while.
    const QWindow *handle = window_->windowHandle();
    return handle ? handle->geometry() : window_->geometry();
}

QMargins WindowPlacement::frameMargins() const
{
    // Asked of the window system each time: the frame a window manager puts
    // around the window is known only once the window is on screen.
    const QWindow *handle = window_->windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

void WindowPlacement::layOut(qreal scale, QPoint origin)
{
    // Lines and the smallest fonts follow the device's pixels too.
    const qreal ratio = window_->devicePixelRatioF();
    if (scale != scale_ || origin != origin_ || ratio != ratio_) {
        scale_ = scale;
        origin_ = origin;
        ratio_ = ratio;
        layOut_(scale, origin);
    }
}

void WindowPlacement::place()
{
    QScreen *screen = this->screen();
    if (!screen) {
        return;
    }
    if (fullScreen(window_)) {
        if (!wantFullScreen_) {
            return; // leaving full screen is reported before the window is placed
        }
        // Full screen as the window system gives it: the whole screen, or,
        // with no window manager on X, the window as it was. Once such a
        // window no longer lies whole on its screen it is placed as below.
        if (screen->geometry().contains(geometry())) {
            const Filling filling =
                fillWindow(sizeAt_, window_->size(), window_->devicePixelRatioF());
            layOut(filling.scale, filling.origin);
            return;
        }
    } else if (window_->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)) {
        return; // the window system decides
    }
    const QMargins frame = frameMargins();
    const Placement placement =
        fitOnScreen(sizeAt_, frame, screen->geometry(), screen->availableGeometry(),
                    screen->devicePixelRatio());
    layOut(placement.scale, {});
    // The frame's corner, where the window manager is told to keep it
    // (north-west gravity). A resize alone sends Qt's idea of the client
    // area's corner along, which such a window manager takes for the
    // frame's, so the corner is sent again after every resize.
    const bool resized = geometry().size() != placement.client.size();
    if (sizing_ == Sizing::Fixed && !wantFullScreen_) {
        window_->setFixedSize(placement.client.size());
        // At a fractional scale Qt asks the window manager for sizes in
        // steps of whole device pixels counted from a base size; with the
        // base at the fixed size, the manager's own resizes (leaving full
        // screen) keep it.
        window_->setBaseSize(placement.client.size());
    } else if (resized) {
        window_->resize(placement.client.size());
    }
    QWindow *handle = window_->windowHandle();
    if (handle && handle->size() != window_->size()) {
        // A window manager's late answer to an earlier request can leave the
        // window system's size other than the widget's; resizing the widget
        // to the size it already has would do nothing.
        handle->resize(window_->size());
    }
    const QPoint framePosition = placement.client.topLeft() - QPoint(frame.left(), frame.top());
    if (handle) {
        if (resized || handle->framePosition() != framePosition) {
            handle->setFramePosition(framePosition);
        }
    } else {
        window_->move(framePosition);
    }
}

void WindowPlacement::present()
{
    QWindow *handle = window_->windowHandle();
    const Qt::WindowStates states = window_->windowState();
    if (states.testFlag(Qt::WindowMinimized)) {
        window_->setWindowState(states & ~Qt::WindowMinimized);
    } else if (window_->isVisible() && handle && mapped_ && !handle->isExposed()) {
        window_->hide();
        handle->destroy();
        mapped_ = false;
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void WindowPlacement::toggleFullScreen()
{
    wantFullScreen_ = !wantFullScreen_;
    corrections_ = 0;
    requestState();
}

void WindowPlacement::requestState()
{
    const Qt::WindowStates states = window_->windowState();
    if (wantFullScreen_) {
        // The window system makes the window as large as its screen.
        window_->setMinimumSize(0, 0);
        window_->setBaseSize(0, 0);
        window_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        window_->setWindowState(states | Qt::WindowFullScreen);
    } else {
        window_->setWindowState(states & ~Qt::WindowFullScreen);
    }
}

void WindowPlacement::schedule()
{
    settleTimer_->start();
}

void WindowPlacement::placeAgain()
{
    corrections_ = 0;
    schedule();
}

void WindowPlacement::settle()
{
    if (!window_->isVisible()) {
        return; // placed when it is shown
    }
    // The window system reported another state than was asked for last: a
    // report of an earlier request, or a change of its own. Ask again.
    if (fullScreen(window_) != wantFullScreen_) {
        requestState();
        return;
    }
    place();
}

void WindowPlacement::shownFirst()
{
    shown_ = true;
    if (QWindow *handle = window_->windowHandle()) {
        handle->installEventFilter(this);
        connect(handle, &QWindow::screenChanged, this, [this](QScreen *screen) {
            followScreen(screen);
            placeAgain();
        });
    }
    followScreen(screen());
}

bool WindowPlacement::strayed() const
{
    return !screen()->availableGeometry().contains(geometry().marginsAdded(frameMargins())) ||
           (sizing_ == Sizing::Fixed && geometry().size() != sizeAt_(scale_));
}

bool WindowPlacement::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == window_->windowHandle() && event->type() == QEvent::Expose) {
        // Mapped: a window manager has put its frame around the window now.
        const bool exposed = window_->windowHandle()->isExposed();
        if (exposed && !exposed_) {
            mapped_ = true;
            schedule();
        }
        exposed_ = exposed;
        return QObject::eventFilter(watched, event);
    }
    if (watched != window_) {
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::Show:
        if (!shown_) {
            shownFirst();
        }
        corrections_ = 0;
        place();
        break;
    case QEvent::WindowStateChange:
        placeAgain();
        break;
    case QEvent::Resize:
        if (fullScreen(window_) && wantFullScreen_) {
            place(); // the content follows the window at once
            break;
        }
        [[fallthrough]];
    case QEvent::Move:
        // The window system may put a window back where it was before it
        // went full screen, or anywhere else, and may round a fixed size to
        // its own steps; the window goes back whole on its screen, at its size.
        if (!fullScreen(window_) && window_->isVisible() && corrections_ < kMaxCorrections &&
            strayed()) {
            ++corrections_;
            schedule();
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool WindowPlacement::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
#ifdef POKOMOJI_XCB
    // The window system's word that a window is gone. Destroying one of its
    // own, Qt has let go of it first, so a window that still has its id was
    // destroyed by someone else.
    if (eventType == "xcb_generic_event_t") {
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if ((event->response_type & 0x7f) == XCB_DESTROY_NOTIFY) {
            const auto *destroyed = static_cast<const xcb_destroy_notify_event_t *>(message);
            const QWindow *handle = window_->windowHandle();
            if (handle && handle->handle() && destroyed->window == handle->winId()) {
                emit destroyedFromOutside();
            }
        }
    }
#else
    Q_UNUSED(eventType);
    Q_UNUSED(message);
#endif
    return false;
}

void WindowPlacement::followScreen(QScreen *screen)
{
    for (const QMetaObject::Connection &connection : screenConnections_) {
        disconnect(connection);
    }
    screenConnections_.clear();
    if (!screen) {
        return;
    }
    screenConnections_ = {
        connect(screen, &QScreen::geometryChanged, this, &WindowPlacement::placeAgain),
        connect(screen, &QScreen::availableGeometryChanged, this, &WindowPlacement::placeAgain),
        connect(screen, &QScreen::physicalDotsPerInchChanged, this, &WindowPlacement::placeAgain),
        connect(screen, &QScreen::logicalDotsPerInchChanged, this, &WindowPlacement::placeAgain),
    };
}

} // namespace ui
