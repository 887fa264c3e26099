#pragma once

// The program: its menu, and one instance of each practice window, made on
// first use and kept until the program ends. A practice window's controls
// are destroyed when it is closed; its session lives on, and the next opening
// builds the window again and loads the session anew.
//
// The program ends when no window of it is left that the child can see or
// bring back: every window is closed, or lost to another program (destroyed
// or taken off the screen) with no menu left whose button would bring it
// back. A lost menu counts as closed.

#include "drill/random.h"
#include "drill/session.h"
#include "ui/practicewindow.h"

#include <QObject>
#include <QPointer>
#include <array>
#include <memory>

namespace app {

class MenuWindow;

class Program : public QObject
{
    Q_OBJECT
public:
    explicit Program(ui::PracticeWindow::Timing timing = {});
    ~Program() override;

    MenuWindow *menu() const { return menu_.get(); }
    void showMenu();
    // Shows the practice window of a direction, building it if it is not
    // open, or brings the open one back to the front as it was: restored if
    // minimised, on the current desktop, given a new platform window if
    // another client destroyed its own.
    ui::PracticeWindow *openPracticeWindow(drill::Direction direction);
    // The open window of a direction, or null.
    ui::PracticeWindow *practiceWindow(drill::Direction direction) const;
    // The session of a direction, or null before its first opening.
    drill::Session *session(drill::Direction direction) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Closes the drills no menu can bring back, and ends the program when no
    // window is left. Runs after each change, once the change has settled.
    void account();
    void accountSoon();

    struct Instance
    {
        std::unique_ptr<drill::ClockRandom> random;
        std::unique_ptr<drill::Session> session;
        QPointer<ui::PracticeWindow> window;
    };

    ui::PracticeWindow::Timing timing_;
    std::unique_ptr<MenuWindow> menu_;
    std::array<Instance, 2> drills_; // by drill::Direction
};

} // namespace app
