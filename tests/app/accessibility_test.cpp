// What assistive technology reads from the windows: the picture-only
// buttons say what they do, the boxes their numbers and kana, the chart
// buttons their kana.

#include "../drill/scripted_random.h"
#include "../support/practice_fixture.h"
#include "app/menuwindow.h"
#include "drill/session.h"
#include "ui/practicewindow.h"
#include "ui/widgets.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QtTest>

using drill::testing::ScriptedRandom;
using testing::Part;

namespace {

QString accessibleText(QWidget *widget, QAccessible::Text which = QAccessible::Name)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(which) : QStringLiteral("<no interface>");
}

QAccessible::Role accessibleRole(QWidget *widget)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->role() : QAccessible::NoRole;
}

} // namespace

class AccessibilityTest : public QObject
{
    Q_OBJECT

private slots:
    void menuButtonsSayWhatTheyDo_data();
    void menuButtonsSayWhatTheyDo();
    void boxesExposeTheirText_data();
    void boxesExposeTheirText();
    void chartButtonsExposeTheirKana_data();
    void chartButtonsExposeTheirKana();
    void rolesTellWhatControlsAre();
};

void AccessibilityTest::menuButtonsSayWhatTheyDo_data()
{
    QTest::addColumn<Part>("part");
    QTest::addColumn<QString>("says");
    QTest::newRow("katakana drill") << Part::KatakanaDrill << "カタカナ ど〜れ？";
    QTest::newRow("hiragana drill") << Part::HiraganaDrill << "ひらがな ど〜れ？";
    QTest::newRow("end") << Part::Quit << "おわる";
}

void AccessibilityTest::menuButtonsSayWhatTheyDo()
{
    QFETCH(Part, part);
    QFETCH(QString, says);
    app::MenuWindow menu;
    auto *button = testing::control(&menu, part);
    QCOMPARE(accessibleText(button), says);
    QCOMPARE(accessibleRole(button), QAccessible::Button);
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(button);
    QVERIFY(face->actionInterface());
    QVERIFY(
        face->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
}

void AccessibilityTest::boxesExposeTheirText_data()
{
    QTest::addColumn<Part>("part");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("description");
    // After Start with あ asked, a wrong press of か, and 3 seconds.
    QTest::newRow("question") << Part::Question << "あ"
                              << "もんだい";
    QTest::newRow("answer") << Part::Answer << "カ"
                            << "こたえ";
    QTest::newRow("seconds") << Part::Seconds << "3"
                             << "びょう";
    QTest::newRow("score") << Part::Score << "0"
                           << "てん";
}

void AccessibilityTest::boxesExposeTheirText()
{
    QFETCH(Part, part);
    QFETCH(QString, text);
    QFETCH(QString, description);
    testing::PracticeFixture f(drill::Direction::HiraganaShown, {ScriptedRandom::forChoice(0, 71)});
    QCOMPARE(accessibleText(f.window), QStringLiteral("カタカナ ど〜れ？"));
    f.find<QAbstractButton>(Part::Start)->click();
    f.window->chartButton(6)->click();
    for (int i = 0; i < 3; ++i) {
        f.window->clockTick();
    }
    QWidget *box = f.find(part);
    QCOMPARE(accessibleText(box), text);
    QCOMPARE(accessibleText(box, QAccessible::Description), description);
}

void AccessibilityTest::chartButtonsExposeTheirKana_data()
{
    QTest::addColumn<drill::Direction>("direction");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("kana");
    QTest::newRow("katakana chart ア") << drill::Direction::HiraganaShown << 1 << "ア";
    QTest::newRow("katakana chart ポ") << drill::Direction::HiraganaShown << 71 << "ポ";
    QTest::newRow("hiragana chart ろ") << drill::Direction::KatakanaShown << 43 << "ろ";
}

void AccessibilityTest::chartButtonsExposeTheirKana()
{
    QFETCH(drill::Direction, direction);
    QFETCH(int, index);
    QFETCH(QString, kana);
    testing::PracticeFixture f(direction);
    QCOMPARE(accessibleText(f.window->chartButton(index)), kana);
    QCOMPARE(accessibleRole(f.window->chartButton(index)), QAccessible::Button);
}

void AccessibilityTest::rolesTellWhatControlsAre()
{
    app::MenuWindow menu;
    QCOMPARE(accessibleRole(&menu), QAccessible::Window);
    QCOMPARE(accessibleText(&menu), menu.windowTitle());
    const QString endsProgram =
        accessibleText(testing::control(&menu, Part::Quit), QAccessible::Description);

    testing::PracticeFixture f(drill::Direction::KatakanaShown);
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(f.window);
    QCOMPARE(face->role(), QAccessible::Window);
    QCOMPARE(face->text(QAccessible::Name), QStringLiteral("ひらがな ど〜れ？"));
    const auto listed = [](QAccessibleInterface *parent, const QWidget *control) {
        for (int i = 0; i < parent->childCount(); ++i) {
            if (parent->child(i)->object() == control) {
                return parent->child(i);
            }
        }
        return static_cast<QAccessibleInterface *>(nullptr);
    };
    QVERIFY(!listed(face, f.find(Part::Results))); // hidden
    QVERIFY(!listed(face, f.find(Part::Circle)));
    QVERIFY(listed(face, f.find(Part::Heading))); // a picture that says what the drill asks

    QAccessibleInterface *options = listed(face, f.find(Part::Options));
    QVERIFY(options);
    QCOMPARE(options->text(QAccessible::Name), QStringLiteral("もんだいのかず"));
    QCOMPARE(options->childCount(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(options->child(i)->role(), QAccessible::RadioButton);
        QCOMPARE(options->child(i)->state().checked, i == 0);
    }
    QCOMPARE(options->child(2)->text(QAccessible::Name), QStringLiteral("すこし (15こ)"));

    f.find<QAbstractButton>(Part::Start)->click();
    f.find<QAbstractButton>(Part::Stop)->click();
    QAccessibleInterface *results = listed(face, f.find(Part::Results));
    QVERIFY(results);
    QCOMPARE(results->role(), QAccessible::Grouping);
    QCOMPARE(results->text(QAccessible::Name), QStringLiteral("けっか"));
    for (int i = 0; i < results->childCount(); ++i) {
        QVERIFY(!qobject_cast<ui::Picture *>(results->child(i)->object()));
    }
    QAccessibleInterface *closes = listed(results, f.find(Part::Finish));
    QVERIFY(closes);
    QCOMPARE(closes->text(QAccessible::Name), QStringLiteral("おわる"));
    QVERIFY(!closes->text(QAccessible::Description).isEmpty());
    QVERIFY(closes->text(QAccessible::Description) != endsProgram);
}

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
