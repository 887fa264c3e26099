#pragma once

// The menu window: two picture buttons that open the practice windows, one
// that ends the program, and the teacher.

#include "ui/builtlayout.h"

#include <QWidget>

namespace app {

class MenuWindow : public QWidget
{
    Q_OBJECT
public:
    MenuWindow();

signals:
    void katakanaDrillRequested(); // Command1: a hiragana is shown, its katakana is pressed
    void hiraganaDrillRequested(); // Command3: the reverse
    void endRequested();           // Command2

private:
    ui::BuiltLayout layout_;
};

} // namespace app
