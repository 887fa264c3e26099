// The yardstick for start-up: a bare Qt program with one window holding one
// push button, shown and measured exactly as menu_start.cpp shows and
// measures the menu.

#include "probe.h"

#include <QApplication>
#include <QPushButton>
#include <QWidget>

int main(int argc, char *argv[])
{
    const double launched = bench::launchedMs();
    bench::phase("loaded", launched);
    QApplication application(argc, argv);
    bench::phase("application", launched);
    bench::FirstPaint probe(launched);

    QWidget window;
    window.resize(346, 302);
    auto *button = new QPushButton(QStringLiteral("Push"), &window);
    button->setGeometry(16, 16, 313, 97);
    window.installEventFilter(&probe);
    bench::phase("built", launched);
    window.show();
    bench::phase("shown", launched);
    return QApplication::exec();
}
