// Prints where the controls of the menu and both practice windows lie, so
// that the scripts that drive the real program know where to click and which
// pixels to read without working the layout out again. Lays each window out
// at a scale (1 unless --scale S is given), the practice windows offscreen,
// and prints one JSON object:
//   {"Form2": {"size": [w, h], "controls": [{"name": "Command1", "kana": 1,
//              "rect": [x, y, w, h]}, ...]}, "Form3": {...}, "Form1": {...}}
// keyed by the window's design name; each control by its design name, the
// chart buttons also by their kana index, rectangles relative to the window.
// With --fill WxH (and --ratio R, the device pixel ratio, 1 unless given)
// each window is laid out as it fills a full-screen window of that size,
// as the web page shows every window: at the scale and shifted by the origin
// that ui::fillWindow gives, which each window adds as "scale" and "origin".

#include "drill/random.h"
#include "drill/session.h"
#include "ui/layouttable.h"
#include "ui/pixels.h"
#include "ui/practicewindow.h"
#include "ui/widgets.h"
#include "ui/windowplacement.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <optional>
#include <span>

namespace {

// Where a window's content goes: its scale, and its origin in the window.
struct Fit
{
    qreal scale = 1.0;
    QPoint origin;
};

// The fit of a layout: its designed size scaled, or filling a window.
Fit fitOf(std::span<const ui::Control> table, qreal scale, std::optional<QSize> fill, qreal ratio)
{
    if (!fill) {
        return {scale, {}};
    }
    const ui::Filling filling =
        ui::fillWindow([table](qreal s) { return ui::windowSize(table, s); }, *fill, ratio);
    return {filling.scale, filling.origin};
}

QJsonObject window(const QString &name, QSize size, const QJsonArray &controls, const Fit &fit)
{
    return {{"name", name},
            {"size", QJsonArray{size.width(), size.height()}},
            {"scale", fit.scale},
            {"origin", QJsonArray{fit.origin.x(), fit.origin.y()}},
            {"controls", controls}};
}

QJsonObject control(const QString &name, QRect rect)
{
    return {{"name", name}, {"rect", QJsonArray{rect.x(), rect.y(), rect.width(), rect.height()}}};
}

QJsonObject practice(drill::Direction direction, const Fit &fit)
{
    drill::ClockRandom random;
    drill::Session session(direction, random);
    ui::PracticeWindow window(session);
    window.layout().layOut(fit.scale, fit.origin);
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
    return ::window(window.objectName(), ui::windowSize(ui::practiceLayout(), fit.scale), controls,
                    fit);
}

// The menu's controls all lie on its client area, as its table places them.
QJsonObject menu(const Fit &fit)
{
    QJsonArray controls;
    QString name;
    for (const ui::Control &row : ui::menuLayout()) {
        if (row.part == ui::Part::Window) {
            name = QString::fromLatin1(row.name);
        } else {
            controls.append(
                control(QString::fromLatin1(row.name),
                        ui::scaledRect(row.left, row.top, row.width, row.height, fit.scale)
                            .translated(fit.origin)));
        }
    }
    return window(name, ui::windowSize(ui::menuLayout(), fit.scale), controls, fit);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--scale"));
    const qreal scale = at > 0 && at + 1 < args.size() ? args[at + 1].toDouble() : 1.0;
    const qsizetype fillAt = args.indexOf(QStringLiteral("--fill"));
    const qsizetype ratioAt = args.indexOf(QStringLiteral("--ratio"));
    const qreal ratio =
        ratioAt > 0 && ratioAt + 1 < args.size() ? args[ratioAt + 1].toDouble() : 1.0;
    std::optional<QSize> fill;
    if (fillAt > 0 && fillAt + 1 < args.size()) {
        const QStringList wh = args[fillAt + 1].split(QLatin1Char('x'));
        if (wh.size() == 2) {
            fill = QSize(wh[0].toInt(), wh[1].toInt());
        }
    }
    if (scale <= 0 || ratio <= 0 || (fillAt > 0 && (!fill || fill->isEmpty()))) {
        std::fputs("usage: layout_dump [--scale S | --fill WxH [--ratio R]]\n", stderr);
        return 2;
    }
    const Fit practiceFit = fitOf(ui::practiceLayout(), scale, fill, ratio);
    QJsonObject windows;
    for (const QJsonObject &laidOut : {practice(drill::Direction::HiraganaShown, practiceFit),
                                       practice(drill::Direction::KatakanaShown, practiceFit),
                                       menu(fitOf(ui::menuLayout(), scale, fill, ratio))}) {
        windows[laidOut["name"].toString()] = laidOut;
    }
    std::fputs(QJsonDocument(windows).toJson(QJsonDocument::Compact).constData(), stdout);
    return 0;
}
