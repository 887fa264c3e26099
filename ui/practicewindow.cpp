#include "practicewindow.h"

#include "accessible.h"
#include "chartlayout.h"
#include "look.h"
#include "secondsclock.h"
#include "widgets.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

#include <optional>
#include <vector>

namespace ui {

namespace {

const QString kVSign = QStringLiteral(":/pictures/vsign.svg");
const QString kChildren = QStringLiteral(":/pictures/children.svg");
const QString kMarkers = QStringLiteral(":/pictures/markers.svg");

QString qs(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

// A label as the design draws it: text colour, an opaque background or none,
// an optional single-line border, and the alignment of its text.
QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, QRect geometry,
                  const QFont &font, QColor textColour, std::optional<QColor> background,
                  bool border, Qt::Alignment alignment)
{
    auto *label = new Caption(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setFont(font);
    label->setAlignment(alignment);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, textColour);
    if (background) {
        palette.setColor(QPalette::Window, *background);
        label->setAutoFillBackground(true);
    }
    label->setPalette(palette);
    label->setBorder(border);
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

// The kana index of a chart button, 0 for any other object.
int chartIndexOf(const QObject *object)
{
    return object && object->objectName() == QLatin1String("Command1")
               ? object->property("index").toInt()
               : 0;
}

// A push button in the system look, which Enter presses as Space does.
QPushButton *makeButton(QWidget *parent, const char *name, const QString &text, QRect geometry,
                        const QFont &font)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    button->setFont(font);
    button->setAutoDefault(true);
    return button;
}

QColor buttonText()
{
    return QGuiApplication::palette().color(QPalette::ButtonText);
}
QColor buttonFace()
{
    return QGuiApplication::palette().color(QPalette::Button);
}

// The order in which Tab walks the chart: by kana index, first the buttons
// of the basic block, then those of the voiced block.
constexpr std::array<int, 46> kBasicTabOrder = {
    43, 42, 41, 40, 39, 23, 22, 21, 1,  2,  3,  4,  5,  38, 37, 36, 35, 34, 6,  7,  8,  9,  10,
    33, 32, 31, 30, 29, 11, 12, 13, 14, 15, 28, 27, 26, 25, 24, 16, 17, 18, 19, 20, 46, 45, 44};
constexpr std::array<int, 25> kVoicedTabOrder = {51, 50, 49, 48, 47, 56, 55, 54, 53, 52, 61, 60, 59,
                                                 58, 57, 66, 65, 64, 63, 62, 71, 70, 69, 68, 67};

} // namespace

PracticeWindow::PracticeWindow(drill::Session &session, Timing timing)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), session_(session), timing_(timing)
{
    setAttribute(Qt::WA_DeleteOnClose);
    build();
    guardKeys();
    session_.Load();
    shown_ = session_.state();
    render();
    chart_[43]->setFocus(Qt::OtherFocusReason);
}

PracticeWindow::~PracticeWindow() = default;

void PracticeWindow::build()
{
    const bool hiraganaShown = session_.direction() == drill::Direction::HiraganaShown;
    setObjectName(hiraganaShown ? QStringLiteral("Form2") : QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Form2"));
    setFixedSize(1024, 768);
    setFont(uiFont());
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, bgr(colour::White));
    setPalette(windowPalette);
    setAutoFillBackground(true);

    const QFont big = drillFont(307);
    const QFont unit = drillFont(27);
    const QFont count = drillFont(32);
    const Qt::Alignment topCentre = Qt::AlignHCenter | Qt::AlignTop;
    const Qt::Alignment topLeft = Qt::AlignLeft | Qt::AlignTop;
    const Qt::Alignment topRight = Qt::AlignRight | Qt::AlignTop;

    // What is drawn on the window's own surface, from the bottom up.
    label2_ = makeLabel(this, "Label2", {}, twipsRect(7440, 1200, 4455, 4455), big, buttonText(),
                        buttonFace(), true, topCentre);
    shape1_ = new Ring(bgr(colour::LightRed), 20, this);
    shape1_->setObjectName(QStringLiteral("Shape1"));
    shape1_->setGeometry(twipsRect(7320, 1080, 4815, 4815));
    makeLabel(this, "Label3", QStringLiteral("てん"), twipsRect(12600, 360, 855, 375), unit,
              buttonText(), std::nullopt, false, topLeft);
    makeLabel(this, "Label4", QStringLiteral("びょう"), twipsRect(8640, 360, 1335, 375), unit,
              bgr(colour::Grey), std::nullopt, false, topLeft);
    timeBox_ = makeLabel(this, "TimeBox", QStringLiteral("0"), twipsRect(6480, 240, 2055, 615),
                         count, bgr(colour::Grey), bgr(colour::LightGrey), true, topRight);
    tokuten_ = makeLabel(this, "Tokuten", QStringLiteral("0"), twipsRect(10440, 240, 2055, 615),
                         count, bgr(colour::Green), bgr(colour::White), true, topRight);
    makeLabel(this, "Label5",
              hiraganaShown ? QStringLiteral("ひらがな") : QStringLiteral("カタカナ"),
              twipsRect(2520, 5760, 1575, 375), unit, buttonText(), std::nullopt, false, topLeft);
    makeLabel(this, "Label6",
              hiraganaShown ? QStringLiteral("カタカナ") : QStringLiteral("ひらがな"),
              twipsRect(9120, 5760, 1575, 375), unit, buttonText(), std::nullopt, false, topLeft);
    makeLabel(this, "Label7", QStringLiteral("＝"), twipsRect(6000, 3120, 975, 735), drillFont(67),
              buttonText(), std::nullopt, false, topLeft);
    image1_ = new Picture(hiraganaShown ? QStringLiteral(":/pictures/heading_katakana.svg")
                                        : QStringLiteral(":/pictures/heading_hiragana.svg"),
                          this);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->move(px(240), px(-120));
    label1_ = makeLabel(this, "Label1", {}, twipsRect(1200, 1200, 4455, 4455), big, buttonText(),
                        buttonFace(), true, topCentre);
    image2_ = new Picture(kVSign, this);
    image2_->setObjectName(QStringLiteral("Image2"));
    image2_->move(px(5040), px(2520));
    line1_ =
        new Stroke(QLineF(px(7680), px(1440), px(11640), px(5400)), bgr(colour::Yellow), 10, this);
    line1_->setObjectName(QStringLiteral("Line1"));
    line2_ =
        new Stroke(QLineF(px(11640), px(1440), px(7680), px(5400)), bgr(colour::Yellow), 10, this);
    line2_->setObjectName(QStringLiteral("Line2"));

    // The buttons and frames, above the surface, from the bottom up.
    buildChart(); // 1..46 below Command2 and Command3, 47..71 above them

    command4_ = makeButton(this, "Command4", QStringLiteral("ストップ"),
                           twipsRect(12720, 5280, 2175, 975), drillFont(24));
    connect(command4_, &QPushButton::clicked, this, [this] {
        session_.Stop();
        render();
    });

    frame1_ = new CaptionFrame(QStringLiteral("もんだいのかず"), this);
    frame1_->setObjectName(QStringLiteral("Frame1"));
    frame1_->setGeometry(twipsRect(12720, 1320, 2055, 2535));
    frame1_->setAutoFillBackground(true);
    frame1_->setFocusPolicy(Qt::NoFocus);
    optionGroup_ = new QButtonGroup(this);
    optionGroup_->setExclusive(true);
    const std::array<QString, 3> optionTexts = {QStringLiteral("ぜんぶ (71こ)"),
                                                QStringLiteral("はんぶん (30こ)"),
                                                QStringLiteral("すこし (15こ)")};
    for (int i = 0; i < 3; ++i) {
        auto *option = new FlatButton(optionTexts[static_cast<std::size_t>(i)],
                                      bgr(colour::LightBlue), frame1_);
        option->setObjectName(QStringLiteral("Option%1").arg(i + 1));
        option->setGeometry(twipsRect(240, 360 + 720 * i, 1575, 615));
        option->setCheckable(true);
        optionGroup_->addButton(option, i);
        options_[static_cast<std::size_t>(i)] = option;
    }
    options_[0]->setChecked(true);

    buildResultsPanel();

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(timing_.judgeIntervalMs);
    connect(timer1_, &QTimer::timeout, this, &PracticeWindow::judgeTick);
    timer2_ = new SecondsClock(timing_.clockIntervalMs, this);
    timer2_->setObjectName(QStringLiteral("Timer2"));
    connect(timer2_, &SecondsClock::tick, this, &PracticeWindow::clockTick);

    // Start is the window's cancel button: Escape presses it.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (command3_->isEnabled()) {
            command3_->click();
        }
    });

    setTabOrder();
    describeForAccessibility(hiraganaShown);
}

void PracticeWindow::describeForAccessibility(bool hiraganaShown)
{
    // The window's title is never shown; a screen reader says what the drill
    // asks instead. The boxes expose their text as their name and say what
    // the number or kana in them is.
    const QString asks =
        hiraganaShown ? QStringLiteral("カタカナ ど〜れ？") : QStringLiteral("ひらがな ど〜れ？");
    setAccessibleKind(this, AccessibleKind::Frame);
    setAccessibleName(asks);
    // The options are drawn as push buttons but choose one of three, in the
    // frame whose caption names them.
    for (FlatButton *option : options_) {
        setAccessibleKind(option, AccessibleKind::RadioButton);
    }
    // The results panel is named; its strips and children are decoration.
    setAccessibleKind(showWindow_, AccessibleKind::Group);
    showWindow_->setAccessibleName(QStringLiteral("けっか"));
    for (Picture *picture : showWindow_->findChildren<Picture *>()) {
        setAccessibleKind(picture, AccessibleKind::Decoration);
    }
    // Two buttons read "おわる": this one closes the window, the menu's ends
    // the program.
    command7_->setAccessibleDescription(QStringLiteral("この まどを とじる"));
    command2_->setAccessibleDescription(QStringLiteral("この まどを とじる"));
    image1_->setAccessibleName(asks);
    label1_->setAccessibleDescription(QStringLiteral("もんだい"));
    label2_->setAccessibleDescription(QStringLiteral("こたえ"));
    timeBox_->setAccessibleDescription(QStringLiteral("びょう"));
    tokuten_->setAccessibleDescription(QStringLiteral("てん"));
    label10_->setAccessibleDescription(QStringLiteral("びょう"));
    label11_->setAccessibleDescription(QStringLiteral("てん"));
    shape1_->setAccessibleName(QStringLiteral("まる"));
    image2_->setAccessibleName(QStringLiteral("せいかい"));
    line1_->setAccessibleName(QStringLiteral("ばつ"));
    line2_->setAccessibleName(QStringLiteral("ばつ"));
}

void PracticeWindow::guardKeys()
{
    keyHoldOff_ = new QTimer(this);
    keyHoldOff_->setObjectName(QStringLiteral("KeyHoldOff"));
    keyHoldOff_->setSingleShot(true);
    keyHoldOff_->setInterval(timing_.keyHoldOffMs);
    // The window sees the keys while it holds the focus itself, so that a
    // key's release is known wherever the focus is.
    installEventFilter(this);
    for (QAbstractButton *button : findChildren<QAbstractButton *>()) {
        button->installEventFilter(this);
    }
    for (QShortcut *shortcut : findChildren<QShortcut *>()) {
        shortcut->setAutoRepeat(false);
        shortcut->installEventFilter(this);
    }
}

bool PracticeWindow::keyMustNotPress(QObject *watched, QEvent *event)
{
    // Only a fresh press of a key presses a button: a held key repeats
    // its press, and a child who holds Enter means one press. While the
    // results have just come up no key presses anything, so that the child
    // sees them before a key can put them away.
    if (event->type() == QEvent::Shortcut) {
        return keyHoldOff_->isActive();
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
        return false;
    }
    const auto *key = static_cast<const QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
    case Qt::Key_Select:
        break;
    default:
        return false;
    }
    // An X server repeats a held key as a release and a press at the same
    // moment, which Qt flags as a repeat only when it sees both at once; so
    // a press at the very time of the key's last release is a repeat too.
    // (Events made by a program carry no time and count by their flag.)
    bool repeated = key->isAutoRepeat();
    if (event->type() == QEvent::KeyRelease) {
        keyReleasedAt_[key->key()] = key->timestamp();
    } else if (key->timestamp() != 0 && key->timestamp() == keyReleasedAt_.value(key->key())) {
        repeated = true;
    }
    return (repeated || keyHoldOff_->isActive()) && watched != this;
}

void PracticeWindow::buildChart()
{
    const QFont chartFont = drillFont(37, true);
    auto make = [&](int k) {
        auto *button = new FlatButton(qs(session_.answerKana(k)), bgr(drill::kChartGrey), this);
        // A control array: every chart button is Command1, told apart by
        // its index, which is its kana index.
        button->setObjectName(QStringLiteral("Command1"));
        button->setProperty("index", k);
        button->setGeometry(chartButtonRect(k));
        button->setFont(chartFont);
        button->installEventFilter(this);
        connect(button, &QPushButton::clicked, this, [this, k] { pressChart(k); });
        chart_[static_cast<std::size_t>(k)] = button;
    };
    for (int k = 1; k <= 46; ++k) {
        make(k);
    }
    command2_ = new FlatButton(QStringLiteral("とじる"), bgr(colour::Pink), this);
    command2_->setObjectName(QStringLiteral("Command2"));
    command2_->setGeometry(twipsRect(14400, 120, 855, 735));
    connect(command2_, &QPushButton::clicked, this, &QWidget::close);

    command3_ = makeButton(this, "Command3", QStringLiteral("スタート"),
                           twipsRect(12720, 4080, 2175, 1095), drillFont(24));
    connect(command3_, &QPushButton::clicked, this, [this] {
        session_.Start(selectedOption());
        render();
    });
    for (int k = 47; k <= drill::kKanaCount; ++k) {
        make(k);
    }
}

void PracticeWindow::buildResultsPanel()
{
    showWindow_ = new QFrame(this);
    showWindow_->setObjectName(QStringLiteral("ShowWindow"));
    showWindow_->setGeometry(twipsRect(2400, 2880, 10575, 5655));
    showWindow_->setFrameStyle(QFrame::NoFrame);
    QPalette panelPalette = showWindow_->palette();
    panelPalette.setColor(QPalette::Window, bgr(colour::Pink));
    showWindow_->setPalette(panelPalette);
    showWindow_->setAutoFillBackground(true);

    const QFont large = drillFont(64);
    const QFont unit = drillFont(48);
    const Qt::Alignment topCentre = Qt::AlignHCenter | Qt::AlignTop;
    const Qt::Alignment topLeft = Qt::AlignLeft | Qt::AlignTop;
    // The panel's surface from the bottom up, then its buttons.
    makeLabel(showWindow_, "Label8", QStringLiteral("びょう"), twipsRect(7200, 1200, 1935, 855),
              unit, buttonText(), std::nullopt, false, topLeft);
    makeLabel(showWindow_, "Label9", QStringLiteral("てん"), twipsRect(7320, 2520, 1575, 855), unit,
              buttonText(), std::nullopt, false, topLeft);
    label10_ = makeLabel(showWindow_, "Label10", QStringLiteral("Label10"),
                         twipsRect(3720, 960, 3135, 1095), large, buttonText(), bgr(colour::White),
                         true, topCentre);
    label11_ = makeLabel(showWindow_, "Label11", QStringLiteral("Label11"),
                         twipsRect(3720, 2280, 3135, 1095), large, buttonText(), bgr(colour::White),
                         true, topCentre);
    constexpr std::array<QPoint, 6> stripAt = {QPoint(240, 240),   QPoint(3600, 240),
                                               QPoint(6960, 240),  QPoint(240, 5280),
                                               QPoint(3600, 5280), QPoint(6960, 5280)};
    for (int i = 0; i < 6; ++i) {
        auto *strip = new Picture(kMarkers, showWindow_);
        strip->setObjectName(QStringLiteral("Image3"));
        strip->setProperty("index", i);
        strip->setGeometry(twipsRect(stripAt[static_cast<std::size_t>(i)].x(),
                                     stripAt[static_cast<std::size_t>(i)].y(), 3315, 285));
    }
    auto *image4 = new Picture(kChildren, showWindow_);
    image4->setObjectName(QStringLiteral("Image4"));
    image4->setGeometry(twipsRect(240, 1920, 3225, 1620));

    const QFont buttonFont = drillFont(27);
    command6_ = makeButton(showWindow_, "Command6", QStringLiteral("もういちどする"),
                           twipsRect(1800, 3960, 2775, 975), buttonFont);
    connect(command6_, &QPushButton::clicked, this, [this] {
        session_.Again();
        render();
    });
    command7_ = makeButton(showWindow_, "Command7", QStringLiteral("おわる"),
                           twipsRect(5640, 3960, 2775, 975), buttonFont);
    connect(command7_, &QPushButton::clicked, this, &QWidget::close);
}

void PracticeWindow::setTabOrder()
{
    std::vector<QWidget *> order{command4_};
    for (int k : kBasicTabOrder) {
        order.push_back(chart_[static_cast<std::size_t>(k)]);
    }
    order.push_back(command2_);
    order.push_back(command3_);
    for (int k : kVoicedTabOrder) {
        order.push_back(chart_[static_cast<std::size_t>(k)]);
    }
    order.insert(order.end(), {options_[0], options_[1], options_[2], command6_, command7_});
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

FlatButton *PracticeWindow::chartButton(int kanaIndex) const
{
    return chart_.at(static_cast<std::size_t>(kanaIndex));
}

FlatButton *PracticeWindow::chartNeighbour(int kanaIndex, int columnStep, int rowStep) const
{
    ChartCell cell = chartCell(kanaIndex);
    for (;;) {
        cell.column += columnStep;
        cell.row += rowStep;
        if (cell.column < 0 || cell.column >= kChartColumns || cell.row < 0 ||
            cell.row >= kChartRows) {
            return nullptr;
        }
        if (const int k = kanaAtCell(cell)) {
            return chartButton(k);
        }
    }
}

bool PracticeWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (keyMustNotPress(watched, event)) {
        return true;
    }
    // The arrow keys move the focus over the chart as it is laid out.
    if (event->type() == QEvent::KeyPress) {
        const int k = chartIndexOf(watched);
        const auto *key = static_cast<QKeyEvent *>(event);
        int dx = 0;
        int dy = 0;
        switch (key->key()) {
        case Qt::Key_Left:
            dx = -1;
            break;
        case Qt::Key_Right:
            dx = 1;
            break;
        case Qt::Key_Up:
            dy = -1;
            break;
        case Qt::Key_Down:
            dy = 1;
            break;
        default:
            break;
        }
        if (k > 0 && (dx || dy) && key->modifiers() == Qt::NoModifier) {
            if (FlatButton *next = chartNeighbour(k, dx, dy)) {
                next->setFocus(Qt::TabFocusReason);
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

drill::Option PracticeWindow::selectedOption() const
{
    switch (optionGroup_->checkedId()) {
    case 1:
        return drill::Option::Half;
    case 2:
        return drill::Option::Few;
    default:
        return drill::Option::All;
    }
}

void PracticeWindow::pressChart(int kanaIndex)
{
    session_.Press(kanaIndex);
    render();
}

void PracticeWindow::judgeTick()
{
    session_.JudgeTick();
    render();
}

void PracticeWindow::clockTick()
{
    session_.ClockTick();
    render();
}

void PracticeWindow::render()
{
    const drill::WindowState &state = session_.state();
    const FocusHolder holder = focusHolder();
    const FocusMove move = focusMove(shown_, state, holder);
    if (move != FocusMove::Stay) {
        // The window holds the focus while the controls change, so that a
        // focused control that is disabled or hidden now cannot hand it on
        // to the next one in the tab order.
        if (holder == FocusHolder::Chart) {
            focusBeforeLock_ = focusWidget();
        }
        setFocus(Qt::OtherFocusReason);
    }

    label1_->setText(qs(state.label1));
    label2_->setText(qs(state.label2));
    tokuten_->setText(qs(state.tokuten));
    timeBox_->setText(qs(state.timeBox));
    label10_->setText(qs(state.label10));
    label11_->setText(qs(state.label11));
    command3_->setEnabled(state.startEnabled);
    command4_->setEnabled(state.stopEnabled);
    shape1_->setVisible(state.shape1Visible);
    image2_->setVisible(state.image2Visible);
    line1_->setVisible(state.crossVisible);
    line2_->setVisible(state.crossVisible);
    showWindow_->setVisible(state.showWindowVisible);
    if (state.showWindowVisible && !shown_.showWindowVisible) {
        keyHoldOff_->start();
    } else if (!state.showWindowVisible || state.phase != shown_.phase) {
        keyHoldOff_->stop(); // the results were put away or a session started
    }
    renderChart(state);
    renderTimers(state);
    shown_ = state;
    placeFocus(move);
}

FocusHolder PracticeWindow::focusHolder() const
{
    const QWidget *focused = focusWidget();
    if (chartIndexOf(focused) > 0) {
        return FocusHolder::Chart;
    }
    if (focused == command3_) {
        return FocusHolder::Start;
    }
    if (focused == command4_) {
        return FocusHolder::Stop;
    }
    if (focused == this) {
        return FocusHolder::Window;
    }
    if (focused && showWindow_->isAncestorOf(focused)) {
        return FocusHolder::Results;
    }
    return FocusHolder::Other;
}

void PracticeWindow::placeFocus(FocusMove move)
{
    QWidget *target = nullptr;
    switch (move) {
    case FocusMove::Stay:
    case FocusMove::Window:
        return;
    case FocusMove::LockedChart:
        target = focusBeforeLock_ ? focusBeforeLock_.data() : chart_[43];
        break;
    case FocusMove::FirstChart:
        target = chart_[43];
        break;
    case FocusMove::Start:
        target = command3_;
        break;
    case FocusMove::Again:
        target = command6_;
        break;
    }
    focusBeforeLock_ = nullptr;
    target->setFocus(Qt::OtherFocusReason);
}

void PracticeWindow::renderChart(const drill::WindowState &state)
{
    for (int k = 1; k <= drill::kKanaCount; ++k) {
        chart_[static_cast<std::size_t>(k)]->setFace(
            bgr(state.chartColour[static_cast<std::size_t>(k)]));
    }
    if (state.chartEnabled != shown_.chartEnabled) {
        for (int k = 1; k <= drill::kKanaCount; ++k) {
            chart_[static_cast<std::size_t>(k)]->setEnabled(state.chartEnabled);
        }
    }
}

void PracticeWindow::renderTimers(const drill::WindowState &state)
{
    if (!state.timer1Running) {
        timer1_->stop();
    } else if (!timer1_->isActive() || state.judgeCountdownStarts != shown_.judgeCountdownStarts) {
        timer1_->start(); // a full interval from now
    }

    if (state.timer2Running && !timer2_->isActive()) {
        timer2_->start();
    } else if (!state.timer2Running && timer2_->isActive()) {
        timer2_->stop();
    }
}

void PracticeWindow::centreOnScreen()
{
    QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame = geometry();
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
}

} // namespace ui
