#pragma once

// The menu window: two picture buttons that open the practice windows, one
// that ends the program, and the teacher.

#include "drill/session.h"
#include "ui/builtlayout.h"

#include <QWidget>

namespace app {

class MenuWindow : public QWidget
{
    Q_OBJECT
public:
    MenuWindow();

signals:
    // Command1 asks for the drill that shows a hiragana, Command3 for the one
    // that shows a katakana.
    void drillRequested(drill::Direction direction);
    void endRequested(); // Command2

private:
    ui::BuiltLayout layout_;
};

} // namespace app
