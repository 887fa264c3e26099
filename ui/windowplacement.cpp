#include "windowplacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>

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

} // namespace

Placement fitOnScreen(const std::function<QSize(qreal)> &sizeAt, QMargins frame, QRect screen,
                      QRect available)
{
    const QSize designed = sizeAt(1.0);
    const qreal room =
        std::min(qreal(available.width() - frame.left() - frame.right()) / designed.width(),
                 qreal(available.height() - frame.top() - frame.bottom()) / designed.height());
    const qreal scale = std::clamp(room, kSmallestScale, 1.0);
    const QSize client = sizeAt(scale);
    QRect framed(QPoint(), client.grownBy(frame));
    framed.moveCenter(screen.center());
    if (!available.contains(framed)) {
        framed.moveCenter(available.center());
    }
    return {scale, QRect(framed.topLeft() + QPoint(frame.left(), frame.top()), client)};
}

Filling fillWindow(const std::function<QSize(qreal)> &sizeAt, QSize window)
{
    const QSize designed = sizeAt(1.0);
    const qreal scale =
        std::max(kSmallestScale, std::min(qreal(window.width()) / designed.width(),
                                          qreal(window.height()) / designed.height()));
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
    const auto again = [this] {
        corrections_ = 0;
        schedule();
    };
    connect(qApp, &QGuiApplication::screenAdded, this, again);
    connect(qApp, &QGuiApplication::screenRemoved, this, again);
    connect(qApp, &QGuiApplication::primaryScreenChanged, this, again);
    window_->installEventFilter(this);
}

WindowPlacement::~WindowPlacement() = default;

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
        if (wantFullScreen_) {
            const Filling filling = fillWindow(sizeAt_, window_->size());
            layOut(filling.scale, filling.origin);
        }
        return; // leaving full screen is reported before the window is placed
    }
    if (window_->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)) {
        return; // the window system decides
    }
    const QMargins frame = frameMargins();
    const Placement placement =
        fitOnScreen(sizeAt_, frame, screen->geometry(), screen->availableGeometry());
    layOut(placement.scale, {});
    // The frame's corner, where the window manager is told to keep it
    // (north-west gravity). A resize alone sends Qt's idea of the client
    // area's corner along, which such a window manager takes for the
    // frame's, so the corner is sent again after every resize.
    const bool resized = geometry().size() != placement.client.size();
    if (sizing_ == Sizing::Fixed) {
        window_->setFixedSize(placement.client.size());
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

void WindowPlacement::addFullScreenKey()
{
    auto *key = new QShortcut(QKeySequence(Qt::Key_F11), window_);
    key->setObjectName(QStringLiteral("FullScreenKey"));
    connect(key, &QShortcut::activated, this, &WindowPlacement::toggleFullScreen);
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

bool WindowPlacement::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == window_->windowHandle() && event->type() == QEvent::Expose) {
        // Mapped: a window manager has put its frame around the window now.
        const bool exposed = window_->windowHandle()->isExposed();
        if (exposed && !exposed_) {
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
            shown_ = true;
            if (QWindow *handle = window_->windowHandle()) {
                handle->installEventFilter(this);
                connect(handle, &QWindow::screenChanged, this, [this](QScreen *screen) {
                    followScreen(screen);
                    corrections_ = 0;
                    schedule();
                });
            }
            followScreen(screen());
        }
        corrections_ = 0;
        place();
        break;
    case QEvent::WindowStateChange:
        corrections_ = 0;
        schedule();
        break;
    case QEvent::Resize:
        if (fullScreen(window_) && wantFullScreen_) {
            place(); // the content follows the window at once
            break;
        }
        [[fallthrough]];
    case QEvent::Move:
        // The window system may put a window back where it was before it
        // went full screen, or anywhere else; the window goes back whole on
        // its screen.
        if (!fullScreen(window_) && window_->isVisible() && corrections_ < kMaxCorrections &&
            !screen()->availableGeometry().contains(geometry().marginsAdded(frameMargins()))) {
            ++corrections_;
            schedule();
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
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
    const auto again = [this] {
        corrections_ = 0;
        schedule();
    };
    screenConnections_ = {
        connect(screen, &QScreen::geometryChanged, this, again),
        connect(screen, &QScreen::availableGeometryChanged, this, again),
        connect(screen, &QScreen::physicalDotsPerInchChanged, this, again),
        connect(screen, &QScreen::logicalDotsPerInchChanged, this, again),
    };
}

} // namespace ui
