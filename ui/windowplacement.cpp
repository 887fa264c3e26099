// Places a window whole on its screen and keeps it there as the screen and the
// desktop change, fills the screen in full screen, and brings a window back.

#include "windowplacement.h"

#include "pixels.h"
#include "windowsystem.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QStyleHints>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <qpa/qplatformscreen.h>
#include <qpa/qplatformwindow.h>

#include <algorithm>

namespace ui {

namespace {

// How often in a row a window that someone else moved off its available
// area is put back, before the placement gives way to them.
constexpr int kMaxCorrections = 3;
// How long after a window left the screen the window manager has surely
// marked it minimised or on another desktop, if it did either.
constexpr int kWithdrawnAfterMs = 300;

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

// A screen's free area from its corner, and a window's frame, in device
// pixels as the window system has them: Qt rounds each to logical pixels,
// which at some ratios stand for a device pixel or more than there is. The
// window system counts in its own pixels, which a ratio of its own (2 on
// some) makes device pixels.
DeviceRoom deviceRoom(const QScreen &screen, const QWindow *window)
{
    const QPlatformScreen *native = screen.handle();
    const qreal ratio = native->devicePixelRatio();
    const auto device = [ratio](int v) { return qRound(v * ratio); };
    const QRect free = native->availableGeometry().translated(-native->geometry().topLeft());
    const QMargins frame =
        window && window->handle() ? window->handle()->frameMargins() : QMargins();
    return {QRect(device(free.x()), device(free.y()), device(free.width()), device(free.height())),
            QMargins(device(frame.left()), device(frame.top()), device(frame.right()),
                     device(frame.bottom()))};
}

} // namespace

Placement fitOnScreen(const std::function<QSize(qreal)> &sizeAt, QMargins frame, QRect screen,
                      QRect available, const DeviceRoom &device, qreal ratio)
{
    // Everything is measured from the screen's corner, in device pixels, as
    // the window system has the free area and the frame.
    const int left = device.free.left();
    const int top = device.free.top();
    const int right = device.free.left() + device.free.width();
    const int bottom = device.free.top() + device.free.height();
    const QMargins frameDevice = device.frame;
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
      sizing_(sizing), settleTimer_(new QTimer(this)), withdrawnTimer_(new QTimer(this))
{
    // A window that left the screen is asked, a moment later, whether the
    // window manager holds it (minimised, another desktop) or someone took
    // it off the screen for good.
    withdrawnTimer_->setSingleShot(true);
    withdrawnTimer_->setInterval(kWithdrawnAfterMs);
    connect(withdrawnTimer_, &QTimer::timeout, this, [this] {
        const QWindow *handle = window_->windowHandle();
        if (window_->isVisible() && !window_->isMinimized() && handle &&
            windowsystem::withdrawn(*handle)) {
            loseFromOutside();
        }
    });
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
                    deviceRoom(*screen, window_->windowHandle()), screen->devicePixelRatio());
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
    // A window manager's late answer to an earlier request, or another
    // program's resize, can leave the window system's size other than the
    // placed one, and the widget takes that size on; resizing the widget to
    // the size it has already would do nothing. While full screen is asked
    // for, the window manager's size is the one to keep.
    const QSize size = wantFullScreen_ ? window_->size() : placement.client.size();
    if (handle && handle->size() != size) {
        handle->resize(size);
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
    const bool minimised = states.testFlag(Qt::WindowMinimized);
    if (minimised) {
        window_->setWindowState(states & ~Qt::WindowMinimized);
    }
    // Restoring brings a minimised window back where the window system
    // keeps it; one it cannot bring back to the desktop shown gets a new
    // platform window, which the window system maps there.
    if (window_->isVisible() && handle && mapped_ &&
        (lost_ || windowsystem::onOtherDesktop(*handle) || (!minimised && !handle->isExposed()))) {
        window_->hide();
        handle->destroy();
        mapped_ = false;
        lost_ = false;
    }
    window_->show();
    if (const QWindow *shown = window_->windowHandle()) {
        windowsystem::stopKeepingBelow(*shown);
    }
    window_->raise();
    window_->activateWindow();
    // Whole on its screen again, wherever another program moved it.
    placeAgain();
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
    // Destroying or hiding a window of its own, Qt has let go of it or
    // hidden the widget first: what happens to a window it still takes for
    // shown was done by someone else.
    const QWindow *handle = window_->windowHandle();
    if (!handle || !window_->isVisible()) {
        return false;
    }
    switch (windowsystem::noticeOf(eventType, message, *handle)) {
    case windowsystem::Notice::Destroyed:
        loseFromOutside();
        break;
    case windowsystem::Notice::Unmapped:
        withdrawnTimer_->start();
        break;
    case windowsystem::Notice::None:
        break;
    }
    return false;
}

void WindowPlacement::loseFromOutside()
{
    if (!lost_) {
        lost_ = true;
        emit lostFromOutside();
    }
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
