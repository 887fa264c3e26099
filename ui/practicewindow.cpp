// A practice window: builds, wires and renders the session's state, and places the focus.

#include "practicewindow.h"

#include "chartlayout.h"
#include "keyguard.h"
#include "layouttable.h"
#include "look.h"
#include "secondsclock.h"
#include "widgets.h"

#include <QButtonGroup>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

#include <vector>

namespace ui {

namespace {

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
    chartButton(kBasicTabOrder.front())->setFocus(Qt::OtherFocusReason);
}

void PracticeWindow::build()
{
    layout_.build(this, practiceLayout(), session_.direction(),
                  [this](int k) { return QString::fromStdString(session_.answerKana(k)); });
    placement_ = new WindowPlacement(
        this, [](qreal s) { return windowSize(practiceLayout(), s); },
        [this](qreal s, QPoint o) { layout_.layOut(s, o); }, WindowPlacement::Sizing::Fixed);
    buildChart();
    buildOptions();
    buildTimers();
    connectButtons();
    setTabOrder();
}

void PracticeWindow::buildOptions()
{
    // Each option's id in the group is the count of questions it asks.
    optionGroup_ = new QButtonGroup(this);
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
    connect(button(Part::Close), &QPushButton::clicked, this, &QWidget::close);
    connect(button(Part::Start), &QPushButton::clicked, this,
            [this] { apply(&drill::Session::Start, optionGroup_->checkedId()); });
    connect(button(Part::Stop), &QPushButton::clicked, this,
            [this] { apply(&drill::Session::Stop); });
    connect(button(Part::Again), &QPushButton::clicked, this,
            [this] { apply(&drill::Session::Again); });
    connect(button(Part::Finish), &QPushButton::clicked, this, &QWidget::close);
    // Start is the window's cancel button: Escape presses it.
    // A click on a disabled button does nothing.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, button(Part::Start), &QAbstractButton::click);
    // F11 fills the screen, or goes back to the placed window.
    auto *fullScreen = new QShortcut(QKeySequence(Qt::Key_F11), this);
    connect(fullScreen, &QShortcut::activated, placement_, &WindowPlacement::toggleFullScreen);
}

void PracticeWindow::buildChart()
{
    for (const BuiltLayout::Placed &chart : layout_.ofPart(Part::Chart)) {
        connect(static_cast<ChartButton *>(chart.widget), &QPushButton::clicked, this,
                [this, k = chart.index] { apply(&drill::Session::Press, k); });
        chart.widget->installEventFilter(this); // the arrow keys
    }
}

void PracticeWindow::setTabOrder()
{
    std::vector<QWidget *> order{button(Part::Stop)};
    for (int k : kBasicTabOrder) {
        order.push_back(chartButton(k));
    }
    order.push_back(button(Part::Close));
    order.push_back(button(Part::Start));
    for (int k : kVoicedTabOrder) {
        order.push_back(chartButton(k));
    }
    const QList<QAbstractButton *> options = optionGroup_->buttons();
    order.insert(order.end(), options.begin(), options.end());
    order.insert(order.end(), {button(Part::Again), button(Part::Finish)});
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

ChartButton *PracticeWindow::chartButton(int kanaIndex) const
{
    return layout_.get<ChartButton>(Part::Chart, kanaIndex);
}

bool PracticeWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The arrow keys move the focus over the chart as it is laid out.
    static const QHash<int, QPoint> steps{{Qt::Key_Left, {-1, 0}},
                                          {Qt::Key_Right, {1, 0}},
                                          {Qt::Key_Up, {0, -1}},
                                          {Qt::Key_Down, {0, 1}}};
    if (event->type() == QEvent::KeyPress) {
        const auto *chart = qobject_cast<const ChartButton *>(watched);
        const auto *key = static_cast<QKeyEvent *>(event);
        if (chart && steps.contains(key->key()) && key->modifiers() == Qt::NoModifier) {
            const QPoint step = steps.value(key->key());
            if (const int next = chartNeighbour(chart->kanaIndex(), step.x(), step.y())) {
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
            layout_.get<QLabel>(part)->setText(QString::fromStdString(state.*text));
        }
    }
    button(Part::Start)->setEnabled(state.startEnabled());
    button(Part::Stop)->setEnabled(state.stopEnabled());
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
    if (qobject_cast<const ChartButton *>(focused)) {
        return FocusHolder::Chart;
    }
    if (focused == button(Part::Start)) {
        return FocusHolder::Start;
    }
    if (focused == button(Part::Stop)) {
        return FocusHolder::Stop;
    }
    if (focused == this) {
        return FocusHolder::Window;
    }
    if (focused && layout_.find(Part::Results)->isAncestorOf(focused)) {
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
        target = focusBeforeLock_ ? focusBeforeLock_.data() : chartButton(kBasicTabOrder.front());
        break;
    case FocusMove::FirstChart:
        target = chartButton(kBasicTabOrder.front());
        break;
    case FocusMove::Start:
        target = button(Part::Start);
        break;
    case FocusMove::Again:
        target = button(Part::Again);
        break;
    }
    focusBeforeLock_ = nullptr;
    target->setFocus(Qt::OtherFocusReason);
}

void PracticeWindow::renderChart(const drill::WindowState &state)
{
    for (const BuiltLayout::Placed &chart : layout_.ofPart(Part::Chart)) {
        const bool answered = state.answered[static_cast<std::size_t>(chart.index)];
        static_cast<ChartButton *>(chart.widget)
            ->setFace(bgr(answered ? colour::Peach : colour::LightGrey));
        if (state.chartEnabled != shown_.chartEnabled) {
            chart.widget->setEnabled(state.chartEnabled);
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

    if (state.running() != clock_->isActive()) {
        state.running() ? clock_->start() : clock_->stop();
    }
}

} // namespace ui
