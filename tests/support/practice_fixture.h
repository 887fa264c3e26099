#pragma once

// A practice window with its own session and scripted random numbers.

#include "../drill/scripted_random.h"
#include "drill/session.h"
#include "ui/practicewindow.h"

#include <QAbstractButton>
#include <QPointer>
#include <QTest>

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

    template <typename T = QWidget> T *find(const char *name) const
    {
        T *widget = window->findChild<T *>(QLatin1String(name));
        if (!widget) {
            qFatal("no control named %s", name);
        }
        return widget;
    }
    void click(const char *name) const
    {
        QTest::mouseClick(find<QAbstractButton>(name), Qt::LeftButton);
    }
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
