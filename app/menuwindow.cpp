#include "menuwindow.h"

#include "programicon.h"

#include "ui/layouttable.h"
#include "ui/pressguard.h"
#include "ui/widgets.h"
#include "ui/windowplacement.h"

namespace app {

MenuWindow::MenuWindow() : QWidget(nullptr, Qt::Window)
{
    setWindowIcon(programIcon());
    // The menu draws no text, so it sets no font: the built-in face is
    // registered when a practice window first asks for it, not at start-up.
    layout_.build(this, ui::menuLayout(), std::nullopt);
    // Whole on its screen, centred, and laid out smaller on a screen smaller
    // than the menu; it follows every change of its screen. Placing lays the
    // menu out and sizes it: now, before it is shown, and again when shown.
    auto *placement = new ui::WindowPlacement(
        this, [](qreal scale) { return ui::windowSize(ui::menuLayout(), scale); },
        [this](qreal scale, QPoint origin) { layout_.layOut(scale, origin); },
        ui::WindowPlacement::Sizing::Resizable);
    placement->place();
    // Lost to another program, the menu counts as closed: nothing would
    // bring it back.
    connect(placement, &ui::WindowPlacement::lostFromOutside, this, &QWidget::close);

    // Each drill's button opens the drill of its direction.
    const auto drillButton = [this](ui::Part part, drill::Direction direction) {
        auto *button = layout_.get<ui::RaisedButton>(part);
        connect(button, &QPushButton::clicked, this,
                [this, direction] { emit drillRequested(direction); });
        return button;
    };
    auto *katakanaDrill = drillButton(ui::Part::KatakanaDrill, drill::Direction::HiraganaShown);
    auto *hiraganaDrill = drillButton(ui::Part::HiraganaDrill, drill::Direction::KatakanaShown);
    auto *end = layout_.get<ui::RaisedButton>(ui::Part::Quit);

    QWidget::setTabOrder(katakanaDrill, end);
    QWidget::setTabOrder(end, hiraganaDrill);
    katakanaDrill->setFocus(Qt::OtherFocusReason);

    connect(end, &QPushButton::clicked, this, &MenuWindow::endRequested);
    // A press that began in a drill, a second click or a held key, presses
    // nothing here.
    ui::PressGuard::install();
}

} // namespace app
