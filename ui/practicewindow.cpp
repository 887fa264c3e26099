#include "practicewindow.h"

#include "accessible.h"
#include "chartlayout.h"
#include "layouttable.h"
#include "look.h"
#include "secondsclock.h"
#include "widgets.h"
#include "windowplacement.h"

#include <QButtonGroup>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace ui {

namespace {

QString qs(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

// The kana index of a chart button, 0 for any other object.
int chartIndexOf(const QObject *object)
{
    return object && object->objectName() == QLatin1String("Command1")
               ? object->property("index").toInt()
               : 0;
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
    // The first control in the tab order that can take the focus: the chart's
    // first button, since Stop is disabled.
    chart_[kBasicTabOrder.front()]->setFocus(Qt::OtherFocusReason);
}

PracticeWindow::~PracticeWindow() = default;

void PracticeWindow::build()
{
    const bool hiraganaShown = session_.direction() == drill::Direction::HiraganaShown;
    setObjectName(hiraganaShown ? QStringLiteral("Form2") : QStringLiteral("Form3"));
    layout_.build(this, practiceLayout(), hiraganaShown ? Forms::Form2 : Forms::Form3,
                  [this](int k) { return qs(session_.answerKana(k)); });
    label1_ = layout_.get<QLabel>("Label1");
    label2_ = layout_.get<QLabel>("Label2");
    timeBox_ = layout_.get<QLabel>("TimeBox");
    tokuten_ = layout_.get<QLabel>("Tokuten");
    image1_ = layout_.get<Picture>("Image1");
    image2_ = layout_.get<Picture>("Image2");
    shape1_ = layout_.get<Ring>("Shape1");
    line1_ = layout_.get<Stroke>("Line1");
    line2_ = layout_.get<Stroke>("Line2");
    command2_ = layout_.get<FlatButton>("Command2");
    command3_ = layout_.get<QPushButton>("Command3");
    command4_ = layout_.get<QPushButton>("Command4");
    showWindow_ = layout_.get<QFrame>("ShowWindow");
    label10_ = layout_.get<QLabel>("Label10");
    label11_ = layout_.get<QLabel>("Label11");
    command6_ = layout_.get<QPushButton>("Command6");
    command7_ = layout_.get<QPushButton>("Command7");
    layOut(1.0, {});
    setFixedSize(designedSize());
    placement_ = new WindowPlacement(
        this, &PracticeWindow::designedSize, [this](qreal s, QPoint o) { layOut(s, o); },
        WindowPlacement::Sizing::Fixed);

    buildChart();
    connect(command2_, &QPushButton::clicked, this, &QWidget::close);
    connect(command3_, &QPushButton::clicked, this, [this] {
        session_.Start(selectedOption());
        render();
    });
    connect(command4_, &QPushButton::clicked, this, [this] {
        session_.Stop();
        render();
    });

    optionGroup_ = new QButtonGroup(this);
    optionGroup_->setExclusive(true);
    constexpr std::array<const char *, 3> optionNames = {"Option1", "Option2", "Option3"};
    for (int i = 0; i < 3; ++i) {
        auto *option = layout_.get<FlatButton>(optionNames[static_cast<std::size_t>(i)]);
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
    placement_->addFullScreenKey();

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
    for (int k = 1; k <= drill::kKanaCount; ++k) {
        auto *button = layout_.get<FlatButton>("Command1", k);
        connect(button, &QPushButton::clicked, this, [this, k] { pressChart(k); });
        chart_[static_cast<std::size_t>(k)] = button;
    }
}

void PracticeWindow::buildResultsPanel()
{
    connect(command6_, &QPushButton::clicked, this, [this] {
        session_.Again();
        render();
    });
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
        target = focusBeforeLock_ ? focusBeforeLock_.data() : chart_[kBasicTabOrder.front()];
        break;
    case FocusMove::FirstChart:
        target = chart_[kBasicTabOrder.front()];
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

QSize PracticeWindow::designedSize(qreal scale)
{
    return windowSize(practiceLayout(), scale);
}

void PracticeWindow::layOut(qreal scale, QPoint origin)
{
    layout_.layOut(scale, origin);
}

qreal PracticeWindow::scale() const
{
    return placement_->scale();
}

void PracticeWindow::centreOnScreen()
{
    placement_->place();
}

void PracticeWindow::toggleFullScreen()
{
    placement_->toggleFullScreen();
}

} // namespace ui
