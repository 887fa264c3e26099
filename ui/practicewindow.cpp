// A practice window: builds, wires and renders the session's state, and places the focus.

#include "practicewindow.h"

#include "accessible.h"
#include "chartlayout.h"
#include "keyguard.h"
#include "layouttable.h"
#include "look.h"
#include "secondsclock.h"
#include "widgets.h"
#include "windowplacement.h"

#include <QButtonGroup>
#include <QFrame>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

#include <vector>

namespace ui {

namespace {

QString toQString(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

// The captions the session's state fills, and the controls it shows: the
// reward picture with the circle, both strokes of the cross.
constexpr std::array kCaptions{
    std::pair{Part::Question, &drill::WindowState::question},
    std::pair{Part::Answer, &drill::WindowState::answer},
    std::pair{Part::Score, &drill::WindowState::score},
    std::pair{Part::Seconds, &drill::WindowState::seconds},
    std::pair{Part::ResultSeconds, &drill::WindowState::resultSeconds},
    std::pair{Part::ResultScore, &drill::WindowState::resultScore},
};
constexpr std::array kShown{
    std::pair{Part::Circle, &drill::WindowState::circleVisible},
    std::pair{Part::Reward, &drill::WindowState::circleVisible},
    std::pair{Part::Cross, &drill::WindowState::crossVisible},
    std::pair{Part::Results, &drill::WindowState::resultsVisible},
};

// The kana index of a chart button, 0 for any other object.
int chartIndexOf(const QObject *object)
{
    const auto *button = qobject_cast<const ChartButton *>(object);
    return button ? button->kanaIndex() : 0;
}

} // namespace

// Borderless, and yet minimisable: Windows minimises only a window that
// says it can be (show desktop, the task bar), and a window that was never
// really minimised cannot be restored.
PracticeWindow::PracticeWindow(drill::Session &session, Timing timing)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint),
      session_(session), timing_(timing)
{
    setAttribute(Qt::WA_DeleteOnClose);
    build();
    keyGuard_ = new KeyGuard(this, timing_.keyHoldOffMs);
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
    const PracticeForm &form = practiceForm(session_.direction());
    setObjectName(QLatin1String(form.name));
    layout_.build(this, practiceLayout(), form.direction,
                  [this](int k) { return toQString(session_.answerKana(k)); });
    // The window's title is never shown; a screen reader says what the drill
    // asks instead, as its heading does.
    setAccessibleName(QString::fromUtf8(form.title));
    layout_.get<Picture>(Part::Heading)->setAccessibleName(QString::fromUtf8(form.title));
    // The controls that the focus and the tab order move between.
    close_ = layout_.get<RaisedButton>(Part::Close);
    start_ = layout_.get<QPushButton>(Part::Start);
    stop_ = layout_.get<QPushButton>(Part::Stop);
    results_ = layout_.get<QFrame>(Part::Results);
    again_ = layout_.get<QPushButton>(Part::Again);
    finish_ = layout_.get<QPushButton>(Part::Finish);
    placement_ = new WindowPlacement(
        this, &PracticeWindow::designedSize, [this](qreal s, QPoint o) { layOut(s, o); },
        WindowPlacement::Sizing::Fixed);
    buildChart();
    buildOptions();
    buildTimers();
    connectButtons();
    placement_->addFullScreenKey();
    setTabOrder();
}

void PracticeWindow::buildOptions()
{
    // Each option's id in the group is the count of questions it asks.
    optionGroup_ = new QButtonGroup(this);
    optionGroup_->setExclusive(true);
    for (const BuiltLayout::Placed &row : layout_.ofPart(Part::Option)) {
        optionGroup_->addButton(qobject_cast<QAbstractButton *>(row.widget), row.row->questions);
    }
    optionGroup_->buttons().front()->setChecked(true);
}

void PracticeWindow::buildTimers()
{
    judgeTimer_ = new QTimer(this);
    judgeTimer_->setInterval(timing_.judgeIntervalMs);
    connect(judgeTimer_, &QTimer::timeout, this, &PracticeWindow::judgeTick);
    clock_ = new SecondsClock(timing_.clockIntervalMs, this);
    connect(clock_, &SecondsClock::tick, this, &PracticeWindow::clockTick);
}

void PracticeWindow::connectButtons()
{
    connect(close_, &QPushButton::clicked, this, &QWidget::close);
    connect(start_, &QPushButton::clicked, this,
            [this] { apply(&drill::Session::Start, optionGroup_->checkedId()); });
    connect(stop_, &QPushButton::clicked, this, [this] { apply(&drill::Session::Stop); });
    connect(again_, &QPushButton::clicked, this, [this] { apply(&drill::Session::Again); });
    connect(finish_, &QPushButton::clicked, this, &QWidget::close);
    // Start is the window's cancel button: Escape presses it.
    // A click on a disabled button does nothing.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, start_, &QAbstractButton::click);
}

void PracticeWindow::buildChart()
{
    for (int k = 1; k <= drill::kKanaCount; ++k) {
        auto *button = layout_.get<ChartButton>(Part::Chart, k);
        connect(button, &QPushButton::clicked, this,
                [this, k] { apply(&drill::Session::Press, k); });
        button->installEventFilter(this); // the arrow keys
        chart_[static_cast<std::size_t>(k)] = button;
    }
}

void PracticeWindow::setTabOrder()
{
    std::vector<QWidget *> order{stop_};
    for (int k : kBasicTabOrder) {
        order.push_back(chart_[static_cast<std::size_t>(k)]);
    }
    order.push_back(close_);
    order.push_back(start_);
    for (int k : kVoicedTabOrder) {
        order.push_back(chart_[static_cast<std::size_t>(k)]);
    }
    const QList<QAbstractButton *> options = optionGroup_->buttons();
    order.insert(order.end(), options.begin(), options.end());
    order.insert(order.end(), {again_, finish_});
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

ChartButton *PracticeWindow::chartButton(int kanaIndex) const
{
    return chart_.at(static_cast<std::size_t>(kanaIndex));
}

bool PracticeWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The arrow keys move the focus over the chart as it is laid out.
    static const QHash<int, QPoint> steps{{Qt::Key_Left, {-1, 0}},
                                          {Qt::Key_Right, {1, 0}},
                                          {Qt::Key_Up, {0, -1}},
                                          {Qt::Key_Down, {0, 1}}};
    if (event->type() == QEvent::KeyPress) {
        const int k = chartIndexOf(watched);
        const auto *key = static_cast<QKeyEvent *>(event);
        if (k > 0 && steps.contains(key->key()) && key->modifiers() == Qt::NoModifier) {
            const QPoint step = steps.value(key->key());
            if (const int next = chartNeighbour(k, step.x(), step.y())) {
                chartButton(next)->setFocus(Qt::TabFocusReason);
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
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

    for (const auto &[part, text] : kCaptions) {
        // Until a session's results first come up, the panel keeps the text
        // it was built with.
        const bool result = part == Part::ResultSeconds || part == Part::ResultScore;
        if (!result || !(state.*text).empty()) {
            layout_.get<QLabel>(part)->setText(toQString(state.*text));
        }
    }
    start_->setEnabled(state.startEnabled());
    stop_->setEnabled(state.stopEnabled());
    for (const auto &[part, shown] : kShown) {
        for (const BuiltLayout::Placed &control : layout_.ofPart(part)) {
            control.widget->setVisible(state.*shown);
        }
    }
    if (state.resultsVisible && !shown_.resultsVisible) {
        keyGuard_->holdOff();
    } else if (!state.resultsVisible || state.phase != shown_.phase) {
        keyGuard_->release(); // the results were put away or a session started
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
    if (focused == start_) {
        return FocusHolder::Start;
    }
    if (focused == stop_) {
        return FocusHolder::Stop;
    }
    if (focused == this) {
        return FocusHolder::Window;
    }
    if (focused && results_->isAncestorOf(focused)) {
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
        target = start_;
        break;
    case FocusMove::Again:
        target = again_;
        break;
    }
    focusBeforeLock_ = nullptr;
    target->setFocus(Qt::OtherFocusReason);
}

void PracticeWindow::renderChart(const drill::WindowState &state)
{
    for (std::size_t k = 1; k < chart_.size(); ++k) {
        chart_[k]->setFace(bgr(state.answered[k] ? colour::Peach : colour::LightGrey));
        if (state.chartEnabled != shown_.chartEnabled) {
            chart_[k]->setEnabled(state.chartEnabled);
        }
    }
}

void PracticeWindow::renderTimers(const drill::WindowState &state)
{
    if (!state.running()) {
        judgeTimer_->stop();
    } else if (!judgeTimer_->isActive() ||
               state.judgeCountdownStarts != shown_.judgeCountdownStarts) {
        judgeTimer_->start(); // a full interval from now
    }

    if (state.running() && !clock_->isActive()) {
        clock_->start();
    } else if (!state.running() && clock_->isActive()) {
        clock_->stop();
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

void PracticeWindow::present()
{
    placement_->present();
}

} // namespace ui
