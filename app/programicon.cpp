#include "programicon.h"

#include "ui/picturecache.h"

namespace app {

QIcon programIcon()
{
    // Every size the icon is drawn at is built in.
    QIcon icon;
    for (int size : {POKOMOJI_ICON_SIZES}) {
        icon.addPixmap(QPixmap::fromImage(
            ui::rawPixels(QStringLiteral(":/pictures/rendered/icon-%1.argb").arg(size))));
    }
    return icon;
}

} // namespace app
