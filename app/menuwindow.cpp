#include "menuwindow.h"

#include "ui/layouttable.h"
#include "ui/look.h"
#include "ui/widgets.h"

#include <QGuiApplication>
#include <QIcon>
#include <QScreen>

namespace app {

MenuWindow::MenuWindow() : QWidget(nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowIcon(QIcon(QLatin1String(ui::kIconResource)));
    // The menu draws no text, so it sets no font: the built-in face is
    // registered when a practice window first asks for it, not at start-up.
    layout_.build(this, ui::menuLayout(), ui::Forms::Both);
    layout_.layOut(1.0);
    resize(ui::windowSize(ui::menuLayout()));

    auto *katakanaDrill = layout_.get<ui::RaisedButton>("Command1");
    auto *end = layout_.get<ui::RaisedButton>("Command2");
    auto *hiraganaDrill = layout_.get<ui::RaisedButton>("Command3");
    // The drills' buttons carry pictures of their titles; screen readers get
    // the titles as the buttons' names.
    katakanaDrill->setAccessibleName(
        QString::fromUtf8(ui::practiceForm(drill::Direction::HiraganaShown).title));
    hiraganaDrill->setAccessibleName(
        QString::fromUtf8(ui::practiceForm(drill::Direction::KatakanaShown).title));

    QWidget::setTabOrder(katakanaDrill, end);
    QWidget::setTabOrder(end, hiraganaDrill);
    katakanaDrill->setFocus(Qt::OtherFocusReason);

    connect(katakanaDrill, &QPushButton::clicked, this, &MenuWindow::katakanaDrillRequested);
    connect(hiraganaDrill, &QPushButton::clicked, this, &MenuWindow::hiraganaDrillRequested);
    connect(end, &QPushButton::clicked, this, &MenuWindow::endRequested);
}

void MenuWindow::centreOnScreen()
{
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

} // namespace app
