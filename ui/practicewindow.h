#pragma once

// A practice window: the question and answer boxes, the 71-button chart, the
// score and the seconds, the options, Start and Stop, the marks and the
// results panel. It forwards every press and timer tick to its session and
// then shows the session's state. One class serves both windows; the
// session's direction decides which script is asked and which is answered.

#include "builtlayout.h"
#include "drill/session.h"
#include "focus.h"

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <array>
#include <vector>

class QButtonGroup;
class QFrame;
class QLabel;
class QPushButton;
class QTimer;

namespace ui {

class FlatButton;
class Picture;
class Ring;
class SecondsClock;
class WindowPlacement;
class Stroke;

// The intervals of the window's two timers; tests shorten them.
struct PracticeTiming
{
    int judgeIntervalMs = 1000; // Timer1
    int clockIntervalMs = 1000; // Timer2
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
    FlatButton *chartButton(int kanaIndex) const;
    // For the arrow keys: the nearest chart button from a kana's cell in a
    // direction of the kana table, skipping its empty cells; null at the edge.
    FlatButton *chartNeighbour(int kanaIndex, int columnStep, int rowStep) const;

    // The timers' ticks, also callable by tests that drive time themselves.
    void judgeTick();
    void clockTick();

    // Places the window on its screen by the rule of WindowPlacement: whole,
    // centred and scaled down where it does not fit, or filling the screen
    // in full screen. From then on the window follows its screen.
    void centreOnScreen();
    // F11: the whole screen, the content scaled to it and centred; again,
    // the designed window.
    void toggleFullScreen();
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
    void buildResultsPanel();
    void setTabOrder();
    void describeForAccessibility(bool hiraganaShown);
    void guardKeys();
    bool keyMustNotPress(QObject *watched, QEvent *event);
    drill::Option selectedOption() const;
    void pressChart(int kanaIndex);
    void render();
    FocusHolder focusHolder() const;
    void placeFocus(FocusMove move);
    void renderChart(const drill::WindowState &state);
    void renderTimers(const drill::WindowState &state);

    drill::Session &session_;
    Timing timing_;
    BuiltLayout layout_;
    WindowPlacement *placement_ = nullptr;

    QLabel *label1_ = nullptr;
    QLabel *label2_ = nullptr;
    QLabel *timeBox_ = nullptr;
    QLabel *tokuten_ = nullptr;
    Picture *image1_ = nullptr;
    Picture *image2_ = nullptr;
    Ring *shape1_ = nullptr;
    Stroke *line1_ = nullptr;
    Stroke *line2_ = nullptr;
    FlatButton *command2_ = nullptr;
    QPushButton *command3_ = nullptr;
    QPushButton *command4_ = nullptr;
    std::array<FlatButton *, 3> options_{};
    QButtonGroup *optionGroup_ = nullptr;
    std::array<FlatButton *, drill::kKanaCount + 1> chart_{}; // by kana index
    QFrame *showWindow_ = nullptr;
    QLabel *label10_ = nullptr;
    QLabel *label11_ = nullptr;
    QPushButton *command6_ = nullptr;
    QPushButton *command7_ = nullptr;
    QTimer *timer1_ = nullptr;
    SecondsClock *timer2_ = nullptr;
    QTimer *keyHoldOff_ = nullptr;      // runs while the keys are held off
    QHash<int, quint64> keyReleasedAt_; // by key, the time of its last release

    // The state the window shows now, to change only what a new state changes.
    drill::WindowState shown_;
    // The chart button that had the keyboard focus when the chart was locked
    // for a judgement; it gets the focus back when the chart is released.
    QPointer<QWidget> focusBeforeLock_;
};

} // namespace ui
