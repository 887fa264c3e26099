// On a screen scaled by two the layout keeps its logical pixels, and the
// pictures and text are drawn at twice the resolution rather than enlarged.
// Run with QT_SCALE_FACTOR=2.

#include "../drill/scripted_random.h"
#include "../support/pixels.h"
#include "../support/practice_fixture.h"
#include "drill/session.h"
#include "ui/practicewindow.h"
#include "ui/widgets.h"

#include <QAbstractButton>
#include <QtTest>

using testing::Part;

namespace {

// Neighbouring pixels whose grey differs by more than half the range: steep
// edges, counted separately inside each pair of columns (x odd) and between
// pairs (x even). Smoothly enlarging a bitmap spreads every edge over two
// pixels, so it has few steep edges; doubling its pixels keeps them steep but
// puts none inside a pair. A picture drawn at the full resolution has many,
// and in both places.
struct Edges
{
    int inside = 0;
    int between = 0;
};

Edges steepEdges(const QImage &image)
{
    Edges edges;
    for (QPoint p : testing::pointsOf(image.rect().adjusted(1, 0, 0, 0))) {
        if (std::abs(qGray(image.pixel(p)) - qGray(image.pixel(p - QPoint(1, 0)))) > 128) {
            ++(p.x() % 2 ? edges.inside : edges.between);
        }
    }
    return edges;
}

} // namespace

class HiDpiTest : public QObject
{
    Q_OBJECT

private slots:
    void layoutKeepsItsLogicalPixels();
    void edgesStaySharp_data();
    void edgesStaySharp();
};

void HiDpiTest::layoutKeepsItsLogicalPixels()
{
    testing::PracticeFixture f;
    f.window->show();
    QCOMPARE(f.window->devicePixelRatioF(), 2.0);
    QCOMPARE(f.window->size(), QSize(1024, 768));
    QCOMPARE(f.window->chartButton(71)->geometry(), QRect(16, 664, 65, 57));
    QCOMPARE(f.find<QWidget>(Part::Reward)->geometry(), QRect(336, 168, 206, 211));
    const QPixmap grabbed = f.window->grab();
    QCOMPARE(grabbed.size(), QSize(2048, 1536));
}

void HiDpiTest::edgesStaySharp_data()
{
    QTest::addColumn<QRect>("area");  // logical pixels of the window
    QTest::addColumn<bool>("judged"); // the chart released again, its kana black
    QTest::newRow("heading lettering") << QRect(16, 4, 290, 70) << false;
    QTest::newRow("V-sign hand") << QRect(336, 168, 206, 211) << false;
    QTest::newRow("chart kana") << QRect(360, 440, 640, 280) << true;
    QTest::newRow("question kana") << QRect(81, 81, 295, 295) << false;
}

void HiDpiTest::edgesStaySharp()
{
    QFETCH(QRect, area);
    QFETCH(bool, judged);
    testing::PracticeFixture f(drill::Direction::HiraganaShown,
                               {drill::testing::ScriptedRandom::forChoice(1, 71)});
    f.window->show();
    f.find<QAbstractButton>(Part::Start)->click();
    f.window->chartButton(2)->click(); // right: the hand shows
    if (judged) {
        f.window->judgeTick();
        f.window->judgeTick();
    }
    const QImage sharp = f.window->grab(area).toImage();
    QCOMPARE(sharp.size(), area.size() * 2);
    // The same area as a 1x bitmap enlarged to the same size.
    const QImage enlarged =
        sharp.scaled(area.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .scaled(sharp.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const Edges drawn = steepEdges(sharp);
    const Edges smooth = steepEdges(enlarged);
    const QString counts = QStringLiteral("drawn %1+%2, enlarged %3+%4 steep edges")
                               .arg(drawn.inside)
                               .arg(drawn.between)
                               .arg(smooth.inside)
                               .arg(smooth.between);
    QVERIFY2((drawn.inside + drawn.between) * 10 > (smooth.inside + smooth.between) * 15,
             qPrintable(counts));
    QVERIFY2(drawn.inside * 10 > drawn.between * 3, qPrintable(counts));
}

QTEST_MAIN(HiDpiTest)
#include "hidpi_test.moc"
