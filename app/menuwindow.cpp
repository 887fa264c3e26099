#include "menuwindow.h"

#include "programicon.h"

#include "ui/accessible.h"
#include "ui/layouttable.h"
#include "ui/widgets.h"
#include "ui/windowplacement.h"

namespace app {

MenuWindow::MenuWindow() : QWidget(nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("Form1"));
    ui::setAccessibleKind(this, ui::AccessibleKind::Frame);
    setWindowIcon(programIcon());
    // The menu draws no text, so it sets no font: the built-in face is
    // registered when a practice window first asks for it, not at start-up.
    layout_.build(this, ui::menuLayout(), ui::Forms::Both);
    layout_.layOut(1.0);
    resize(ui::windowSize(ui::menuLayout()));
    // Whole on its screen, centred, and laid out smaller on a screen smaller
    // than the menu; it follows every change of its screen.
    placement_ = new ui::WindowPlacement(
        this, [](qreal scale) { return ui::windowSize(ui::menuLayout(), scale); },
        [this](qreal scale, QPoint) { layout_.layOut(scale); },
        ui::WindowPlacement::Sizing::Resizable);
    // Placed before it is shown, so that its position counts the frame in
    // from the start (see WindowPlacement::place).
    placement_->place();

    command1_ = layout_.get<ui::FlatButton>("Command1");
    command2_ = layout_.get<ui::FlatButton>("Command2");
    command3_ = layout_.get<ui::FlatButton>("Command3");
    // The buttons carry pictures of their words; screen readers get the
    // words as the buttons' names.
    command1_->setAccessibleName(QStringLiteral("カタカナ ど〜れ？"));
    command3_->setAccessibleName(QStringLiteral("ひらがな ど〜れ？"));
    command2_->setAccessibleName(QStringLiteral("おわる"));
    layout_.find("Image1")->setAccessibleName(QStringLiteral("せんせい"));
    // Told apart from the results panel's "おわる", which closes a drill.
    command2_->setAccessibleDescription(QStringLiteral("ぽこもじを おわる"));

    QWidget::setTabOrder(command1_, command2_);
    QWidget::setTabOrder(command2_, command3_);
    command1_->setFocus(Qt::OtherFocusReason);

    connect(command1_, &QPushButton::clicked, this, &MenuWindow::katakanaDrillRequested);
    connect(command3_, &QPushButton::clicked, this, &MenuWindow::hiraganaDrillRequested);
    connect(command2_, &QPushButton::clicked, this, &MenuWindow::endRequested);
}

void MenuWindow::centreOnScreen()
{
    placement_->place();
}

} // namespace app
