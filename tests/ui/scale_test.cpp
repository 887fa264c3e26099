// The practice window on screens of other sizes and scales: placed as the
// program places it, it fits the screen's free area and every button there
// can be pressed; F11 fills the screen and returns; every bordered control
// draws its edges on whole device pixels, equally wide on its four sides and
// nothing outside its rectangle. Run once per screen, each given to Qt's
// offscreen platform as a file (QT_QPA_PLATFORM=offscreen:configfile=...).

#include "../drill/scripted_random.h"
#include "../support/pixels.h"
#include "../support/practice_fixture.h"
#include "drill/session.h"
#include "ui/chartlayout.h"
#include "ui/layouttable.h"
#include "ui/practicewindow.h"
#include "ui/widgets.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

using testing::Part;

namespace {

const auto designedSize = [](qreal s = 1.0) { return ui::windowSize(ui::practiceLayout(), s); };

struct Fixture : testing::PracticeFixture
{
    explicit Fixture(std::deque<double> script = {})
        : PracticeFixture(drill::Direction::HiraganaShown, std::move(script))
    {
        window->placement().place(); // as the program opens it
        window->show();
        window->activateWindow();
    }
};

// A widget's rectangle in device pixels of a grab of its window: each edge
// on the grid line nearest to it, halves upwards, where a fill of the
// rectangle stops.
QRect deviceRect(const QWidget *widget, qreal ratio)
{
    const QRectF r(widget->mapTo(widget->window(), QPoint()), widget->size());
    const auto edge = [ratio](qreal v) { return static_cast<int>(std::floor(v * ratio + 0.5)); };
    return QRect(QPoint(edge(r.left()), edge(r.top())),
                 QPoint(edge(r.right()) - 1, edge(r.bottom()) - 1));
}

// A grab of the whole window in device pixels, with the width in device
// pixels of a line one pixel of the layout wide.
struct Grab
{
    explicit Grab(ui::PracticeWindow &window)
        : image(window.grab().toImage().convertToFormat(QImage::Format_RGB32)),
          ratio(window.devicePixelRatioF()),
          line(std::max(1, static_cast<int>(std::floor(window.placement().scale() * ratio + 0.5))))
    {
    }
    QImage image;
    qreal ratio;
    int line;
};

// How many pixels from a start, stepping one way, differ from a fill colour.
// The largest difference of any colour channel between two grabs of one
// size. A glyph drawn again from the font cache may differ by a few levels in
// its antialiased edge; a control out of place differs by far more.
int largestDifference(const QImage &a, const QImage &b)
{
    int largest = 0;
    for (QPoint at : testing::pointsOf(a.rect())) {
        const QRgb p = a.pixel(at);
        const QRgb q = b.pixel(at);
        largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                            std::abs(qBlue(p) - qBlue(q))});
    }
    return largest;
}

// Whether a window's scale is the one that fills a room in logical pixels,
// or, where a fractional device pixel ratio leaves a logical pixel standing
// for more device pixels than the room has, one logical pixel less.
bool fitsInDevicePixels(qreal scale, qreal logicalFit)
{
    const int designed = designedSize().height();
    return scale <= logicalFit + 1e-9 && scale >= logicalFit - 1.0 / designed - 1e-9;
}

int edgeWidth(const QImage &image, QPoint from, QPoint step, QRgb fill)
{
    int n = 0;
    for (QPoint p = from; image.rect().contains(p) && image.pixel(p) != fill; p += step) {
        ++n;
    }
    return n;
}

} // namespace

class ScaleTest : public QObject
{
    Q_OBJECT

private slots:
    void fitsTheScreenAndEveryButtonPresses();
    void fullScreenAndBack();
    void edgesAreEvenAndInside();
    void everySeamIsTheSame_data();
    void everySeamIsTheSame();
    void smallTextIsReadable();
    void captionsKeepClearOfTheirEdges();
    void relayingOutAtTheDesignedScaleRestoresTheGrab();
    void followsTheWindowToAnotherScreen();
};

void ScaleTest::fitsTheScreenAndEveryButtonPresses()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(f.window.data()));
    const QRect available = f.window->screen()->availableGeometry();
    const QSize designed = designedSize();
    const qreal expected = std::min({1.0, qreal(available.width()) / designed.width(),
                                     qreal(available.height()) / designed.height()});
    QVERIFY(fitsInDevicePixels(f.window->placement().scale(), expected));
    QVERIFY(available.contains(f.window->frameGeometry()));
    QCOMPARE(f.window->geometry().center(), available.center());

    // Every button, Start, Stop, とじる and the results panel lie on the
    // screen; a click at a chart button's centre presses that button.
    QList<QWidget *> onScreen{f.find(Part::Close), f.find(Part::Start), f.find(Part::Stop),
                              f.find(Part::Results), f.find(Part::Option, 3)};
    for (int k = 1; k <= drill::kKanaCount; ++k) {
        onScreen << f.window->chartButton(k);
    }
    for (QWidget *control : onScreen) {
        const QRect global(control->mapToGlobal(QPoint()), control->size());
        QVERIFY2(available.contains(global), qPrintable(control->objectName()));
        const QPoint centre = f.window->mapFromGlobal(global.center());
        if (control == f.find(Part::Results)) {
            continue;
        }
        QCOMPARE(f.window->childAt(centre), control);
        if (auto *chart = qobject_cast<ui::ChartButton *>(control)) {
            QSignalSpy pressed(chart, &QAbstractButton::clicked);
            QTest::mouseClick(f.window->windowHandle(), Qt::LeftButton, {}, centre);
            QVERIFY2(pressed.count() == 1, qPrintable(chart->text()));
        }
    }
}

void ScaleTest::fullScreenAndBack()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(f.window.data()));
    const QRect designed71 = f.window->chartButton(71)->geometry();
    const QSize normal = f.window->size();

    QTest::keyClick(f.window.data(), Qt::Key_F11);
    QTRY_VERIFY(f.window->isFullScreen());
    const QSize screen = f.window->screen()->geometry().size();
    QTRY_COMPARE(f.window->size(), screen);
    const QSize designed = designedSize();
    const qreal fit = std::min(qreal(screen.width()) / designed.width(),
                               qreal(screen.height()) / designed.height());
    QTRY_VERIFY(fitsInDevicePixels(f.window->placement().scale(), fit));
    const qreal s = f.window->placement().scale();
    // The chart scaled by s, and the content centred on the white.
    QRect chart;
    for (int k = 1; k <= drill::kKanaCount; ++k) {
        chart |= f.window->chartButton(k)->geometry();
    }
    const QRect content((screen.width() - designedSize(s).width()) / 2,
                        (screen.height() - designedSize(s).height()) / 2, 0, 0);
    QCOMPARE(chart.topLeft(),
             content.topLeft() + QPoint(std::lround(16 * s), std::lround(440 * s)));
    QVERIFY2(
        std::abs(chart.width() - 985 * s) <= 2 && std::abs(chart.height() - 281 * s) <= 2,
        qPrintable(QStringLiteral("%1x%2 at %3").arg(chart.width()).arg(chart.height()).arg(s)));
    QCOMPARE(
        f.window->chartButton(71)->geometry(),
        ui::chartButtonRect(71, s, f.window->devicePixelRatioF()).translated(content.topLeft()));

    QTest::keyClick(f.window.data(), Qt::Key_F11);
    QTRY_VERIFY(!f.window->isFullScreen());
    QTRY_COMPARE(f.window->size(), normal);
    QCOMPARE(f.window->chartButton(71)->geometry(), designed71);
}

void ScaleTest::edgesAreEvenAndInside()
{
    // Each bordered control on the window's white, from the layout table.
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(f.window.data()));
    const Grab g(*f.window);
    const QRgb white = qRgb(255, 255, 255);
    int checked = 0;
    for (const ui::Control &row : ui::practiceLayout()) {
        const bool bordered = row.line > 0 && row.container == Part::Window &&
                              (row.kind == ui::Kind::Label || row.kind == ui::Kind::RaisedButton);
        if (!bordered) {
            continue;
        }
        const QWidget *control = f.find(row.part, row.index);
        const QRect r = deviceRect(control, g.ratio);
        // The fill, where no line and no text lies: just inside the edges,
        // a quarter down.
        const int lines = row.kind == ui::Kind::RaisedButton ? 2 : 1;
        const QPoint inside(r.left() + lines * g.line + 1, r.top() + r.height() / 4);
        const QRgb fill = g.image.pixel(inside);
        const int midX = r.left() + r.width() / 4;
        const int midY = r.top() + r.height() / 4;
        const QString where = QStringLiteral("%1 at %2").arg(QLatin1String(row.name)).arg(g.ratio);
        // Equally wide on the four sides...
        const QList<int> widths = {edgeWidth(g.image, {r.left(), midY}, {1, 0}, fill),
                                   edgeWidth(g.image, {r.right(), midY}, {-1, 0}, fill),
                                   edgeWidth(g.image, {midX, r.top()}, {0, 1}, fill),
                                   edgeWidth(g.image, {midX, r.bottom()}, {0, -1}, fill)};
        QCOMPARE(widths, QList<int>(4, lines * g.line));
        // ...and nothing beyond them.
        for (QPoint outside : {QPoint(r.left() - 1, midY), QPoint(r.right() + 1, midY),
                               QPoint(midX, r.top() - 1), QPoint(midX, r.bottom() + 1)}) {
            QVERIFY2(
                g.image.pixel(outside) == white,
                qPrintable(where +
                           QStringLiteral(": colour at %1,%2").arg(outside.x()).arg(outside.y())));
        }
        ++checked;
    }
    QCOMPARE(checked, 5); // Label1, Label2, TimeBox, Tokuten, とじる
}

void ScaleTest::everySeamIsTheSame_data()
{
    QTest::addColumn<bool>("fullScreen");
    QTest::newRow("placed") << false;
    QTest::newRow("full screen") << true;
}

void ScaleTest::everySeamIsTheSame()
{
    // Across every seam between two chart buttons, left to right or top to
    // bottom, whichever of the two lies on top: the grey and dark lines of
    // the left or upper button, then the white line of the other, each one
    // line wide.
    QFETCH(bool, fullScreen);
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(f.window.data()));
    if (fullScreen) {
        QTest::keyClick(f.window.data(), Qt::Key_F11);
        QTRY_VERIFY(f.window->isFullScreen());
        QTRY_COMPARE(f.window->size(), f.window->screen()->geometry().size());
    }
    f.window->chartButton(43)->clearFocus(); // no focus frame beside a seam
    const Grab g(*f.window);
    const QRgb face = g.image.pixel(deviceRect(f.window->chartButton(1), g.ratio).topLeft() +
                                    QPoint(3 * g.line, 3 * g.line));
    // The colours between the two faces, walking out from a pixel of the
    // seam both ways.
    const auto profile = [&](QPoint seam, QPoint step) {
        QList<QRgb> colours;
        QPoint p = seam;
        while (g.image.rect().contains(p - step) && g.image.pixel(p - step) != face) {
            p -= step;
        }
        for (; g.image.rect().contains(p) && g.image.pixel(p) != face; p += step) {
            colours << g.image.pixel(p);
        }
        return colours;
    };
    QList<QRgb> expected;
    for (QRgb colour : {qRgb(160, 160, 160), qRgb(64, 64, 64), qRgb(255, 255, 255)}) {
        expected << QList<QRgb>(g.line, colour);
    }
    const auto describe = [](const QList<QRgb> &colours) {
        QStringList grey;
        for (QRgb c : colours) {
            grey << QString::number(qGray(c));
        }
        return grey.join(QLatin1Char(','));
    };
    int seams = 0;
    QStringList uneven;
    for (int k = 1; k <= drill::kKanaCount; ++k) {
        const ui::ChartCell cell = ui::chartCell(k);
        const QRect r = deviceRect(f.window->chartButton(k), g.ratio);
        // The right neighbour lies beneath, the one below on top; column 4
        // ends the voiced block, before the gap.
        if (const int right = ui::kanaAtCell({cell.column + 1, cell.row});
            right && cell.column != 4) {
            const QRect n = deviceRect(f.window->chartButton(right), g.ratio);
            const QList<QRgb> down = profile({n.left(), r.center().y()}, {1, 0});
            if (down != expected) {
                uneven << QStringLiteral("%1|%2: %3").arg(k).arg(right).arg(describe(down));
            }
            ++seams;
        }
        if (const int below = ui::kanaAtCell({cell.column, cell.row + 1})) {
            const QRect n = deviceRect(f.window->chartButton(below), g.ratio);
            const QList<QRgb> across = profile({r.center().x(), n.top()}, {0, 1});
            if (across != expected) {
                uneven << QStringLiteral("%1/%2: %3").arg(k).arg(below).arg(describe(across));
            }
            ++seams;
        }
    }
    QCOMPARE(seams, 111); // 59 between columns, 52 between rows
    QVERIFY2(uneven.isEmpty(), qPrintable(QStringLiteral("expected %1 at ratio %2, scale %3; ")
                                              .arg(describe(expected))
                                              .arg(g.ratio)
                                              .arg(f.window->placement().scale()) +
                                          uneven.join(QLatin1String("; "))));
}

void ScaleTest::smallTextIsReadable()
{
    // On a screen of 800 × 600 device pixels or more no text of the window,
    // on the results panel too, is drawn smaller than 10 device pixels.
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(f.window.data()));
    const qreal ratio = f.window->devicePixelRatioF();
    qreal smallest = 1000;
    QString which;
    for (const QWidget *control : f.window->findChildren<QWidget *>()) {
        QString text;
        if (const auto *button = qobject_cast<const QAbstractButton *>(control)) {
            text = button->text();
        } else if (const auto *label = qobject_cast<const QLabel *>(control)) {
            text = label->text();
        } else if (const auto *frame = qobject_cast<const QGroupBox *>(control)) {
            text = frame->title();
        }
        const qreal size = QFontInfo(control->font()).pixelSize() * ratio;
        if (!text.isEmpty() && size < smallest) {
            smallest = size;
            which = text;
        }
    }
    const QString found = QStringLiteral("smallest text %1 device px: %2").arg(smallest).arg(which);
    qInfo("%s", qPrintable(found));
    const QSize screen = f.window->screen()->geometry().size() * ratio;
    if (screen.width() < 800 || screen.height() < 600) {
        QSKIP("a screen smaller than 800 × 600: its captions keep clear of their edges instead");
    }
    QVERIFY2(smallest >= 10, qPrintable(found));
}

void ScaleTest::captionsKeepClearOfTheirEdges()
{
    // Every button's caption, on the window and on the results panel, keeps
    // 3 device pixels clear of the button's edges: its ink is what differs
    // between a grab of the button with its caption and one without.
    Fixture f({0.5});
    QVERIFY(QTest::qWaitForWindowExposed(f.window.data()));
    int smallest = 1000;
    QString which;
    const auto measure = [&](QAbstractButton *button) {
        const QRect area(button->mapTo(f.window.data(), QPoint()), button->size());
        const QString text = button->text();
        const QImage with = f.window->grab(area).toImage();
        button->setText(QString());
        const QImage without = f.window->grab(area).toImage();
        button->setText(text);
        const QRect ink = testing::boundsOf(
            with.rect(), [&](QPoint p) { return with.pixel(p) != without.pixel(p); });
        const int gap = ink.isEmpty()
                            ? 0
                            : std::min({ink.left(), ink.top(), with.width() - 1 - ink.right(),
                                        with.height() - 1 - ink.bottom()});
        if (gap < smallest) {
            smallest = gap;
            which = text;
        }
    };
    for (QAbstractButton *button : f.window->findChildren<QAbstractButton *>()) {
        if (!button->text().isEmpty() && button->isVisibleTo(f.window.data()) &&
            !f.find<QWidget>(Part::Results)->isAncestorOf(button)) {
            measure(button);
        }
    }
    // The results panel's buttons, after a session stopped.
    f.find<QAbstractButton>(Part::Start)->click();
    f.find<QAbstractButton>(Part::Stop)->click();
    for (Part part : {Part::Again, Part::Finish}) {
        auto *button = f.find<QAbstractButton>(part);
        QTRY_VERIFY(button->isVisible());
        measure(button);
    }
    const QString found = QStringLiteral("smallest gap %1 device px: %2").arg(smallest).arg(which);
    qInfo("%s", qPrintable(found));
    QVERIFY2(smallest >= 3, qPrintable(found));
}

void ScaleTest::relayingOutAtTheDesignedScaleRestoresTheGrab()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(f.window.data()));
    const qreal s = f.window->placement().scale();
    const QImage before = f.window->grab().toImage();
    f.window->layout().layOut(0.7, {5, 9});
    QVERIFY(f.window->grab().toImage() != before);
    f.window->layout().layOut(s, {});
    const QImage after = f.window->grab().toImage();
    QCOMPARE(after.size(), before.size());
    QCOMPARE_LE(largestDifference(after, before), 8);
}

void ScaleTest::followsTheWindowToAnotherScreen()
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (screens.size() < 2) {
        QSKIP("one screen");
    }
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(f.window.data()));
    for (QScreen *screen : {screens[1], screens[0]}) {
        f.window->setScreen(screen);
        const QRect available = screen->availableGeometry();
        const qreal expected =
            std::min({1.0, available.width() / 1024.0, available.height() / 768.0});
        QTRY_COMPARE(f.window->placement().scale(), expected);
        QVERIFY(available.contains(f.window->geometry()));
        QCOMPARE(f.window->chartButton(71)->geometry(),
                 ui::chartButtonRect(71, expected, f.window->devicePixelRatioF()));
    }
}

QTEST_MAIN(ScaleTest)
#include "scale_test.moc"
