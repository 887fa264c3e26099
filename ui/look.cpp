// The fonts of the windows, with the built-in face registered on first use.

#include "look.h"

#include <QFile>
#include <QFontDatabase>
#include <QStringList>

namespace ui {
namespace {

// Registers the built-in face, regular and bold, from the program's own
// resources the first time a font is asked for: the menu draws no text, so
// the program starts without it.
QString registerBuiltInFace()
{
    QString family = QStringLiteral(POKOMOJI_FONT_FAMILY);
    for (const QString &resource :
         {QStringLiteral(":/fonts/regular.ttf"), QStringLiteral(":/fonts/bold.ttf")}) {
        QFile file(resource);
        if (!file.open(QIODevice::ReadOnly)) {
            continue;
        }
        const int id = QFontDatabase::addApplicationFontFromData(file.readAll());
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (!families.isEmpty()) {
            family = families.first();
        }
    }
    return family;
}

QFont japaneseFont(const QStringList &families, int pixelSize)
{
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace

QString builtInFamily()
{
    static const QString family = registerBuiltInFace();
    return family;
}

QFont drillFont(int pixelSize, bool bold)
{
    QFont font = japaneseFont({QStringLiteral("ＭＳ Ｐゴシック"), builtInFamily()}, pixelSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

QFont uiFont()
{
    return japaneseFont({builtInFamily()}, 12);
}

} // namespace ui
