// The program as a whole: the menu, opening and closing the practice
// windows, and ending.

#include "../support/controls.h"
#include "../support/keys.h"
#include "app/menuwindow.h"
#include "app/program.h"
#include "drill/session.h"
#include "ui/keyguard.h"
#include "ui/look.h"
#include "ui/picturecache.h"
#include "ui/practicewindow.h"
#include "ui/widgets.h"

#include <QAbstractButton>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTimer>
#include <QtTest>

using drill::Direction;
using testing::Part;

namespace {

// A button of the menu, or else of the katakana drill, by its part.
QAbstractButton *buttonOf(const app::Program &program, Part part)
{
    if (part == Part::Quit || part == Part::KatakanaDrill || part == Part::HiraganaDrill) {
        return testing::control<QAbstractButton>(program.menu(), part);
    }
    return testing::control<QAbstractButton>(program.practiceWindow(Direction::HiraganaShown),
                                             part);
}

// A click as a hand makes it: at a place on the screen and a time, handed
// to the window that is under it then, as the window system hands it.
void clickAt(QWidget *button, QPoint onScreen, quint64 time)
{
    const QPointF local = button->mapTo(button->window(), QRectF(button->rect()).center());
    for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, local, local, onScreen, Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        event.setTimestamp(time);
        QApplication::sendEvent(button->window()->windowHandle(), &event);
    }
}

} // namespace

class ProgramTest : public QObject
{
    Q_OBJECT

private slots:
    void menuLayout_data();
    void menuLayout();
    void menuWindow();
    void menuFocusAndTabOrder();
    void menuButtonsOpenTheirWindows_data();
    void menuButtonsOpenTheirWindows();
    void openingTwiceShowsOneWindow();
    void closingAndReopeningLoadsAnew_data();
    void closingAndReopeningLoadsAnew();
    void bothWindowsAreIndependent();
    void closingTheMenuLeavesPracticeWindowsRunning();
    void endButtonEndsTheProgramAtOnce();
    void aDoubleClickActsInItsOwnWindowOnly_data();
    void aDoubleClickActsInItsOwnWindowOnly();
    void aHeldKeyPressesNothingInTheMenu_data();
    void aHeldKeyPressesNothingInTheMenu();
};

void ProgramTest::menuLayout_data()
{
    QTest::addColumn<Part>("part");
    QTest::addColumn<QRect>("expected");
    QTest::addColumn<QColor>("face");
    QTest::addColumn<QString>("picture");
    QTest::newRow("Command1") << Part::KatakanaDrill << QRect(16, 16, 313, 97)
                              << QColor(254, 255, 204) << ":/pictures/menu_katakana.svg";
    QTest::newRow("Command3") << Part::HiraganaDrill << QRect(16, 128, 313, 97)
                              << QColor(254, 255, 204) << ":/pictures/menu_hiragana.svg";
    QTest::newRow("Command2") << Part::Quit << QRect(184, 240, 145, 57) << QColor(237, 215, 255)
                              << ":/pictures/menu_end.svg";
}

void ProgramTest::menuLayout()
{
    QFETCH(Part, part);
    QFETCH(QRect, expected);
    QFETCH(QColor, face);
    QFETCH(QString, picture);
    app::MenuWindow menu;
    auto *control = testing::control<ui::RaisedButton>(&menu, part);
    QCOMPARE(control->geometry(), expected);
    QCOMPARE(control->face(), face);
    QCOMPARE(control->picture(), picture);
    QCOMPARE(control->text(), QString()); // a picture, no caption
    // The picture is centred with a margin of the button colour around it.
    const QImage image = control->grab().toImage();
    QCOMPARE(image.pixelColor(4, expected.height() / 2), face);
    QCOMPARE(image.pixelColor(expected.width() / 2, 3), face);
    // All four edges show on the white window, in neither white nor the face.
    for (QPoint edge : {QPoint(0, expected.height() / 2), QPoint(expected.width() / 2, 0),
                        QPoint(expected.width() - 1, expected.height() / 2),
                        QPoint(expected.width() / 2, expected.height() - 1)}) {
        const QColor colour = image.pixelColor(edge);
        QVERIFY2(colour != QColor(Qt::white) && colour != face,
                 qPrintable(QStringLiteral("%1,%2").arg(edge.x()).arg(edge.y())));
    }
    const QSize size = ui::pictureSize(picture);
    QVERIFY(size.width() < expected.width() && size.height() < expected.height());
}

void ProgramTest::menuWindow()
{
    app::MenuWindow menu;
    QCOMPARE(menu.windowTitle(), QStringLiteral("ぽこもじ ver1.0"));
    QCOMPARE(menu.objectName(), QStringLiteral("Form1"));
    QCOMPARE(menu.size(), QSize(346, 302));
    QVERIFY(!menu.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(menu.maximumSize().width() > 346); // an ordinary resizable window
    // The icon at every size it is drawn at.
    QCOMPARE(menu.windowIcon().availableSizes(),
             QList<QSize>({{16, 16}, {22, 22}, {24, 24}, {32, 32}, {48, 48}}));
    QCOMPARE(menu.palette().color(QPalette::Window), QColor(Qt::white));
    auto *teacher = testing::control<ui::Picture>(&menu, Part::Teacher);
    QCOMPARE(teacher->geometry(), QRect(16, 232, 66, 65));
    // The controls keep their places when the window is resized.
    menu.resize(800, 600);
    QCOMPARE(testing::control(&menu, Part::Quit)->geometry(), QRect(184, 240, 145, 57));
    QCOMPARE(teacher->geometry(), QRect(16, 232, 66, 65));
}

void ProgramTest::menuFocusAndTabOrder()
{
    app::Program program;
    program.showMenu();
    QVERIFY(QTest::qWaitForWindowActive(program.menu()));
    const app::MenuWindow *menu = program.menu();
    QCOMPARE(QApplication::focusWidget(), testing::control(menu, Part::KatakanaDrill));
    for (Part next : {Part::Quit, Part::HiraganaDrill, Part::KatakanaDrill}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), testing::control(menu, next));
    }
    // Enter on Command1 opens the katakana drill, which gets the focus.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ui::PracticeWindow *form2 = program.practiceWindow(Direction::HiraganaShown);
    QVERIFY(form2);
    QVERIFY(QTest::qWaitForWindowActive(form2));
    QCOMPARE(QApplication::focusWidget(), form2->chartButton(43));
}

void ProgramTest::menuButtonsOpenTheirWindows_data()
{
    QTest::addColumn<Part>("button");
    QTest::addColumn<Direction>("direction");
    QTest::addColumn<QString>("windowName");
    QTest::newRow("Command1") << Part::KatakanaDrill << Direction::HiraganaShown << "Form2";
    QTest::newRow("Command3") << Part::HiraganaDrill << Direction::KatakanaShown << "Form3";
}

void ProgramTest::menuButtonsOpenTheirWindows()
{
    QFETCH(Part, button);
    QFETCH(Direction, direction);
    QFETCH(QString, windowName);
    app::Program program;
    program.showMenu();
    QVERIFY(!program.session(direction));
    testing::click(program.menu(), button);
    ui::PracticeWindow *window = program.practiceWindow(direction);
    QVERIFY(window);
    QCOMPARE(window->objectName(), windowName);
    QVERIFY(window->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(window));
    QVERIFY(program.session(direction));
    QCOMPARE(&window->session(), program.session(direction));
    // Centred on its screen.
    QCOMPARE(window->geometry().center(), window->screen()->geometry().center());
    QVERIFY(program.menu()->isVisible()); // the menu stays open behind it
}

void ProgramTest::openingTwiceShowsOneWindow()
{
    app::Program program;
    program.showMenu();
    ui::PracticeWindow *first = program.openPracticeWindow(Direction::HiraganaShown);
    testing::click(first, Part::Start);
    const std::string question = first->session().state().question;
    program.menu()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(program.menu()));
    testing::click(program.menu(), Part::KatakanaDrill);
    QCOMPARE(program.practiceWindow(Direction::HiraganaShown), first);
    QVERIFY(QTest::qWaitForWindowActive(first));
    QVERIFY(first->session().running()); // brought to the front, not loaded anew
    QCOMPARE(first->session().state().question, question);
    int windows = 0;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        windows += w->objectName() == QLatin1String("Form2") && w->isVisible() ? 1 : 0;
    }
    QCOMPARE(windows, 1);
}

void ProgramTest::closingAndReopeningLoadsAnew_data()
{
    QTest::addColumn<Part>("closer");
    QTest::addColumn<bool>("burst"); // the menu's button pressed before the window is gone
    QTest::newRow("とじる") << Part::Close << false;
    QTest::newRow("おわる") << Part::Finish << false;
    QTest::newRow("とじる and the menu's button in one burst") << Part::Close << true;
    QTest::newRow("おわる and the menu's button in one burst") << Part::Finish << true;
}

void ProgramTest::closingAndReopeningLoadsAnew()
{
    QFETCH(Part, closer);
    QFETCH(bool, burst);
    app::Program program;
    program.showMenu();
    QPointer<ui::PracticeWindow> window = program.openPracticeWindow(Direction::KatakanaShown);
    drill::Session *session = program.session(Direction::KatakanaShown);
    testing::click(window.data(), Part::Start);
    QTest::mouseClick(window->chartButton(session->CurrentIndex), Qt::LeftButton);
    const int answered = session->PressedIndex;
    QCOMPARE(window->chartButton(answered)->face(), ui::bgr(ui::colour::Peach));
    QVERIFY(window->judgeTimer()->isActive());
    if (closer == Part::Finish) {
        testing::click(window.data(), Part::Stop); // the results panel
    }
    testing::click(window.data(), closer);
    if (burst) {
        testing::click(program.menu(), Part::HiraganaDrill);
    }
    QTRY_VERIFY(window.isNull());
    QCOMPARE(program.session(Direction::KatakanaShown), session); // the instance lives on
    if (!burst) {
        QVERIFY(!program.practiceWindow(Direction::KatakanaShown));
        program.openPracticeWindow(Direction::KatakanaShown);
    }
    ui::PracticeWindow *again = program.practiceWindow(Direction::KatakanaShown);
    QVERIFY(again && again->isVisible()); // the drill asked for last is on the screen
    QCOMPARE(&again->session(), session);
    QCOMPARE(again->chartButton(answered)->face(), ui::bgr(ui::colour::LightGrey));
    QCOMPARE(testing::text(again, Part::Question), QString());
    QCOMPARE(testing::text(again, Part::Score), QStringLiteral("0"));
    QVERIFY(testing::control(again, Part::Results)->isHidden());
    QVERIFY(testing::control(again, Part::Circle)->isHidden());
    QVERIFY(!again->judgeTimer()->isActive());
    QVERIFY(testing::control(again, Part::Start)->isEnabled());
}

void ProgramTest::bothWindowsAreIndependent()
{
    app::Program program;
    program.showMenu();
    ui::PracticeWindow *form2 = program.openPracticeWindow(Direction::HiraganaShown);
    ui::PracticeWindow *form3 = program.openPracticeWindow(Direction::KatakanaShown);
    QVERIFY(form2->isVisible() && form3->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(form3)); // the one opened last is in front
    testing::click(form2, Part::Start);
    QVERIFY(program.session(Direction::HiraganaShown)->running());
    QVERIFY(!program.session(Direction::KatakanaShown)->running());
    QCOMPARE(testing::text(form3, Part::Question), QString());
    QVERIFY(testing::control(form3, Part::Start)->isEnabled());
    QTest::mouseClick(form2->chartButton(program.session(Direction::HiraganaShown)->CurrentIndex),
                      Qt::LeftButton);
    QCOMPARE(testing::text(form2, Part::Score), QStringLiteral("10"));
    QCOMPARE(testing::text(form3, Part::Score), QStringLiteral("0"));
    QPointer<ui::PracticeWindow> closing = form2;
    form2->close();
    QTRY_VERIFY(closing.isNull());
    QVERIFY(form3->isVisible());
}

void ProgramTest::closingTheMenuLeavesPracticeWindowsRunning()
{
    app::Program program;
    program.showMenu();
    QPointer<ui::PracticeWindow> form2 = program.openPracticeWindow(Direction::HiraganaShown);
    testing::click(form2.data(), Part::Start);
    bool stillRunning = false;
    QTimer::singleShot(0, [&] { program.menu()->close(); });
    QTimer::singleShot(300, [&] {
        // The menu is gone, the practice window plays on.
        stillRunning = form2 && form2->isVisible() && !program.menu()->isVisible() &&
                       program.session(Direction::HiraganaShown)->running();
        form2->close(); // the last window: the program ends
    });
    QTimer failsafe;
    failsafe.setSingleShot(true);
    connect(&failsafe, &QTimer::timeout, [] { QCoreApplication::exit(3); });
    failsafe.start(5000);
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(stillRunning);
}

void ProgramTest::endButtonEndsTheProgramAtOnce()
{
    app::Program program;
    program.showMenu();
    ui::PracticeWindow *form2 = program.openPracticeWindow(Direction::HiraganaShown);
    program.openPracticeWindow(Direction::KatakanaShown);
    testing::click(form2, Part::Start); // mid-session
    bool closedAWindow = false;
    connect(form2, &QObject::destroyed, [&] { closedAWindow = true; });
    QTimer::singleShot(0, [&] { testing::click(program.menu(), Part::Quit); });
    QTimer failsafe;
    failsafe.setSingleShot(true);
    connect(&failsafe, &QTimer::timeout, [] { QCoreApplication::exit(3); });
    failsafe.start(5000);
    QCOMPARE(QApplication::exec(), 0); // the event loop ended without the failsafe
    QVERIFY(!closedAWindow);           // no window's closing ran
    QVERIFY(!testing::control(form2, Part::Results)->isVisible()); // no results shown
}

void ProgramTest::aDoubleClickActsInItsOwnWindowOnly_data()
{
    QTest::addColumn<Part>("first");
    QTest::addColumn<Part>("second");  // in the other window
    QTest::addColumn<int>("gapMs");    // from the first click's release
    QTest::addColumn<int>("distance"); // from the first click, in pixels
    QTest::addColumn<bool>("secondActs");
    const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    QTest::newRow("おわる on the results, the menu's おわる under it")
        << Part::Finish << Part::Quit << 120 << 0 << false;
    QTest::newRow("とじる, the menu's drill button under it")
        << Part::Close << Part::KatakanaDrill << interval << 2 << false;
    QTest::newRow("the menu's drill button, the drill's もういちどする under it")
        << Part::KatakanaDrill << Part::Again << 300 << 0 << false;
    QTest::newRow("おわる, the menu's おわる once the time of a double click is over")
        << Part::Finish << Part::Quit << interval + 1 << 0 << true;
    QTest::newRow("とじる, then a click elsewhere on the menu")
        << Part::Close << Part::KatakanaDrill << 120 << 40 << true;
}

void ProgramTest::aDoubleClickActsInItsOwnWindowOnly()
{
    QFETCH(Part, first);
    QFETCH(Part, second);
    QFETCH(int, gapMs);
    QFETCH(int, distance);
    QFETCH(bool, secondActs);
    app::Program program;
    program.showMenu();
    ui::PracticeWindow *drill = program.openPracticeWindow(Direction::HiraganaShown);
    testing::click(drill, Part::Start);
    testing::click(drill, Part::Stop); // the results, with おわる
    const QPoint spot(500, 400);
    // Each row's clicks long after the last row's: the program's guard lives on.
    static quint64 time = 0;
    time += 100000;
    clickAt(buttonOf(program, first), spot, time);
    QAbstractButton *target = buttonOf(program, second);
    QSignalSpy pressed(target, &QAbstractButton::clicked);
    clickAt(target, spot + QPoint(distance, 0), time + gapMs);
    QCOMPARE(pressed.count(), secondActs ? 1 : 0);
    QVERIFY(target->window()->isVisible()); // nothing else closed it
}

void ProgramTest::aHeldKeyPressesNothingInTheMenu_data()
{
    QTest::addColumn<bool>("flagged"); // Qt flags the repeats, or X sends them as fresh pairs
    QTest::newRow("flagged repeats") << true;
    QTest::newRow("release and press at one moment") << false;
}

void ProgramTest::aHeldKeyPressesNothingInTheMenu()
{
    QFETCH(bool, flagged);
    app::Program program({.keyHoldOffMs = 0});
    program.showMenu();
    QPointer<ui::PracticeWindow> drill = program.openPracticeWindow(Direction::HiraganaShown);
    testing::click(drill.data(), Part::Start);
    testing::click(drill.data(), Part::Stop);
    QTRY_VERIFY(!drill->keyGuard()->holdingOff());
    testing::control(drill.data(), Part::Finish)->setFocus();
    // Enter on おわる closes the drill; held, it repeats into the menu,
    // whose focused button opens the drill.
    testing::keyDown(Qt::Key_Return);
    QTRY_VERIFY(drill.isNull());
    program.menu()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(program.menu()));
    QCOMPARE(QApplication::focusWidget(), testing::control(program.menu(), Part::KatakanaDrill));
    for (int i = 0; i < 3; ++i) {
        testing::keyRepeat(Qt::Key_Return, flagged);
    }
    testing::keyUp(Qt::Key_Return);
    QVERIFY(!program.practiceWindow(Direction::HiraganaShown));
    // A fresh press opens it.
    testing::keyDown(Qt::Key_Return);
    QVERIFY(program.practiceWindow(Direction::HiraganaShown));
}

QTEST_MAIN(ProgramTest)
#include "program_test.moc"
