#include "programicon.h"

#include "ui/picturecache.h"

namespace app {

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48}) {
        icon.addPixmap(QPixmap::fromImage(
            ui::rawPixels(QStringLiteral(":/pictures/rendered/icon-%1.argb").arg(size))));
    }
    return icon;
}

} // namespace app
