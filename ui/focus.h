#pragma once

// Where a practice window's keyboard focus goes when the session's state
// changes. Decided in one place, from the state before and after the change
// and the kind of control that holds the focus, so that a disabled or hidden
// control never hands the focus on to whatever control comes next (とじる or
// おわる, where the next Enter would close the window).

#include "drill/session.h"

namespace ui {

// The control that holds the focus, by its part in the window.
enum class FocusHolder
{
    Chart,   // a chart button
    Start,   // スタート
    Stop,    // ストップ
    Results, // a button of the results panel
    Window,  // the window itself, which holds it while a judgement is pending
    Other,   // とじる, an option, or nothing: only the child moves it
};

enum class FocusMove
{
    Stay,
    Window,      // while the chart is locked, so that a second Enter presses nothing
    LockedChart, // back to the chart button that had it when the chart was locked
    FirstChart,  // the chart's first button in the tab order
    Start,
    Again, // もういちどする, when the results come up
};

FocusMove focusMove(const drill::WindowState &before, const drill::WindowState &after,
                    FocusHolder holder);

} // namespace ui
