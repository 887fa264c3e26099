#pragma once

// A practice window: the question and answer boxes, the 71-button chart, the
// score and the seconds, the options, Start and Stop, the marks and the
// results panel. It forwards every press and timer tick to its session and
// then shows the session's state. One class serves both windows; the
// session's direction decides which script is asked and which is answered.

#include "builtlayout.h"
#include "drill/session.h"
#include "focus.h"
#include "windowplacement.h"

#include <QPointer>
#include <QPushButton>
#include <QWidget>

class QButtonGroup;
class QTimer;

namespace ui {

class ChartButton;
class KeyGuard;
class SecondsClock;

// The intervals of the window's two timers; tests shorten them.
struct PracticeTiming
{
    int judgeIntervalMs = 1000; // the judge timer
    int clockIntervalMs = 1000; // the seconds clock
    int keyHoldOffMs = 1000;    // keys do nothing this long after the results come up
};

class PracticeWindow : public QWidget
{
    Q_OBJECT
public:
    using Timing = PracticeTiming;

    // Building the window loads the session: the tables are filled and the
    // window shows its design state.
    explicit PracticeWindow(drill::Session &session, Timing timing = Timing{});

    drill::Session &session() const { return session_; }
    ChartButton *chartButton(int kanaIndex) const;
    // The controls, by their parts.
    const BuiltLayout &layout() const { return layout_; }
    // The timers, for tests that watch them.
    const QTimer *judgeTimer() const { return judgeTimer_; }
    const SecondsClock *clock() const { return clock_; }
    const KeyGuard *keyGuard() const { return keyGuard_; }

    // The timers' ticks, also callable by tests that drive time themselves.
    void judgeTick() { apply(&drill::Session::JudgeTick); }
    void clockTick() { apply(&drill::Session::ClockTick); }

    // Where the window goes on its screen and how large its content is
    // drawn there (see WindowPlacement).
    WindowPlacement &placement() const { return *placement_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    void buildChart();
    void buildOptions();
    void buildTimers();
    void connectButtons();
    void setTabOrder();
    // Hands an event to the session, then shows the state it leaves.
    template <typename... Args> void apply(void (drill::Session::*event)(Args...), Args... args)
    {
        (session_.*event)(args...);
        render();
    }
    void render();
    FocusHolder focusHolder() const;
    void placeFocus(FocusMove move);
    void renderChart(const drill::WindowState &state);
    void renderTimers(const drill::WindowState &state);
    QPushButton *button(Part part) const { return layout_.get<QPushButton>(part); }

    drill::Session &session_;
    Timing timing_;
    BuiltLayout layout_;
    WindowPlacement *placement_ = nullptr;

    QButtonGroup *optionGroup_ = nullptr; // ids: the options' question counts
    QTimer *judgeTimer_ = nullptr;
    SecondsClock *clock_ = nullptr;
    KeyGuard *keyGuard_ = nullptr;

    // The state the window shows now, to change only what a new state changes.
    drill::WindowState shown_;
    // The chart button that had the keyboard focus when the chart was locked
    // for a judgement; it gets the focus back when the chart is released.
    QPointer<QWidget> focusBeforeLock_;
};

} // namespace ui
