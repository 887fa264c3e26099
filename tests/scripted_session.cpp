// A whole visit played through the widgets, for memcheck: the menu opens both
// practice windows, sessions are started, answered right and wrong, judged,
// stopped, begun again, a window is closed and opened anew, and the menu's end
// button ends the program. Every step checks what the windows show, so a
// run that goes wrong ends with exit status 1.

#include "app/menuwindow.h"
#include "app/program.h"
#include "drill/session.h"
#include "ui/practicewindow.h"
#include "ui/widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QtTest>

#include <cstdio>

using drill::Direction;

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

template <typename T = QWidget> T *child(QWidget *window, const char *name)
{
    T *found = window ? window->findChild<T *>(QLatin1String(name)) : nullptr;
    if (!found) {
        std::fprintf(stderr, "scripted_session: no control %s\n", name);
        std::exit(1);
    }
    return found;
}

void click(QWidget *window, const char *name)
{
    QTest::mouseClick(child<QAbstractButton>(window, name), Qt::LeftButton);
    settle();
}

QString text(QWidget *window, const char *name)
{
    return child<QLabel>(window, name)->text();
}

// Presses a chart button, checks that its mark shows, judges the press and
// checks that the mark is gone again.
void pressAndJudge(ui::PracticeWindow *window, int kanaIndex, const char *mark, const char *shows,
                   const char *hides)
{
    QTest::mouseClick(window->chartButton(kanaIndex), Qt::LeftButton);
    settle();
    check(child(window, mark)->isVisible(), shows);
    window->judgeTick();
    window->judgeTick();
    settle();
    check(!child(window, mark)->isVisible(), hides);
}

void pressRight(ui::PracticeWindow *window)
{
    pressAndJudge(window, window->session().CurrentIndex, "Shape1",
                  "a right press shows the circle", "judging hides the circle");
}

void pressWrong(ui::PracticeWindow *window)
{
    pressAndJudge(window, window->session().CurrentIndex % drill::kKanaCount + 1, "Line1",
                  "a wrong press shows the cross", "judging hides the cross");
}

void play(app::Program &program)
{
    click(program.menu(), "Command1");
    click(program.menu(), "Command3");
    ui::PracticeWindow *katakana = program.practiceWindow(Direction::HiraganaShown);
    ui::PracticeWindow *hiragana = program.practiceWindow(Direction::KatakanaShown);
    check(katakana && hiragana, "the menu opens both practice windows");
    if (!katakana || !hiragana) {
        return;
    }

    for (ui::PracticeWindow *window : {katakana, hiragana}) {
        click(window, "Option3"); // すこし, 15 questions
        click(window, "Command3");
        check(window->session().running(), "Start starts a session");
        pressRight(window);
        pressWrong(window);
        pressRight(window);
        check(text(window, "Tokuten") == QLatin1String("15"), "10 + 5 points");
        const int seconds = text(window, "TimeBox").toInt();
        window->clockTick();
        check(text(window, "TimeBox").toInt() == seconds + 1, "a clock tick counts a second");
        click(window, "Command4"); // Stop
        check(child(window, "ShowWindow")->isVisible(), "Stop shows the results");
        check(text(window, "Label11") == QLatin1String("15"), "the results show the score");
        click(window, "Command6"); // again
        check(!child(window, "ShowWindow")->isVisible(), "again hides the results");
        click(window, "Command3");
        pressWrong(window);
        pressRight(window);
    }

    // The katakana drill played to its end: 15 questions, then the results.
    for (int i = 0; i < 20 && katakana->session().running(); ++i) {
        pressRight(katakana);
    }
    check(!katakana->session().running(), "fifteen right answers end the session");
    check(child(katakana, "ShowWindow")->isVisible(), "the end shows the results");

    // Closed with とじる, mid-session for the other, and opened anew.
    click(katakana, "Command2");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    settle();
    check(program.practiceWindow(Direction::HiraganaShown) == nullptr, "とじる closes the window");
    click(program.menu(), "Command1");
    katakana = program.practiceWindow(Direction::HiraganaShown);
    check(katakana != nullptr, "the menu opens the window again");
    if (katakana) {
        check(text(katakana, "Tokuten") == QLatin1String("0"), "a new window shows the load state");
        click(katakana, "Command3");
        pressRight(katakana);
        pressWrong(katakana);
    }
    // おわる on the results panel closes the other one.
    click(hiragana, "Command4");
    click(hiragana, "Command7");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    settle();
    check(program.practiceWindow(Direction::KatakanaShown) == nullptr, "おわる closes the window");
    click(program.menu(), "Command3");
    check(program.practiceWindow(Direction::KatakanaShown) != nullptr, "and it opens again");

    // The end button ends the event loop with both windows open.
    QTest::mouseClick(child<QAbstractButton>(program.menu(), "Command2"), Qt::LeftButton);
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
