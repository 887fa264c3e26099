#include "programicon.h"

#include "ui/picturecache.h"

#include <QDir>

namespace app {

QIcon programIcon()
{
    // Every size the icon is drawn at is built in.
    QIcon icon;
    const QDir rendered(QStringLiteral(":/pictures/rendered"));
    for (const QString &name : rendered.entryList({QStringLiteral("icon-*.argb")})) {
        icon.addPixmap(QPixmap::fromImage(ui::rawPixels(rendered.filePath(name))));
    }
    return icon;
}

} // namespace app
