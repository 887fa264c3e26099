#include "menuwindow.h"

#include "ui/accessible.h"
#include "ui/look.h"
#include "ui/widgets.h"

#include <QGuiApplication>
#include <QIcon>
#include <QScreen>

namespace app {

MenuWindow::MenuWindow() : QWidget(nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("Form1"));
    ui::setAccessibleKind(this, ui::AccessibleKind::Frame);
    setWindowTitle(QStringLiteral("ぽこもじ ver1.0"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/icon-32.png")));
    setFont(ui::uiFont());
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, ui::bgr(ui::colour::White));
    setPalette(windowPalette);
    setAutoFillBackground(true);
    resize(346, 302);

    // The buttons carry pictures of their words; screen readers get the
    // words as the buttons' names.
    auto pictureButton = [this](const char *name, const char *picture, std::uint32_t face,
                                QRect geometry, const QString &says) {
        auto *button = new ui::FlatButton(QString(), ui::bgr(face), this);
        button->setObjectName(QLatin1String(name));
        button->setAccessibleName(says);
        button->setPicture(QStringLiteral(":/pictures/%1.svg").arg(QLatin1String(picture)));
        button->setGeometry(geometry);
        return button;
    };
    command1_ =
        pictureButton("Command1", "menu_katakana", ui::colour::PaleYellow,
                      ui::twipsRect(240, 240, 4695, 1455), QStringLiteral("カタカナ ど〜れ？"));
    command3_ =
        pictureButton("Command3", "menu_hiragana", ui::colour::PaleYellow,
                      ui::twipsRect(240, 1920, 4695, 1455), QStringLiteral("ひらがな ど〜れ？"));
    command2_ = pictureButton("Command2", "menu_end", ui::colour::PaleLavender,
                              ui::twipsRect(2760, 3600, 2175, 855), QStringLiteral("おわる"));
    // Told apart from the results panel's "おわる", which closes a drill.
    command2_->setAccessibleDescription(QStringLiteral("ぽこもじを おわる"));
    auto *teacher = new ui::Picture(QStringLiteral(":/pictures/teacher.svg"), this);
    teacher->setObjectName(QStringLiteral("Image1"));
    teacher->setAccessibleName(QStringLiteral("せんせい"));
    teacher->move(ui::px(240), ui::px(3480));

    QWidget::setTabOrder(command1_, command2_);
    QWidget::setTabOrder(command2_, command3_);
    command1_->setFocus(Qt::OtherFocusReason);

    connect(command1_, &QPushButton::clicked, this, &MenuWindow::katakanaDrillRequested);
    connect(command3_, &QPushButton::clicked, this, &MenuWindow::hiraganaDrillRequested);
    connect(command2_, &QPushButton::clicked, this, &MenuWindow::endRequested);
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
