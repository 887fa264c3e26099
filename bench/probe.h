#pragma once

// What the measuring programs share: the monotonic clock, the moment the
// process was launched, the peak memory, and a probe that reports the first
// paint of a window.

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QObject>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <unistd.h>

namespace bench {

inline double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// When the process was launched, in nowMs() terms: from bench_launch's
// reading, or else from the start time in /proc/self/stat (clock ticks since
// boot, compared with the boot-time clock; coarser, 10 ms at 100 Hz).
inline double launchedMs()
{
    if (const char *t0 = std::getenv("POKOMOJI_BENCH_T0_NS")) {
        return static_cast<double>(std::atoll(t0)) / 1e6;
    }
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly)) {
        return nowMs();
    }
    const QString line = QString::fromLatin1(stat.readAll());
    // The fields after the command name, which is in parentheses; the start
    // time is field 22 of the whole line, the 20th after the name.
    const QStringList fields =
        line.mid(line.lastIndexOf(QLatin1Char(')')) + 2).split(QLatin1Char(' '));
    const double startTicks = fields.value(19).toDouble();
    timespec boot{};
    clock_gettime(CLOCK_BOOTTIME, &boot);
    const double bootMs =
        static_cast<double>(boot.tv_sec) * 1e3 + static_cast<double>(boot.tv_nsec) / 1e6;
    const double sinceStartMs =
        bootMs - startTicks * 1e3 / static_cast<double>(sysconf(_SC_CLK_TCK));
    return nowMs() - sinceStartMs;
}

// Prints how long after the launch a phase of the start-up ended, as
// phase_NAME_ms=..., for tools/bench.sh's table of phases.
inline void phase(const char *name, double launched)
{
    std::printf("phase_%s_ms=%.3f\n", name, nowMs() - launched);
}

// A field of /proc/self/status in kB, such as VmHWM or VmRSS; -1 if absent.
inline long statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return -1;
    }
    // Files in /proc have no size, so atEnd() is true at once: read it whole.
    const QByteArray key = QByteArray(field) + ':';
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith(key)) {
            return line.mid(key.size()).trimmed().split(' ').value(0).toLong();
        }
    }
    return -1;
}

// Watches a window for its first paint event; then prints the milliseconds
// since launch and the peak memory so far, and ends the event loop.
class FirstPaint : public QObject
{
public:
    explicit FirstPaint(double launched) : launched_(launched) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!seen_ && event->type() == QEvent::Paint) {
            seen_ = true;
            const double ms = nowMs() - launched_;
            std::printf("first_paint_ms=%.3f\nvmhwm_kb=%ld\n", ms, statusKb("VmHWM"));
            std::fflush(stdout);
            if (qEnvironmentVariableIsSet("POKOMOJI_BENCH_SMAPS")) {
                QFile smaps(QStringLiteral("/proc/self/smaps"));
                if (smaps.open(QIODevice::ReadOnly)) {
                    std::fputs(smaps.readAll().constData(), stderr);
                }
            }
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    double launched_;
    bool seen_ = false;
};

} // namespace bench
