// A whole visit played through the widgets, for memcheck: the menu opens both
// practice windows, sessions are started, answered right and wrong, judged,
// stopped, begun again, a window is closed and opened anew, and the menu's end
// button ends the program. Every step checks what the windows show, so a
// run that goes wrong ends with exit status 1.

#include "app/menuwindow.h"
#include "app/program.h"
#include "drill/session.h"
#include "support/controls.h"
#include "ui/practicewindow.h"
#include "ui/widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QtTest>

#include <cstdio>

using drill::Direction;
using testing::control;
using testing::Part;
using testing::text;

namespace {

int failures = 0;

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "scripted_session: FAILED: %s\n", what);
        ++failures;
    }
}

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

template <typename Window> void click(const Window *window, Part part, int index = -1)
{
    testing::click(window, part, index);
    settle();
}

// Presses a chart button, checks that its mark shows, judges the press and
// checks that the mark is gone again.
void pressAndJudge(ui::PracticeWindow *window, int kanaIndex, Part mark, const char *shows,
                   const char *hides)
{
    QTest::mouseClick(window->chartButton(kanaIndex), Qt::LeftButton);
    settle();
    check(control(window, mark)->isVisible(), shows);
    window->judgeTick();
    window->judgeTick();
    settle();
    check(!control(window, mark)->isVisible(), hides);
}

void pressRight(ui::PracticeWindow *window)
{
    pressAndJudge(window, window->session().CurrentIndex, Part::Circle,
                  "a right press shows the circle", "judging hides the circle");
}

void pressWrong(ui::PracticeWindow *window)
{
    pressAndJudge(window, window->session().CurrentIndex % drill::kKanaCount + 1, Part::Cross,
                  "a wrong press shows the cross", "judging hides the cross");
}

void play(app::Program &program)
{
    click(program.menu(), Part::KatakanaDrill);
    click(program.menu(), Part::HiraganaDrill);
    ui::PracticeWindow *katakana = program.practiceWindow(Direction::HiraganaShown);
    ui::PracticeWindow *hiragana = program.practiceWindow(Direction::KatakanaShown);
    check(katakana && hiragana, "the menu opens both practice windows");
    if (!katakana || !hiragana) {
        return;
    }

    for (ui::PracticeWindow *window : {katakana, hiragana}) {
        click(window, Part::Option, 3); // すこし, 15 questions
        click(window, Part::Start);
        check(window->session().running(), "Start starts a session");
        pressRight(window);
        pressWrong(window);
        pressRight(window);
        check(text(window, Part::Score) == QLatin1String("15"), "10 + 5 points");
        const int seconds = text(window, Part::Seconds).toInt();
        window->clockTick();
        check(text(window, Part::Seconds).toInt() == seconds + 1, "a clock tick counts a second");
        click(window, Part::Stop); // Stop
        check(control(window, Part::Results)->isVisible(), "Stop shows the results");
        check(text(window, Part::ResultScore) == QLatin1String("15"), "the results show the score");
        click(window, Part::Again); // again
        check(!control(window, Part::Results)->isVisible(), "again hides the results");
        click(window, Part::Start);
        pressWrong(window);
        pressRight(window);
    }

    // The katakana drill played to its end: 15 questions, then the results.
    for (int i = 0; i < 20 && katakana->session().running(); ++i) {
        pressRight(katakana);
    }
    check(!katakana->session().running(), "fifteen right answers end the session");
    check(control(katakana, Part::Results)->isVisible(), "the end shows the results");

    // Closed with とじる, mid-session for the other, and opened anew.
    click(katakana, Part::Close);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    settle();
    check(program.practiceWindow(Direction::HiraganaShown) == nullptr, "とじる closes the window");
    click(program.menu(), Part::KatakanaDrill);
    katakana = program.practiceWindow(Direction::HiraganaShown);
    check(katakana != nullptr, "the menu opens the window again");
    if (katakana) {
        check(text(katakana, Part::Score) == QLatin1String("0"),
              "a new window shows the load state");
        click(katakana, Part::Start);
        pressRight(katakana);
        pressWrong(katakana);
    }
    // おわる on the results panel closes the other one.
    click(hiragana, Part::Stop);
    click(hiragana, Part::Finish);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    settle();
    check(program.practiceWindow(Direction::KatakanaShown) == nullptr, "おわる closes the window");
    click(program.menu(), Part::HiraganaDrill);
    check(program.practiceWindow(Direction::KatakanaShown) != nullptr, "and it opens again");

    // The end button ends the event loop with both windows open.
    testing::click(program.menu(), Part::Quit);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pokomoji"));
    int status = 1;
    {
        // The judge timer is left to the script (judgeTick), however slowly
        // memcheck runs; the seconds clock runs as in the program.
        app::Program program(ui::PracticeTiming{600000, 1000});
        program.showMenu();
        QTimer::singleShot(0, &program, [&program] { play(program); });
        // A step that hangs ends the run as a failure.
        QTimer::singleShot(300000, &program, [] {
            std::fprintf(stderr, "scripted_session: FAILED: the end button did not end it\n");
            QCoreApplication::exit(3);
        });
        status = QApplication::exec();
    }
    if (status != 0) {
        return status;
    }
    if (failures) {
        std::fprintf(stderr, "scripted_session: %d checks failed\n", failures);
        return 1;
    }
    std::printf("scripted_session: every step as expected\n");
    return 0;
}
