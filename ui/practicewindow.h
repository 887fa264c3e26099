#pragma once

// A practice window: the question and answer boxes, the 71-button chart, the
// score and the seconds, the options, Start and Stop, the marks and the
// results panel. It forwards every press and timer tick to its session and
// then shows the session's state. One class serves both windows; the
// session's direction decides which script is asked and which is answered.

#include "builtlayout.h"
#include "drill/session.h"
#include "focus.h"

#include <QPointer>
#include <QWidget>
#include <array>

class QButtonGroup;
class QFrame;
class QPushButton;
class QTimer;

namespace ui {

class ChartButton;
class RaisedButton;
class KeyGuard;
class SecondsClock;
class WindowPlacement;

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
    ~PracticeWindow() override;

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

    // Places the window on its screen by the rule of WindowPlacement: whole,
    // centred and scaled down where it does not fit, or filling the screen
    // in full screen. From then on the window follows its screen.
    void centreOnScreen();
    // Shows the window in front and active, as it was, whatever the desktop
    // did to it (see WindowPlacement::present).
    void present();
    // The scale the content is laid out at, 1 as designed.
    qreal scale() const;
    // Lays every control out at a scale, shifted by an origin.
    void layOut(qreal scale, QPoint origin);
    // The window's size at a scale of its design.
    static QSize designedSize(qreal scale = 1.0);

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

    drill::Session &session_;
    Timing timing_;
    BuiltLayout layout_;
    WindowPlacement *placement_ = nullptr;

    RaisedButton *close_ = nullptr; // とじる
    QPushButton *start_ = nullptr;
    QPushButton *stop_ = nullptr;
    QButtonGroup *optionGroup_ = nullptr;                      // ids: the options' question counts
    std::array<ChartButton *, drill::kKanaCount + 1> chart_{}; // by kana index
    QFrame *results_ = nullptr;
    QPushButton *again_ = nullptr;  // もういちどする
    QPushButton *finish_ = nullptr; // おわる, which closes the window
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
