#include "programicon.h"

namespace app {

QIcon programIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/pictures/icon-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/pictures/icon-22.png"), QSize(22, 22));
    icon.addFile(QStringLiteral(":/pictures/icon-24.png"), QSize(24, 24));
    icon.addFile(QStringLiteral(":/pictures/icon-32.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/pictures/icon-48.png"), QSize(48, 48));
    return icon;
}

} // namespace app
