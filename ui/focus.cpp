// The rule for where the focus goes when the session's state changes.

#include "focus.h"

namespace ui {

FocusMove focusMove(const drill::WindowState &before, const drill::WindowState &after,
                    FocusHolder holder)
{
    // The results take the focus when they come up, so that the next press
    // is もういちどする.
    if (!before.resultsVisible && after.resultsVisible) {
        return FocusMove::Again;
    }
    // After a session has started the chart is next; with the chart locked
    // only the window itself is safe.
    const FocusMove chartOrWindow = after.chartEnabled ? FocusMove::FirstChart : FocusMove::Window;
    switch (holder) {
    case FocusHolder::Results:
        if (!after.resultsVisible) {
            return after.startEnabled() ? FocusMove::Start : chartOrWindow;
        }
        break;
    case FocusHolder::Start:
        if (!after.startEnabled()) {
            return chartOrWindow;
        }
        break;
    case FocusHolder::Stop:
        if (!after.stopEnabled()) {
            return FocusMove::Start; // Stop is disabled only where Start is enabled
        }
        break;
    case FocusHolder::Chart:
        if (!after.chartEnabled) {
            return FocusMove::Window;
        }
        break;
    case FocusHolder::Window:
        // The window keeps the focus only while a press waits for its
        // judgement; then the pressed button has it again, or Start when
        // the session was stopped meanwhile.
        if (after.phase == drill::Phase::Judging) {
            break;
        }
        if (after.chartEnabled && after.phase != drill::Phase::Idle) {
            return FocusMove::LockedChart;
        }
        if (after.startEnabled()) {
            return FocusMove::Start;
        }
        break;
    case FocusHolder::Other:
        break;
    }
    return FocusMove::Stay;
}

} // namespace ui
