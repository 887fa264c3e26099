// ぽこもじ: a kana drill for children in their first school years.

#include "menuwindow.h"
#include "program.h"
#include "screencheck.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (!app::findScreen()) {
        return 1;
    }
    QApplication application(argc, argv);
    if (!app::screenHoldsTheWindows()) {
        return 1;
    }
    QApplication::setApplicationName(QStringLiteral("pokomoji"));
    QApplication::setApplicationVersion(QStringLiteral(POKOMOJI_VERSION));
    // Lets the desktop match the windows to the installed menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("jp.pokomoji.Pokomoji"));

    app::Program program;
    // The practice windows show the menu's icon, drawn once.
    QApplication::setWindowIcon(program.menu()->windowIcon());
    program.showMenu();
    return QApplication::exec();
}
