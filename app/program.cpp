#include "program.h"

#include "ending.h"
#include "menuwindow.h"

namespace app {

Program::Program(ui::PracticeWindow::Timing timing)
    : timing_(timing), menu_(std::make_unique<MenuWindow>())
{
    connect(menu_.get(), &MenuWindow::drillRequested, this, &Program::openPracticeWindow);
    // Ends the program at once, whatever is open.
    connect(menu_.get(), &MenuWindow::endRequested, this, [] { endProgram(0); });
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
    if (!slot.window) {
        slot.window = new ui::PracticeWindow(*slot.session, timing_);
        // Mapped at the size that fits; once shown, the window places itself
        // again on the screen it appeared on and follows that screen.
        slot.window->placement().place();
    }
    slot.window->placement().present();
    return slot.window;
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
