#include "program.h"

#include "ending.h"
#include "menuwindow.h"

#include <QEvent>
#include <QGuiApplication>

#include <algorithm>

namespace app {

Program::Program(ui::PracticeWindow::Timing timing)
    : timing_(timing), menu_(std::make_unique<MenuWindow>())
{
    // The program, not Qt, decides when the last window is gone: Qt takes a
    // window that another program destroyed for shown.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    menu_->installEventFilter(this); // the menu's hiding
    connect(menu_.get(), &MenuWindow::drillRequested, this, &Program::openPracticeWindow);
    // Ends the program at once, whatever is open.
    connect(menu_.get(), &MenuWindow::endRequested, this, [] { endProgram(0); });
}

Program::~Program()
{
    menu_->removeEventFilter(this);
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
    // A window closed a moment ago waits for its deletion: the drill asked
    // for now is a new one.
    if (slot.window && slot.window->isHidden()) {
        slot.window = nullptr;
    }
    if (!slot.window) {
        slot.window = new ui::PracticeWindow(*slot.session, timing_);
        connect(slot.window, &QObject::destroyed, this, &Program::accountSoon);
        connect(&slot.window->placement(), &ui::WindowPlacement::lostFromOutside, this,
                &Program::accountSoon);
        // Mapped at the size that fits; once shown, the window places itself
        // again on the screen it appeared on and follows that screen.
        slot.window->placement().place();
    }
    slot.window->placement().present();
    return slot.window;
}

bool Program::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == menu_.get() && event->type() == QEvent::Hide) {
        accountSoon(); // closed, or minimised
    }
    return QObject::eventFilter(watched, event);
}

void Program::accountSoon()
{
    QMetaObject::invokeMethod(this, &Program::account, Qt::QueuedConnection);
}

void Program::account()
{
    // A minimised menu is still open: the desktop brings it back.
    const bool menuOpen = menu_->isVisible();
    for (Instance &drill : drills_) {
        if (!menuOpen && drill.window && drill.window->placement().lost()) {
            drill.window->close();
        }
    }
    const bool drillOpen = std::any_of(drills_.begin(), drills_.end(), [](const Instance &drill) {
        return drill.window && drill.window->isVisible();
    });
    if (!menuOpen && !drillOpen) {
        endProgram(0);
    }
}

ui::PracticeWindow *Program::practiceWindow(drill::Direction direction) const
{
    ui::PracticeWindow *window = drills_.at(static_cast<std::size_t>(direction)).window;
    return window && !window->isHidden() ? window : nullptr;
}

drill::Session *Program::session(drill::Direction direction) const
{
    return drills_.at(static_cast<std::size_t>(direction)).session.get();
}

} // namespace app
