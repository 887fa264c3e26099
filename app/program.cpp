#include "program.h"

#include "menuwindow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWindow>

namespace app {

namespace {

// Set on a practice window's platform window once it has been on screen.
const char *const kWasExposed = "pokomojiWasExposed";

// Whether a practice window's platform window was destroyed from outside
// (another X client's XDestroyWindow, as `xdotool windowclose` does): Qt
// then keeps the widget open and visible, with a platform window that is no
// longer on screen and can never be shown again. A minimised window, or one
// on another desktop, is reported minimised instead.
bool lostItsWindow(const QWidget *window)
{
    const QWindow *handle = window->windowHandle();
    return window->isVisible() && handle && handle->property(kWasExposed).toBool() &&
           !handle->isExposed() && !window->windowState().testFlag(Qt::WindowMinimized);
}

} // namespace

Program::Program(ui::PracticeWindow::Timing timing)
    : timing_(timing), menu_(std::make_unique<MenuWindow>())
{
    connect(menu_.get(), &MenuWindow::katakanaDrillRequested, this,
            [this] { openPracticeWindow(drill::Direction::HiraganaShown); });
    connect(menu_.get(), &MenuWindow::hiraganaDrillRequested, this,
            [this] { openPracticeWindow(drill::Direction::KatakanaShown); });
    // Ends the program at once, whatever is open: the event loop ends without
    // asking any window to close, so no window's closing runs.
    connect(menu_.get(), &MenuWindow::endRequested, qApp, [] { QCoreApplication::exit(0); });
}

Program::~Program()
{
    // The windows go before the sessions they show.
    for (Instance &drill : drills_) {
        delete drill.window;
    }
}

void Program::showMenu()
{
    menu_->show(); // it places itself when shown
    menu_->raise();
    menu_->activateWindow();
}

ui::PracticeWindow *Program::openPracticeWindow(drill::Direction direction)
{
    Instance &slot = drills_.at(static_cast<std::size_t>(direction));
    if (!slot.session) {
        slot.random = std::make_unique<drill::ClockRandom>();
        slot.session = std::make_unique<drill::Session>(direction, *slot.random);
    }
    if (slot.window && lostItsWindow(slot.window)) {
        delete slot.window; // its session lives on and is loaded anew
    }
    const bool building = slot.window.isNull();
    if (building) {
        slot.window = new ui::PracticeWindow(*slot.session, timing_);
        // Mapped at the size that fits; once shown, the window places itself
        // again on the screen it appeared on and follows that screen.
        slot.window->centreOnScreen();
    }
    slot.window->show();
    if (building) {
        slot.window->windowHandle()->installEventFilter(this);
    }
    slot.window->raise();
    slot.window->activateWindow();
    return slot.window;
}

bool Program::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Expose) {
        if (auto *handle = qobject_cast<QWindow *>(watched); handle && handle->isExposed()) {
            handle->setProperty(kWasExposed, true);
        }
    }
    return QObject::eventFilter(watched, event);
}

ui::PracticeWindow *Program::practiceWindow(drill::Direction direction) const
{
    return drills_.at(static_cast<std::size_t>(direction)).window;
}

drill::Session *Program::session(drill::Direction direction) const
{
    return drills_.at(static_cast<std::size_t>(direction)).session.get();
}

} // namespace app
