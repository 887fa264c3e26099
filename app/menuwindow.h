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
    // The controls, by their parts.
    const ui::BuiltLayout &layout() const { return layout_; }

signals:
    // A drill's button asks for the drill of its direction.
    void drillRequested(drill::Direction direction);
    void endRequested(); // おわる

private:
    ui::BuiltLayout layout_;
};

} // namespace app
