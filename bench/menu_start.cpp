// The program's own start, as app/main.cpp does it, with a probe on the
// menu that reports its first paint and ends the program.
//
//   bench_menu_start            start-up to the menu's first paint
//   bench_menu_start --memory   then both practice windows, opened and
//                               painted; prints the peak memory
//
// The memory is measured here rather than in bench_program so that the
// process holds what the program holds and no test library besides.

#include "app/menuwindow.h"
#include "app/program.h"
#include "probe.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>

namespace {

// Counts the first paint of each window.
class WindowPaints : public QObject
{
public:
    int count() const { return static_cast<int>(seen_.size()); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->isWindow() && !seen_.contains(watched)) {
            seen_.append(watched);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QList<QObject *> seen_;
};

void dumpSmaps()
{
    if (qEnvironmentVariableIsSet("POKOMOJI_BENCH_SMAPS")) {
        QFile smaps(QStringLiteral("/proc/self/smaps"));
        if (smaps.open(QIODevice::ReadOnly)) {
            std::fputs(smaps.readAll().constData(), stderr);
        }
    }
}

int memory(app::Program &program)
{
    WindowPaints paints;
    qApp->installEventFilter(&paints);
    program.showMenu();
    QElapsedTimer limit;
    limit.start();
    auto waitFor = [&](auto done) {
        while (!done() && limit.elapsed() < 10000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        for (int i = 0; i < 3; ++i) { // the rest of the repaint, and what it posted
            QCoreApplication::processEvents();
        }
        return done();
    };
    if (!waitFor([&] { return paints.count() == 1; })) {
        std::fprintf(stderr, "bench_menu_start: the menu was not painted\n");
        return 1;
    }
    std::printf("menu_vmhwm_kb=%ld\n", bench::statusKb("VmHWM"));
    program.openPracticeWindow(drill::Direction::HiraganaShown);
    if (!waitFor([&] { return paints.count() == 2; })) {
        std::fprintf(stderr, "bench_menu_start: the first practice window was not painted\n");
        return 1;
    }
    std::printf("one_vmhwm_kb=%ld\n", bench::statusKb("VmHWM"));
    program.openPracticeWindow(drill::Direction::KatakanaShown);
    if (!waitFor([&] { return paints.count() == 3; })) {
        std::fprintf(stderr, "bench_menu_start: the second practice window was not painted\n");
        return 1;
    }
    std::printf("all_vmhwm_kb=%ld\nall_vmrss_kb=%ld\n", bench::statusKb("VmHWM"),
                bench::statusKb("VmRSS"));
    dumpSmaps();
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    const double launched = bench::launchedMs();
    bench::phase("loaded", launched);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pokomoji"));
    QApplication::setApplicationDisplayName(QStringLiteral("ぽこもじ"));
    bench::phase("application", launched);

    app::Program program;
    QApplication::setWindowIcon(program.menu()->windowIcon());
    bench::phase("built", launched);
    if (QCoreApplication::arguments().value(1) == QLatin1String("--memory")) {
        return memory(program);
    }
    bench::FirstPaint probe(launched);
    program.menu()->installEventFilter(&probe);
    program.showMenu();
    bench::phase("shown", launched);
    return QApplication::exec();
}
