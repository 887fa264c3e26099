#include "look.h"

#include <QStringList>

namespace ui {
namespace {

QFont japaneseFont(const QStringList &families, int pixelSize)
{
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace

QFont drillFont(int pixelSize, bool bold)
{
    QFont font = japaneseFont({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                               QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")},
                              pixelSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

QFont uiFont()
{
    return japaneseFont({QStringLiteral("MS UI Gothic"), QStringLiteral("IPAPGothic"),
                         QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")},
                        12);
}

} // namespace ui
