// Measures the program at work, in a real event loop: opening a practice
// window until it is painted, a chart press until the repaint that shows its
// mark, and the seconds clock over a minute. Prints "key=value" lines;
// tools/bench.sh makes a table of them.
//
//   bench_program --open N     open, paint and close a practice window N times
//   bench_program --press N    N chart presses, right and wrong in turn
//   bench_program --clock      a session left running for a minute
//   bench_program --relayout N lay a practice window out at a new scale and
//                              repaint it, N times over four scales

#include "app/menuwindow.h"
#include "app/program.h"
#include "drill/session.h"
#include "probe.h"
#include "ui/practicewindow.h"
#include "ui/secondsclock.h"
#include "ui/widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <vector>

using drill::Direction;

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "bench_program: %s\n", what);
    std::exit(1);
}

// Watches every object for a paint event that a predicate picks.
class PaintWatch : public QObject
{
public:
    using Pick = std::function<bool(QObject *)>;

    void arm(Pick pick)
    {
        pick_ = std::move(pick);
        seen_ = false;
    }
    bool seen() const { return seen_; }

    // Runs the event loop until the picked paint event was handled and the
    // event that carried it (the repaint with its flush to the screen) has
    // returned; false after five seconds without it.
    bool wait()
    {
        QElapsedTimer limit;
        limit.start();
        while (!seen_) {
            if (limit.elapsed() > 5000) {
                return false;
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        return true;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!seen_ && pick_ && event->type() == QEvent::Paint && pick_(watched)) {
            seen_ = true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    Pick pick_;
    bool seen_ = false;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void report(const char *key, const std::vector<double> &values)
{
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    std::printf("%s_n=%zu\n%s_median_ms=%.3f\n%s_min_ms=%.3f\n%s_p90_ms=%.3f\n%s_max_ms=%.3f\n",
                key, sorted.size(), key, median(sorted), key, sorted.front(), key,
                sorted[sorted.size() * 9 / 10], key, sorted.back());
}

// Lets whatever is pending be handled, updates and their paint included.
void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

// A control of a practice window by its part.
template <typename T = QWidget>
T *child(const ui::PracticeWindow *window, ui::Part part, int index = -1)
{
    return window->layout().get<T>(part, index);
}

bool isPracticeWindow(QObject *object)
{
    return qobject_cast<ui::PracticeWindow *>(object) != nullptr;
}

struct Bench
{
    app::Program program;
    PaintWatch watch;

    Bench()
    {
        qApp->installEventFilter(&watch);
        watch.arm([this](QObject *o) { return o == program.menu(); });
        program.showMenu();
        if (!watch.wait()) {
            fail("the menu was not painted");
        }
        settle();
    }

    ui::PracticeWindow *openPainted(Direction direction)
    {
        watch.arm(isPracticeWindow);
        ui::PracticeWindow *window = program.openPracticeWindow(direction);
        if (!watch.wait()) {
            fail("a practice window was not painted");
        }
        return window;
    }

    void closeWindow(ui::PracticeWindow *window, Direction direction)
    {
        window->close(); // deletes itself on close
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        settle();
        if (program.practiceWindow(direction)) {
            fail("a closed practice window was not deleted");
        }
    }
};

int benchOpen(int count)
{
    Bench bench;
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        const Direction direction = i % 2 ? Direction::KatakanaShown : Direction::HiraganaShown;
        const double t0 = bench::nowMs();
        ui::PracticeWindow *window = bench.openPainted(direction);
        const double t1 = bench::nowMs();
        if (i == 0) {
            std::printf("open_first_ms=%.3f\n", t1 - t0);
        }
        times.push_back(t1 - t0);
        settle();
        bench.closeWindow(window, direction);
    }
    report("open", times);
    return 0;
}

int benchRelayout(int count)
{
    Bench bench;
    ui::PracticeWindow *window = bench.openPainted(Direction::HiraganaShown);
    settle();
    // The scales of an 800 x 600 and a 1366 x 768 screen, of full screen on
    // 1920 x 1080, and the designed one; the first round draws each scale's
    // pictures from their vectors, later rounds find them drawn.
    const std::array<qreal, 4> scales = {0.78125, 0.8, 1.40625, 1.0};
    std::vector<double> first;
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        const qreal scale = scales[static_cast<std::size_t>(i) % scales.size()];
        const double t0 = bench::nowMs();
        window->layout().layOut(scale);
        window->repaint(); // the whole window painted at once
        const double t1 = bench::nowMs();
        (static_cast<std::size_t>(i) < scales.size() ? first : times).push_back(t1 - t0);
        settle();
    }
    std::printf("relayout_first_max_ms=%.3f\n", *std::max_element(first.begin(), first.end()));
    report("relayout", times);
    return 0;
}

// Gets a window's session running again when it has ended.
void ensureRunning(ui::PracticeWindow *window)
{
    if (window->session().running()) {
        return;
    }
    auto *panel = child(window, ui::Part::Results);
    if (panel->isVisible()) {
        QTest::mouseClick(child<QAbstractButton>(window, ui::Part::Again), Qt::LeftButton);
    }
    QTest::mouseClick(child<QAbstractButton>(window, ui::Part::Start), Qt::LeftButton);
    settle();
    if (!window->session().running()) {
        fail("Start did not start a session");
    }
}

int benchPress(int count)
{
    Bench bench;
    ui::PracticeWindow *window = bench.openPainted(Direction::HiraganaShown);
    settle();
    QWidget *ring = child(window, ui::Part::Circle);
    QWidget *cross = child(window, ui::Part::Cross, 1);
    std::vector<double> right;
    std::vector<double> wrong;
    std::vector<double> all;
    for (int i = 0; i < count; ++i) {
        ensureRunning(window);
        const bool answerRight = i % 2 == 0;
        const int current = window->session().CurrentIndex;
        const int k = answerRight ? current : current % drill::kKanaCount + 1;
        QWidget *mark = answerRight ? ring : cross;
        if (mark->isVisible()) {
            fail("a mark is still shown before a press");
        }
        bench.watch.arm([mark](QObject *o) { return o == mark; });
        const double t0 = bench::nowMs();
        QTest::mouseClick(window->chartButton(k), Qt::LeftButton);
        if (!bench.watch.wait()) {
            fail("the mark of a press was not painted");
        }
        const double ms = bench::nowMs() - t0;
        all.push_back(ms);
        (answerRight ? right : wrong).push_back(ms);
        // Judged at once, two ticks, so that the chart is free for the next press.
        window->judgeTick();
        window->judgeTick();
        settle();
    }
    report("press", all);
    report("press_right", right);
    report("press_wrong", wrong);
    return 0;
}

int benchClock()
{
    Bench bench;
    ui::PracticeWindow *window = bench.openPainted(Direction::HiraganaShown);
    settle();
    auto *timeBox = child<QLabel>(window, ui::Part::Seconds);
    const ui::SecondsClock *clock = window->clock();
    double startedAt = 0;
    double sixtyAt = -1;
    // Connected after the window's own connection, so it runs after the label
    // has been set for the tick.
    QObject::connect(clock, &ui::SecondsClock::tick, window, [&] {
        if (sixtyAt < 0 && timeBox->text() == QLatin1String("60")) {
            sixtyAt = bench::nowMs();
        }
    });
    startedAt = bench::nowMs();
    QTest::mouseClick(child<QAbstractButton>(window, ui::Part::Start), Qt::LeftButton);
    // Read half a second into the sixty-first second: the clock must read 60
    // all through [60 s, 61 s).
    QEventLoop loop;
    const int readAfter = 60500;
    QTimer::singleShot(std::max(0, readAfter - static_cast<int>(bench::nowMs() - startedAt)),
                       Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    const double readAt = bench::nowMs() - startedAt;
    std::printf("clock_read_at_ms=%.1f\nclock_reads=%s\nclock_sixty_after_ms=%.1f\n", readAt,
                qPrintable(timeBox->text()), sixtyAt < 0 ? -1.0 : sixtyAt - startedAt);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pokomoji"));
    const QStringList args = QCoreApplication::arguments();
    const QString mode = args.value(1);
    const int count = args.value(2).toInt();
    if (mode == QLatin1String("--open") && count > 0) {
        return benchOpen(count);
    }
    if (mode == QLatin1String("--press") && count > 0) {
        return benchPress(count);
    }
    if (mode == QLatin1String("--relayout") && count > 4) {
        return benchRelayout(count);
    }
    if (mode == QLatin1String("--clock")) {
        return benchClock();
    }
    std::fprintf(stderr, "usage: bench_program --open N | --press N | --relayout N | --clock\n");
    return 2;
}
