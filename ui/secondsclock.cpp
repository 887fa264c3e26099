// The seconds clock's scheduling on whole multiples of its interval.

#include "secondsclock.h"

#include <QDeadlineTimer>

namespace ui {

SecondsClock::SecondsClock(int intervalMs, QObject *parent, Now now)
    : QObject(parent), interval_(intervalMs),
      now_(now ? std::move(now) : [] { return QDeadlineTimer::current().deadline(); })
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &SecondsClock::onTimeout);
}

void SecondsClock::start()
{
    active_ = true;
    delivered_ = 0;
    startedAt_ = now_();
    scheduleNext();
}

void SecondsClock::stop()
{
    active_ = false;
    timer_.stop();
}

void SecondsClock::onTimeout()
{
    const qint64 due = (now_() - startedAt_) / interval_;
    while (active_ && delivered_ < due) {
        ++delivered_;
        emit tick(); // a receiver may stop the clock
    }
    if (active_) {
        scheduleNext();
    }
}

void SecondsClock::scheduleNext()
{
    const qint64 wait = (delivered_ + 1) * interval_ - (now_() - startedAt_);
    timer_.start(static_cast<int>(qMax<qint64>(0, wait)));
}

} // namespace ui
