// The practice window as a child meets it: its layout, its load state, the
// marks and the results panel as they are painted, the keyboard, and whole
// sessions played through the widgets with running timers.

#include "../drill/scripted_random.h"
#include "../support/keys.h"
#include "../support/pixels.h"
#include "../support/practice_fixture.h"
#include "drill/session.h"
#include "ui/chartlayout.h"
#include "ui/keyguard.h"
#include "ui/layouttable.h"
#include "ui/look.h"
#include "ui/picturecache.h"
#include "ui/practicewindow.h"
#include "ui/secondsclock.h"
#include "ui/widgets.h"

#include <QAbstractButton>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyleHints>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <tuple>

using drill::Direction;
using drill::testing::ScriptedRandom;
using testing::keyDown;
using testing::keyRepeat;
using testing::keyTap;
using testing::keyUp;
using testing::Part;
using ui::PracticeWindow;

namespace {

// The shared practice window, with ways to reach its controls.
struct Fixture : testing::PracticeFixture
{
    explicit Fixture(Direction direction = Direction::HiraganaShown, ui::PracticeTiming timing = {})
        : PracticeFixture(direction, {}, timing)
    {
    }

    void pressChart(int k) const { QTest::mouseClick(window->chartButton(k), Qt::LeftButton); }
    QImage grab() const { return window->grab().toImage(); }
    // Shows the window as the menu does, active so that it gets the keys.
    bool showActive() const
    {
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window);
    }
};

bool near(QColor a, QColor b, int tolerance = 24)
{
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

int countPixels(const QImage &image, QRect area, const std::function<bool(QColor)> &test)
{
    return testing::countOf(area, [&](QPoint p) { return test(image.pixelColor(p)); });
}

bool isDark(QColor c)
{
    return qGray(c.rgb()) < 80;
}

} // namespace

class PracticeWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void geometry_data();
    void geometry();
    void headingFollowsItsPicture_data();
    void headingFollowsItsPicture();
    void chartCells_data();
    void chartCells();
    void chartBlocksAndGap();
    void captionsDifferByDirection_data();
    void captionsDifferByDirection();
    void loadState();
    void fonts_data();
    void fonts();
    void colours_data();
    void colours();
    void ringAndCrossArePaintedOverTheAnswer();
    void resultsPanelCoversTheMiddleOfTheChart();
    void firstFocusAndTabOrder();
    void enterAndSpacePressTheFocusedButton_data();
    void enterAndSpacePressTheFocusedButton();
    void escapePressesStart();
    void keyboardAloneCarriesASessionRound();
    void focusStaysOffTheOtherButtonsDuringAJudgement();
    void heldEnterPressesOnce();
    void quickEntersLeaveTheResultsUp();
    void stopClickedDuringTheMarkHandsTheFocusToTheResults();
    void aTapPressesOnce();
    void arrowKeysMoveOverTheChart_data();
    void arrowKeysMoveOverTheChart();
    void wholeSessionWithRunningTimers();
    void stopAndAgainThroughTheButtons();
    void clockDoesNotDrift();
};

void PracticeWindowTest::geometry_data()
{
    QTest::addColumn<Part>("part");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("expected");
    // Every placed control of the katakana drill where the design puts it, in
    // pixels relative to its container.
    struct Row
    {
        Part part;
        int index;
        const char *name; // the design's name, the control's object name
        QRect expected;
    };
    const Row design[] = {
        {Part::Heading, -1, "Image1", {16, -8, 290, 86}},
        {Part::Seconds, -1, "TimeBox", {432, 16, 137, 41}},
        {Part::SecondsUnit, -1, "Label4", {576, 24, 89, 25}},
        {Part::Score, -1, "Tokuten", {696, 16, 137, 41}},
        {Part::ScoreUnit, -1, "Label3", {840, 24, 57, 25}},
        {Part::Close, -1, "Command2", {960, 8, 57, 49}},
        {Part::Question, -1, "Label1", {80, 80, 297, 297}},
        {Part::Equals, -1, "Label7", {400, 208, 65, 49}},
        {Part::Answer, -1, "Label2", {496, 80, 297, 297}},
        {Part::QuestionScript, -1, "Label5", {168, 384, 105, 25}},
        {Part::AnswerScript, -1, "Label6", {608, 384, 105, 25}},
        {Part::Reward, -1, "Image2", {336, 168, 206, 211}},
        {Part::Circle, -1, "Shape1", {488, 72, 321, 321}},
        {Part::Options, -1, "Frame1", {848, 88, 137, 169}},
        {Part::Start, -1, "Command3", {848, 272, 145, 73}},
        {Part::Stop, -1, "Command4", {848, 352, 145, 65}},
        {Part::Results, -1, "ShowWindow", {160, 192, 705, 377}},
        {Part::Option, 1, "Option1", {16, 24, 105, 41}},
        {Part::Option, 2, "Option2", {16, 72, 105, 41}},
        {Part::Option, 3, "Option3", {16, 120, 105, 41}},
        {Part::Marker, 0, "Image3", {16, 16, 221, 19}},
        {Part::Marker, 1, "Image3", {240, 16, 221, 19}},
        {Part::Marker, 2, "Image3", {464, 16, 221, 19}},
        {Part::Marker, 3, "Image3", {16, 352, 221, 19}},
        {Part::Marker, 4, "Image3", {240, 352, 221, 19}},
        {Part::Marker, 5, "Image3", {464, 352, 221, 19}},
        {Part::ResultSeconds, -1, "Label10", {248, 64, 209, 73}},
        {Part::ResultSecondsUnit, -1, "Label8", {480, 80, 129, 57}},
        {Part::Children, -1, "Image4", {16, 128, 215, 108}},
        {Part::ResultScore, -1, "Label11", {248, 152, 209, 73}},
        {Part::ResultScoreUnit, -1, "Label9", {488, 168, 105, 57}},
        {Part::Again, -1, "Command6", {120, 264, 185, 65}},
        {Part::Finish, -1, "Command7", {376, 264, 185, 65}},
        // The strokes' widgets hold (512, 96)-(776, 360) and half the 10 px stroke.
        {Part::Cross, 1, "Line1", {507, 91, 274, 274}},
        {Part::Cross, 2, "Line2", {507, 91, 274, 274}},
    };
    for (const Row &row : design) {
        const QByteArray tag = row.part == Part::Marker ? row.name + QByteArray("(") +
                                                              QByteArray::number(row.index) + ")"
                                                        : QByteArray(row.name);
        QTest::newRow(tag) << row.part << row.index << QString::fromLatin1(row.name)
                           << row.expected;
    }
}

void PracticeWindowTest::geometry()
{
    QFETCH(Part, part);
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(QRect, expected);
    Fixture f;
    QCOMPARE(f.window->size(), QSize(1024, 768));
    QWidget *found = f.find(part, index);
    QCOMPARE(found->objectName(), name);
    QCOMPARE(found->geometry(), expected);
}

void PracticeWindowTest::headingFollowsItsPicture_data()
{
    QTest::addColumn<Direction>("direction");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("picture");
    QTest::newRow("katakana drill")
        << Direction::HiraganaShown << 86 << ":/pictures/heading_katakana.svg";
    QTest::newRow("hiragana drill")
        << Direction::KatakanaShown << 87 << ":/pictures/heading_hiragana.svg";
}

void PracticeWindowTest::headingFollowsItsPicture()
{
    QFETCH(Direction, direction);
    QFETCH(int, height);
    QFETCH(QString, picture);
    Fixture f(direction);
    auto *heading = f.find<ui::Picture>(Part::Heading);
    QCOMPARE(heading->resource(), picture);
    QCOMPARE(heading->geometry(), QRect(16, -8, 290, height));
    QCOMPARE(ui::pictureSize(picture), QSize(290, height));
}

void PracticeWindowTest::chartCells_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QPoint>("topLeft");
    QTest::newRow("あ top right") << 1 << QPoint(936, 440);
    QTest::newRow("お bottom of the あ column") << 5 << QPoint(936, 664);
    QTest::newRow("か next column") << 6 << QPoint(872, 440);
    QTest::newRow("も") << 35 << QPoint(552, 664);
    QTest::newRow("や row a") << 36 << QPoint(488, 440);
    QTest::newRow("ゆ row u") << 37 << QPoint(488, 552);
    QTest::newRow("よ row o") << 38 << QPoint(488, 664);
    QTest::newRow("ら") << 39 << QPoint(424, 440);
    QTest::newRow("ろ") << 43 << QPoint(424, 664);
    QTest::newRow("わ row a") << 44 << QPoint(360, 440);
    QTest::newRow("を row u") << 45 << QPoint(360, 552);
    QTest::newRow("ん row o") << 46 << QPoint(360, 664);
    QTest::newRow("が top of the first column left of the gap") << 47 << QPoint(272, 440);
    QTest::newRow("ぞ") << 56 << QPoint(208, 664);
    QTest::newRow("ぱ top left") << 67 << QPoint(16, 440);
    QTest::newRow("ぽ bottom left") << 71 << QPoint(16, 664);
}

void PracticeWindowTest::chartCells()
{
    QFETCH(int, index);
    QFETCH(QPoint, topLeft);
    Fixture f;
    ui::ChartButton *button = f.window->chartButton(index);
    QCOMPARE(button->geometry(), QRect(topLeft, QSize(65, 57)));
    QCOMPARE(button->kanaIndex(), index);
    QCOMPARE(button->objectName(), QStringLiteral("Command1"));
    QCOMPARE(f.find(Part::Chart, index), button);
    QCOMPARE(button->text(), QString::fromStdString(f.session.answerKana(index)));
}

void PracticeWindowTest::chartBlocksAndGap()
{
    Fixture f;
    // The cells of rows i and e of the や and わ columns stay empty, and no
    // two buttons share a cell.
    QSet<QPoint> cells;
    for (int k = 1; k <= drill::kKanaCount; ++k) {
        const QPoint at = f.window->chartButton(k)->pos();
        QVERIFY2(!cells.contains(at), qPrintable(QString::number(k)));
        cells.insert(at);
    }
    QCOMPARE(cells.size(), 71);
    for (int x : {488, 360}) {
        for (int y : {496, 608}) {
            QVERIFY(!cells.contains(QPoint(x, y)));
            QCOMPARE(ui::kanaAtCell(ui::ChartCell{x == 488 ? 7 : 5, y == 496 ? 1 : 3}), 0);
        }
    }
    // Neighbours overlap by one pixel; the blocks are 23 px apart.
    QCOMPARE(f.window->chartButton(6)->x() + 65 - f.window->chartButton(1)->x(), 1);
    QCOMPARE(f.window->chartButton(2)->y() - (f.window->chartButton(1)->y() + 57), -1);
    QCOMPARE(f.window->chartButton(44)->x() - (f.window->chartButton(47)->x() + 65), 23);
    // The chart's outer edges.
    QRect all;
    for (int k = 1; k <= drill::kKanaCount; ++k) {
        all |= f.window->chartButton(k)->geometry();
    }
    QCOMPARE(all, QRect(QPoint(16, 440), QPoint(936 + 64, 664 + 56)));
}

void PracticeWindowTest::captionsDifferByDirection_data()
{
    QTest::addColumn<Direction>("direction");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("label5");
    QTest::addColumn<QString>("label6");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::newRow("katakana drill") << Direction::HiraganaShown << "Form2"
                                    << "ひらがな"
                                    << "カタカナ"
                                    << "ア"
                                    << "ポ";
    QTest::newRow("hiragana drill") << Direction::KatakanaShown << "Form3"
                                    << "カタカナ"
                                    << "ひらがな"
                                    << "あ"
                                    << "ぽ";
}

void PracticeWindowTest::captionsDifferByDirection()
{
    QFETCH(Direction, direction);
    Fixture f(direction);
    QTEST(f.window->objectName(), "name");
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Form2"));
    QTEST(f.text(Part::QuestionScript), "label5");
    QTEST(f.text(Part::AnswerScript), "label6");
    QTEST(f.window->chartButton(1)->text(), "first");
    QTEST(f.window->chartButton(71)->text(), "last");
}

void PracticeWindowTest::loadState()
{
    Fixture f;
    QVERIFY(f.window->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(f.window->minimumSize(), f.window->maximumSize());
    QCOMPARE(f.text(Part::Question), QString());
    QCOMPARE(f.text(Part::Answer), QString());
    QCOMPARE(f.text(Part::Seconds), QStringLiteral("0"));
    QCOMPARE(f.text(Part::Score), QStringLiteral("0"));
    QCOMPARE(f.text(Part::SecondsUnit), QStringLiteral("びょう"));
    QCOMPARE(f.text(Part::ScoreUnit), QStringLiteral("てん"));
    QCOMPARE(f.text(Part::Equals), QStringLiteral("＝"));
    QCOMPARE(f.text(Part::ResultSecondsUnit), QStringLiteral("びょう"));
    QCOMPARE(f.text(Part::ResultScoreUnit), QStringLiteral("てん"));
    QCOMPARE(f.text(Part::ResultSeconds), QStringLiteral("Label10"));
    QCOMPARE(f.text(Part::ResultScore), QStringLiteral("Label11"));
    QCOMPARE(f.find<QGroupBox>(Part::Options)->title(), QStringLiteral("もんだいのかず"));
    QCOMPARE(f.find<QAbstractButton>(Part::Option, 1)->text(), QStringLiteral("ぜんぶ (71こ)"));
    QCOMPARE(f.find<QAbstractButton>(Part::Option, 2)->text(), QStringLiteral("はんぶん (30こ)"));
    QCOMPARE(f.find<QAbstractButton>(Part::Option, 3)->text(), QStringLiteral("すこし (15こ)"));
    QVERIFY(f.find<QAbstractButton>(Part::Option, 1)->isChecked());
    QVERIFY(!f.find<QAbstractButton>(Part::Option, 2)->isChecked());
    QVERIFY(!f.find<QAbstractButton>(Part::Option, 3)->isChecked());
    QCOMPARE(f.find<QAbstractButton>(Part::Close)->text(), QStringLiteral("とじる"));
    QCOMPARE(f.find<QAbstractButton>(Part::Start)->text(), QStringLiteral("スタート"));
    QCOMPARE(f.find<QAbstractButton>(Part::Stop)->text(), QStringLiteral("ストップ"));
    QCOMPARE(f.find<QAbstractButton>(Part::Again)->text(), QStringLiteral("もういちどする"));
    QCOMPARE(f.find<QAbstractButton>(Part::Finish)->text(), QStringLiteral("おわる"));
    QVERIFY(f.find(Part::Start)->isEnabled());
    QVERIFY(!f.find(Part::Stop)->isEnabled());
    for (int k = 1; k <= drill::kKanaCount; ++k) {
        QVERIFY(f.window->chartButton(k)->isEnabled());
        QCOMPARE(f.window->chartButton(k)->face(), ui::bgr(0x00E0E0E0));
    }
    for (Part hidden : {Part::Circle, Part::Reward, Part::Cross, Part::Results}) {
        for (const ui::BuiltLayout::Placed &control : f.window->layout().ofPart(hidden)) {
            QVERIFY2(control.widget->isHidden(), control.row->name);
        }
    }
    QVERIFY(!f.window->judgeTimer()->isActive());
    QVERIFY(!f.window->clock()->isActive());
}

void PracticeWindowTest::fonts_data()
{
    QTest::addColumn<Part>("part");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("bold");
    QTest::newRow("TimeBox") << Part::Seconds << -1 << 32 << false;
    QTest::newRow("Tokuten") << Part::Score << -1 << 32 << false;
    QTest::newRow("Label4") << Part::SecondsUnit << -1 << 27 << false;
    QTest::newRow("Label3") << Part::ScoreUnit << -1 << 27 << false;
    QTest::newRow("Label1") << Part::Question << -1 << 307 << false;
    QTest::newRow("Label2") << Part::Answer << -1 << 307 << false;
    QTest::newRow("Label7") << Part::Equals << -1 << 67 << false;
    QTest::newRow("Label5") << Part::QuestionScript << -1 << 27 << false;
    QTest::newRow("Label6") << Part::AnswerScript << -1 << 27 << false;
    QTest::newRow("Command3") << Part::Start << -1 << 24 << false;
    QTest::newRow("Command4") << Part::Stop << -1 << 24 << false;
    QTest::newRow("chart") << Part::Chart << 47 << 37 << true;
    QTest::newRow("Label10") << Part::ResultSeconds << -1 << 64 << false;
    QTest::newRow("Label11") << Part::ResultScore << -1 << 64 << false;
    QTest::newRow("Label8") << Part::ResultSecondsUnit << -1 << 48 << false;
    QTest::newRow("Label9") << Part::ResultScoreUnit << -1 << 48 << false;
    QTest::newRow("Command6") << Part::Again << -1 << 27 << false;
    QTest::newRow("Command7") << Part::Finish << -1 << 27 << false;
    QTest::newRow("Command2 default") << Part::Close << -1 << 12 << false;
    QTest::newRow("Option1 default") << Part::Option << 1 << 12 << false;
    QTest::newRow("Frame1 default") << Part::Options << -1 << 12 << false;
}

void PracticeWindowTest::fonts()
{
    QFETCH(Part, part);
    QFETCH(int, index);
    QFETCH(int, pixelSize);
    QFETCH(bool, bold);
    Fixture f;
    const QFont font = f.find(part, index)->font();
    QCOMPARE(font.pixelSize(), pixelSize);
    QCOMPARE(font.bold(), bold);
    if (pixelSize != 12) {
        QCOMPARE(font.families().value(0), QStringLiteral("ＭＳ Ｐゴシック"));
        QCOMPARE(font.families().value(1), ui::builtInFamily());
    }
    // The built-in face stands in where the system has no ＭＳ Ｐゴシック.
    const QFontInfo info(font);
    if (!QFontDatabase::families().contains(QStringLiteral("ＭＳ Ｐゴシック"))) {
        QCOMPARE(info.family(), ui::builtInFamily());
    }
    QCOMPARE(info.pixelSize(), pixelSize);
    QFontMetrics metrics(font);
    QVERIFY(metrics.inFont(QChar(0x30DD))); // ポ
    QVERIFY(metrics.inFont(QChar(0x307D))); // ぽ
}

void PracticeWindowTest::colours_data()
{
    QTest::addColumn<Part>("part");
    QTest::addColumn<int>("index");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("text");
    QTest::newRow("TimeBox") << Part::Seconds << -1 << QColor(224, 224, 224)
                             << QColor(128, 128, 128);
    QTest::newRow("Tokuten") << Part::Score << -1 << QColor(255, 255, 255) << QColor(0, 192, 0);
    QTest::newRow("Label4") << Part::SecondsUnit << -1 << QColor() << QColor(128, 128, 128);
    QTest::newRow("Label10") << Part::ResultSeconds << -1 << QColor(255, 255, 255) << QColor();
    QTest::newRow("Label11") << Part::ResultScore << -1 << QColor(255, 255, 255) << QColor();
    QTest::newRow("ShowWindow") << Part::Results << -1 << QColor(255, 192, 192) << QColor();
    QTest::newRow("Frame1") << Part::Options << -1 << QColor(255, 255, 255) << QColor();
}

void PracticeWindowTest::colours()
{
    QFETCH(Part, part);
    QFETCH(int, index);
    QFETCH(QColor, background);
    QFETCH(QColor, text);
    Fixture f;
    const QWidget *control = f.find(part, index);
    if (background.isValid()) {
        QCOMPARE(control->palette().color(QPalette::Window), background);
    } else {
        QVERIFY(!control->autoFillBackground());
    }
    if (text.isValid()) {
        QCOMPARE(control->palette().color(QPalette::WindowText), text);
    }
}

void PracticeWindowTest::ringAndCrossArePaintedOverTheAnswer()
{
    Fixture f;
    f.random.push(ScriptedRandom::forChoice(42, 71)); // ろ
    f.click(Part::Start);
    f.pressChart(43);
    QImage image = f.grab();
    const QColor ring(255, 128, 128);
    // The ring runs over the middle of each side of Label2 and the pressed
    // kana stays drawn beneath it.
    QVERIFY(near(image.pixelColor(648, 84), ring));  // top side, inside Label2
    QVERIFY(near(image.pixelColor(522, 150), ring)); // upper left, above the hand
    QVERIFY(near(image.pixelColor(797, 232), ring)); // right side, beyond Label2's edge
    QVERIFY(!near(image.pixelColor(498, 82), ring)); // a corner of Label2 stands outside it
    QVERIFY(countPixels(image, {520, 110, 250, 250}, isDark) > 2000); // the kana ロ
    // Label6 lies over the ring: its text is dark where the ring runs.
    QVERIFY(countPixels(image, {610, 384, 100, 10}, isDark) > 20);
    QVERIFY(countPixels(image, {610, 384, 100, 10}, [&](QColor c) { return near(c, ring); }) > 20);
    // The V-sign hand lies over the right edge of Label1.
    QVERIFY(countPixels(image, {336, 168, 41, 209},
                        [](QColor c) { return near(c, QColor(255, 192, 192), 8); }) > 50);

    f.judge(); // the next question
    f.pressChart(f.session.CurrentIndex == 1 ? 2 : 1);
    image = f.grab();
    const QColor yellow(255, 255, 0);
    QVERIFY(near(image.pixelColor(644, 228), yellow)); // the crossing point
    QVERIFY(near(image.pixelColor(530, 114), yellow)); // along Line1
    QVERIFY(near(image.pixelColor(758, 114), yellow)); // along Line2
    QVERIFY(!near(image.pixelColor(648, 84), ring));   // no ring with a cross
    QVERIFY(f.find(Part::Reward)->isHidden());
    QVERIFY(countPixels(image, {520, 110, 250, 250}, isDark) > 1000); // the pressed kana
}

void PracticeWindowTest::resultsPanelCoversTheMiddleOfTheChart()
{
    Fixture f; // not shown: laid out at the designed scale
    f.click(Part::Start);
    const QImage before = f.grab();
    f.click(Part::Stop); // Stop shows the results
    QVERIFY(!f.find(Part::Results)->isHidden());
    const QImage image = f.grab();
    const QColor pink(255, 192, 192);
    const QColor grey(224, 224, 224);
    // Rows a and i from the ta column (x 744) to the za column (x 208) lie
    // under the panel...
    for (QPoint p : {QPoint(776, 470), QPoint(680, 520), QPoint(400, 470), QPoint(240, 520),
                     QPoint(648, 232) /* the circle's place */, QPoint(420, 240) /* ＝ */}) {
        QVERIFY2(image.pixelColor(p) != before.pixelColor(p),
                 qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    }
    QVERIFY(countPixels(image, {744, 440, 121, 112}, [&](QColor c) { return near(c, pink, 2); }) >
            3000);
    // ...while the あ, か, ば and ぱ columns and rows e and o stay visible.
    for (QPoint p : {QPoint(940, 445), QPoint(876, 445), QPoint(84, 445), QPoint(20, 445),
                     QPoint(600, 612), QPoint(300, 668)}) {
        QVERIFY2(near(image.pixelColor(p), grey, 4),
                 qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    }
    // The panel's children are drawn inside it.
    QCOMPARE(f.text(Part::ResultSeconds), QStringLiteral("0"));
    QCOMPARE(f.text(Part::ResultScore), QStringLiteral("0"));
    QVERIFY(countPixels(image, {160 + 250, 192 + 66, 205, 69}, isDark) > 100); // "0" in Label10
}

void PracticeWindowTest::firstFocusAndTabOrder()
{
    Fixture f;
    QVERIFY(f.showActive());
    QCOMPARE(QApplication::focusWidget(), f.window->chartButton(43));

    // Stop is disabled and the results panel hidden, so Tab walks the chart,
    // とじる and スタート, then the selected option.
    QList<QWidget *> expected;
    for (int k : {42, 41, 40, 39, 23, 22, 21, 1,  2,  3,  4,  5,  38, 37, 36,
                  35, 34, 6,  7,  8,  9,  10, 33, 32, 31, 30, 29, 11, 12, 13,
                  14, 15, 28, 27, 26, 25, 24, 16, 17, 18, 19, 20, 46, 45, 44}) {
        expected << f.window->chartButton(k);
    }
    expected << f.find(Part::Close) << f.find(Part::Start);
    for (int k : {51, 50, 49, 48, 47, 56, 55, 54, 53, 52, 61, 60, 59,
                  58, 57, 66, 65, 64, 63, 62, 71, 70, 69, 68, 67}) {
        expected << f.window->chartButton(k);
    }
    // The options are one group with one place in the order, the selected one.
    expected << f.find(Part::Option, 1) << f.window->chartButton(43);
    for (QWidget *next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    // Once Stop is enabled it comes first in the order.
    f.click(Part::Start);
    f.window->chartButton(67)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f.find(Part::Option, 1));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f.find(Part::Stop));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f.window->chartButton(43));
}

void PracticeWindowTest::enterAndSpacePressTheFocusedButton_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("space") << int(Qt::Key_Space);
    QTest::newRow("return") << int(Qt::Key_Return);
    QTest::newRow("enter") << int(Qt::Key_Enter);
}

void PracticeWindowTest::enterAndSpacePressTheFocusedButton()
{
    QFETCH(int, key);
    Fixture f;
    QVERIFY(f.showActive());
    // Start from the keyboard: the option, then スタート.
    f.find(Part::Option, 3)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QVERIFY(f.find<QAbstractButton>(Part::Option, 3)->isChecked());
    f.find(Part::Start)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QCOMPARE(f.session.QuestionTotal, 15);
    QVERIFY(f.session.running());
    // The chart button in focus takes the press.
    f.window->chartButton(43)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QCOMPARE(f.text(Part::Answer), QStringLiteral("ロ"));
    QCOMPARE(f.session.PressedIndex, 43);
}

void PracticeWindowTest::escapePressesStart()
{
    Fixture f;
    QVERIFY(f.showActive());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(f.session.running());
    QVERIFY(!f.find(Part::Start)->isEnabled());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); // Start is disabled now
    QCOMPARE(f.session.QuestionNumber, 1);
}

void PracticeWindowTest::keyboardAloneCarriesASessionRound()
{
    Fixture f;
    QVERIFY(f.showActive());
    const auto enter = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); };
    f.find(Part::Start)->setFocus();
    enter(); // スタート: the focus goes on at the chart's first button
    QVERIFY(f.session.running());
    QCOMPARE(QApplication::focusWidget(), f.window->chartButton(43));
    f.window->chartButton(f.session.CurrentIndex)->setFocus();
    enter();
    f.judge();
    QCOMPARE(f.text(Part::Score), QStringLiteral("10"));
    f.find(Part::Stop)->setFocus();
    enter(); // ストップ: the results take the focus to もういちどする
    QVERIFY(f.find(Part::Results)->isVisible());
    QCOMPARE(QApplication::focusWidget(), f.find(Part::Again));
    QTRY_VERIFY(!f.window->keyGuard()->holdingOff()); // keys rest while the results come up
    enter();                                          // もういちどする: スタート is next
    QVERIFY(f.find(Part::Results)->isHidden());
    QCOMPARE(QApplication::focusWidget(), f.find(Part::Start));
    enter();
    QVERIFY(f.session.running());
    QCOMPARE(f.text(Part::Score), QStringLiteral("0"));
}

void PracticeWindowTest::focusStaysOffTheOtherButtonsDuringAJudgement()
{
    Fixture f;
    QVERIFY(f.showActive());
    f.random.push(ScriptedRandom::forChoice(0, 71)); // あ
    f.click(Part::Start);
    f.window->chartButton(43)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space); // wrong
    QCOMPARE(QApplication::focusWidget(), f.window.data());
    // Enter during the judgement presses nothing: とじる keeps the window open.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(f.window);
    QVERIFY(f.window->isVisible());
    f.judge();
    QCOMPARE(QApplication::focusWidget(), f.window->chartButton(43));
}

void PracticeWindowTest::heldEnterPressesOnce()
{
    Fixture f;
    QVERIFY(f.showActive());
    f.random.push(ScriptedRandom::forChoice(0, 71)); // あ
    f.click(Part::Start);
    // Enter held on ロ: one wrong press, however often the chart unlocks
    // while the key repeats.
    QCOMPARE(QApplication::focusWidget(), f.window->chartButton(43));
    keyDown(Qt::Key_Return);
    for (int i = 0; i < 4; ++i) {
        keyRepeat(Qt::Key_Return, true);
        f.judge();
        keyRepeat(Qt::Key_Return, false);
    }
    keyUp(Qt::Key_Return);
    QCOMPARE(f.session.QuestionPoints, 5);
    QVERIFY(f.find(Part::Cross, 1)->isHidden());
    QCOMPARE(f.text(Part::Answer), QString());
    QCOMPARE(QApplication::focusWidget(), f.window->chartButton(43));

    // Enter held on ストップ shows the results, and they stay up.
    f.find(Part::Stop)->setFocus();
    keyDown(Qt::Key_Return);
    QVERIFY(f.find(Part::Results)->isVisible());
    QCOMPARE(QApplication::focusWidget(), f.find(Part::Again));
    QTRY_VERIFY(!f.window->keyGuard()->holdingOff());
    for (int i = 0; i < 4; ++i) {
        keyRepeat(Qt::Key_Return, i % 2 == 0);
    }
    keyUp(Qt::Key_Return);
    QVERIFY(f.find(Part::Results)->isVisible());
    // A fresh Enter puts them away.
    keyTap(Qt::Key_Return);
    QVERIFY(f.find(Part::Results)->isHidden());
    QCOMPARE(QApplication::focusWidget(), f.find(Part::Start));
}

void PracticeWindowTest::quickEntersLeaveTheResultsUp()
{
    Fixture f;
    QVERIFY(f.showActive());
    f.click(Part::Option, 3);
    f.click(Part::Start);
    for (int q = 0; q < 15; ++q) {
        f.pressChart(f.session.CurrentIndex);
        f.judge();
    }
    QVERIFY(f.find(Part::Results)->isVisible());
    QCOMPARE(f.text(Part::ResultScore), QStringLiteral("150"));
    QCOMPARE(QApplication::focusWidget(), f.find(Part::Again));
    // Three quick Enters as the results come up: none of them puts the
    // results away, starts a session or presses a kana.
    const int pressed = f.session.PressedIndex;
    for (int i = 0; i < 3; ++i) {
        keyTap(Qt::Key_Return);
        keyTap(Qt::Key_Space);
    }
    QVERIFY(f.find(Part::Results)->isVisible());
    QCOMPARE(f.session.PressedIndex, pressed);
    QCOMPARE(f.text(Part::Score), QStringLiteral("150"));
    QCOMPARE(QApplication::focusWidget(), f.find(Part::Again));
    // A moment later the keys work again.
    QTRY_VERIFY(!f.window->keyGuard()->holdingOff());
    keyTap(Qt::Key_Return);
    QVERIFY(f.find(Part::Results)->isHidden());
    QCOMPARE(QApplication::focusWidget(), f.find(Part::Start));
}

void PracticeWindowTest::stopClickedDuringTheMarkHandsTheFocusToTheResults()
{
    Fixture f;
    QVERIFY(f.showActive());
    f.click(Part::Start);
    f.click(Part::Stop);                             // the results of a stopped session
    f.random.push(ScriptedRandom::forChoice(0, 71)); // あ
    f.click(Part::Start);                            // are put away by the next start
    QVERIFY(f.find(Part::Results)->isHidden());
    QCOMPARE(QApplication::focusWidget(), f.window->chartButton(43));
    keyTap(Qt::Key_Return); // ロ, wrong
    QVERIFY(f.find(Part::Cross, 1)->isVisible());
    f.click(Part::Stop); // the mouse stops during the mark: the results come up
    QCOMPARE(QApplication::focusWidget(), f.find(Part::Again));
    QTRY_VERIFY(!f.window->keyGuard()->holdingOff());
    keyTap(Qt::Key_Return); // もういちどする
    QCOMPARE(QApplication::focusWidget(), f.find(Part::Start));
    keyTap(Qt::Key_Return);
    QVERIFY(f.window);
    QVERIFY(f.window->isVisible());
    QVERIFY(f.session.running());
}

void PracticeWindowTest::aTapPressesOnce()
{
    static QPointingDevice *screen =
        QTest::createTouchDevice(QInputDevice::DeviceType::TouchScreen);
    Fixture f;
    QVERIFY(f.showActive());
    const auto at = [&](QWidget *w) { return w->mapTo(f.window, w->rect().center()); };
    const auto tap = [&](QWidget *w) {
        QTest::touchEvent(f.window, screen).press(0, at(w));
        QTest::touchEvent(f.window, screen).release(0, at(w));
    };
    QSignalSpy start(f.find<QAbstractButton>(Part::Start), &QAbstractButton::clicked);
    QSignalSpy ro(f.window->chartButton(43), &QAbstractButton::clicked);
    QSignalSpy ru(f.window->chartButton(42), &QAbstractButton::clicked);
    QSignalSpy a(f.window->chartButton(1), &QAbstractButton::clicked);
    f.random.push(ScriptedRandom::forChoice(0, 71)); // あ
    tap(f.find(Part::Start));
    QCOMPARE(start.count(), 1);
    // Two fingers at once on ロ and ル, held long: one wrong press.
    QTest::touchEvent(f.window, screen).press(0, at(f.window->chartButton(43)));
    QTest::touchEvent(f.window, screen).stationary(0).press(1, at(f.window->chartButton(42)));
    for (int i = 0; i < 3; ++i) {
        QTest::touchEvent(f.window, screen).stationary(0).stationary(1);
        QTest::qWait(QGuiApplication::styleHints()->mousePressAndHoldInterval() / 2);
    }
    QTest::touchEvent(f.window, screen)
        .release(0, at(f.window->chartButton(43)))
        .release(1, at(f.window->chartButton(42)));
    QCOMPARE(ro.count() + ru.count(), 1);
    QCOMPARE(f.session.PressedIndex, 43);
    // A tap during the mark does nothing.
    tap(f.window->chartButton(1));
    QCOMPARE(a.count(), 0);
    f.judge();
    QCOMPARE(f.session.QuestionPoints, 5);
    tap(f.window->chartButton(1));
    QCOMPARE(a.count(), 1);
    QCOMPARE(f.text(Part::Score), QStringLiteral("5"));
}

void PracticeWindowTest::arrowKeysMoveOverTheChart_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("to");
    QTest::newRow("ろ right to よ") << 43 << int(Qt::Key_Right) << 38;
    QTest::newRow("よ up over the empty cell to ゆ") << 38 << int(Qt::Key_Up) << 37;
    QTest::newRow("ん left over the gap to ご") << 46 << int(Qt::Key_Left) << 51;
    QTest::newRow("が right over the gap to わ") << 47 << int(Qt::Key_Right) << 44;
    QTest::newRow("あ down to い") << 1 << int(Qt::Key_Down) << 2;
    QTest::newRow("あ right stays at the edge") << 1 << int(Qt::Key_Right) << 1;
    QTest::newRow("ぽ down stays at the edge") << 71 << int(Qt::Key_Down) << 71;
    QTest::newRow("り left over the empty cell and the gap to ぎ") << 40 << int(Qt::Key_Left) << 48;
}

void PracticeWindowTest::arrowKeysMoveOverTheChart()
{
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, to);
    Fixture f;
    QVERIFY(f.showActive());
    f.window->chartButton(from)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QCOMPARE(QApplication::focusWidget(), f.window->chartButton(to));
}

void PracticeWindowTest::wholeSessionWithRunningTimers()
{
    // Real timers, shortened so that the session plays in well under a second.
    Fixture f(Direction::KatakanaShown, {20, 25});
    f.window->show();
    f.click(Part::Option, 3);
    f.click(Part::Start);
    auto *timer1 = f.window->judgeTimer();
    QVERIFY(timer1->isActive());
    for (int q = 1; q <= 15; ++q) {
        QCOMPARE(f.session.QuestionNumber, q);
        const int answer = f.session.CurrentIndex;
        QCOMPARE(f.text(Part::Question), QString::fromStdString(f.session.questionKana(answer)));
        if (q % 4 == 0) { // now and then a wrong press first
            const int wrong = answer == 71 ? 70 : answer + 1;
            f.pressChart(wrong);
            QVERIFY(f.find(Part::Cross, 1)->isVisible());
            QVERIFY(!f.window->chartButton(answer)->isEnabled());
            QTRY_VERIFY(f.window->chartButton(answer)->isEnabled());
            QVERIFY(f.find(Part::Cross, 1)->isHidden());
        }
        f.pressChart(answer);
        QVERIFY(f.find(Part::Circle)->isVisible());
        QVERIFY(f.find(Part::Reward)->isVisible());
        QCOMPARE(f.window->chartButton(answer)->face(), QColor(255, 224, 192));
        QTRY_VERIFY(f.session.QuestionNumber == q + 1);
        QVERIFY(f.find(Part::Circle)->isHidden());
    }
    QVERIFY(f.find(Part::Results)->isVisible());
    QCOMPARE(f.text(Part::ResultScore), QStringLiteral("135")); // three questions at 5 points
    QCOMPARE(f.text(Part::ResultSeconds), f.text(Part::Seconds));
    QVERIFY(!timer1->isActive());
    QVERIFY(!f.window->clock()->isActive());
    const QString seconds = f.text(Part::Seconds);
    QTest::qWait(100);
    QCOMPARE(f.text(Part::Seconds), seconds);
    // The finished window: the chart enabled again, Stop still enabled.
    QVERIFY(f.window->chartButton(1)->isEnabled());
    QVERIFY(f.find(Part::Stop)->isEnabled());
    QVERIFY(!f.find(Part::Start)->isEnabled());
}

void PracticeWindowTest::stopAndAgainThroughTheButtons()
{
    Fixture f;
    f.window->show();
    f.click(Part::Option, 2);
    f.click(Part::Start);
    f.pressChart(f.session.CurrentIndex);
    f.judge();
    for (int i = 0; i < 4; ++i) {
        f.window->clockTick();
    }
    f.click(Part::Stop);
    QVERIFY(f.find(Part::Results)->isVisible());
    QCOMPARE(f.text(Part::ResultSeconds), QStringLiteral("4"));
    QCOMPARE(f.text(Part::ResultScore), QStringLiteral("10"));
    QCOMPARE(f.text(Part::Question), QString());
    QVERIFY(f.find(Part::Start)->isEnabled());
    QVERIFY(!f.find(Part::Stop)->isEnabled());
    QVERIFY(!f.window->judgeTimer()->isActive());
    f.click(Part::Again);
    QVERIFY(f.find(Part::Results)->isHidden());
    QVERIFY(f.find(Part::Start)->isEnabled());
    QCOMPARE(f.text(Part::Score), QStringLiteral("10"));
    f.click(Part::Start);
    QCOMPARE(f.session.QuestionTotal, 30);
    QCOMPARE(f.text(Part::Score), QStringLiteral("0"));
}

void PracticeWindowTest::clockDoesNotDrift()
{
    // The clock reads a time of the test's; its timer fires in real time,
    // and each wait it schedules must end on a whole multiple of the
    // interval since start, however late the tick before it came.
    qint64 now = 0;
    ui::SecondsClock clock(100, nullptr, [&now] { return now; });
    int ticks = 0;
    connect(&clock, &ui::SecondsClock::tick, [&ticks] { ++ticks; });
    const auto *timer = clock.findChild<QTimer *>();
    clock.start();
    QCOMPARE(timer->interval(), 100);
    // Late by 30, then by 50, then past two whole intervals.
    const std::tuple<qint64, int, int> steps[] = {{130, 1, 70}, {250, 2, 50}, {420, 4, 80}};
    for (const auto &[late, delivered, wait] : steps) {
        now = late;
        QTRY_COMPARE(ticks, delivered);
        QCOMPARE(timer->interval(), wait);
    }
}

QTEST_MAIN(PracticeWindowTest)
#include "practicewindow_test.moc"
