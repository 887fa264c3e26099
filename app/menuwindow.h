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
    // The control of a part.
    template <typename T = QWidget> T *control(ui::Part part, int index = -1) const
    {
        return layout_.get<T>(part, index);
    }

signals:
    // A drill's button asks for the drill of its direction.
    void drillRequested(drill::Direction direction);
    void endRequested(); // おわる

private:
    ui::BuiltLayout layout_;
};

} // namespace app
