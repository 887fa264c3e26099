#pragma once

// A clock that ticks once per interval without drifting: each tick is
// scheduled for the next whole multiple of the interval since start, and a
// tick that comes late is caught up, so after N intervals N ticks have been
// delivered whatever the load of the event loop.

#include <QObject>
#include <QTimer>
#include <functional>

namespace ui {

class SecondsClock : public QObject
{
    Q_OBJECT
public:
    // Milliseconds on a monotonic clock; tests hand in a clock of their own.
    using Now = std::function<qint64()>;
    explicit SecondsClock(int intervalMs, QObject *parent = nullptr, Now now = {});
    void start();
    void stop();
    bool isActive() const { return active_; }

signals:
    void tick();

private:
    void onTimeout();
    void scheduleNext();

    int interval_;
    bool active_ = false;
    qint64 delivered_ = 0;
    Now now_;
    qint64 startedAt_ = 0;
    QTimer timer_{this};
};

} // namespace ui
