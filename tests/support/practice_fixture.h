#pragma once

// A practice window with its own session and scripted random numbers.

#include "../drill/scripted_random.h"
#include "controls.h"
#include "drill/session.h"
#include "ui/practicewindow.h"

#include <QPointer>

namespace testing {

struct PracticeFixture
{
    explicit PracticeFixture(drill::Direction direction = drill::Direction::HiraganaShown,
                             std::deque<double> script = {}, ui::PracticeTiming timing = {})
        : random(std::move(script)), session(direction, random),
          window(new ui::PracticeWindow(session, timing))
    {
    }
    ~PracticeFixture() { delete window.data(); }

    template <typename T = QWidget> T *find(Part part, int index = -1) const
    {
        return control<T>(window.data(), part, index);
    }
    void click(Part part, int index = -1) const { testing::click(window.data(), part, index); }
    QString text(Part part) const { return testing::text(window.data(), part); }
    void judge() const
    {
        window->judgeTick();
        window->judgeTick();
    }

    drill::testing::ScriptedRandom random;
    drill::Session session;
    QPointer<ui::PracticeWindow> window;
};

} // namespace testing
