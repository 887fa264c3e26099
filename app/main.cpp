// ぽこもじ: a kana drill for children in their first school years.

#include "menuwindow.h"
#include "program.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pokomoji"));
    QApplication::setApplicationDisplayName(QStringLiteral("ぽこもじ"));
    QApplication::setApplicationVersion(QStringLiteral(POKOMOJI_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/icon-32.png")));

    app::Program program;
    program.showMenu();
    return QApplication::exec();
}
