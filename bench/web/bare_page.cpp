// The yardstick of the web page's start: a bare Qt program with one window
// holding one push button, as bench/bare_start.cpp is on the desktop, built
// with the same Qt for WebAssembly and loaded by the same page
// (tools/web_bench.sh). The window fills the page, as every window does there.

#include <QApplication>
#include <QPushButton>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.resize(346, 302);
    auto *button = new QPushButton(QStringLiteral("Push"), &window);
    button->setGeometry(16, 16, 313, 97);
    window.show();
    return QApplication::exec();
}
