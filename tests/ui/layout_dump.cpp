// Prints where the controls of the menu and both practice windows lie, so
// that the scripts that drive the real program know where to click and which
// pixels to read without working the layout out again. Lays each window out
// at a scale (1 unless --scale S is given), the practice windows offscreen,
// and prints one JSON object:
//   {"Form2": {"size": [w, h], "controls": [{"name": "Command1", "kana": 1,
//              "rect": [x, y, w, h]}, ...]}, "Form3": {...}, "Form1": {...}}
// keyed by the window's design name; each control by its design name, the
// chart buttons also by their kana index, rectangles relative to the window.

#include "drill/random.h"
#include "drill/session.h"
#include "ui/layouttable.h"
#include "ui/pixels.h"
#include "ui/practicewindow.h"
#include "ui/widgets.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

namespace {

QJsonObject window(const QString &name, QSize size, const QJsonArray &controls)
{
    return {
        {"name", name}, {"size", QJsonArray{size.width(), size.height()}}, {"controls", controls}};
}

QJsonObject control(const QString &name, QRect rect)
{
    return {{"name", name}, {"rect", QJsonArray{rect.x(), rect.y(), rect.width(), rect.height()}}};
}

QJsonObject practice(drill::Direction direction, qreal scale)
{
    drill::ClockRandom random;
    drill::Session session(direction, random);
    ui::PracticeWindow window(session);
    window.layout().layOut(scale);
    QJsonArray controls;
    for (const QWidget *widget : window.findChildren<QWidget *>()) {
        if (widget->objectName().isEmpty()) {
            continue;
        }
        QJsonObject placed =
            control(widget->objectName(), QRect(widget->mapTo(&window, QPoint()), widget->size()));
        if (const auto *button = qobject_cast<const ui::ChartButton *>(widget)) {
            placed["kana"] = button->kanaIndex();
        }
        controls.append(placed);
    }
    return ::window(window.objectName(), ui::windowSize(ui::practiceLayout(), scale), controls);
}

// The menu's controls all lie on its client area, as its table places them.
QJsonObject menu(qreal scale)
{
    QJsonArray controls;
    QString name;
    for (const ui::Control &row : ui::menuLayout()) {
        if (row.part == ui::Part::Window) {
            name = QString::fromLatin1(row.name);
        } else {
            controls.append(
                control(QString::fromLatin1(row.name),
                        ui::scaledRect(row.left, row.top, row.width, row.height, scale)));
        }
    }
    return window(name, ui::windowSize(ui::menuLayout(), scale), controls);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--scale"));
    const qreal scale = at > 0 && at + 1 < args.size() ? args[at + 1].toDouble() : 1.0;
    if (scale <= 0) {
        std::fputs("usage: layout_dump [--scale S]\n", stderr);
        return 2;
    }
    QJsonObject windows;
    for (const QJsonObject &laidOut :
         {practice(drill::Direction::HiraganaShown, scale),
          practice(drill::Direction::KatakanaShown, scale), menu(scale)}) {
        windows[laidOut["name"].toString()] = laidOut;
    }
    std::fputs(QJsonDocument(windows).toJson(QJsonDocument::Compact).constData(), stdout);
    return 0;
}
