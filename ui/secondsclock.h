#pragma once

// A clock that ticks once per interval without drifting: each tick is
// scheduled for the next whole multiple of the interval since start, and a
// tick that comes late is caught up, so after N intervals N ticks have been
// delivered whatever the load of the event loop.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace ui {

class SecondsClock : public QObject
{
    Q_OBJECT
public:
    explicit SecondsClock(int intervalMs, QObject *parent = nullptr);
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
    QElapsedTimer elapsed_;
    QTimer timer_;
};

} // namespace ui
