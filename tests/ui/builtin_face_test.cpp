// The practice windows on a desktop without any Japanese font: the test runs
// with a font configuration that offers only a folder of Latin fonts. Every
// text must still be drawn, in the program's built-in face, with a real
// glyph for each character.

#include "../drill/scripted_random.h"
#include "../support/controls.h"
#include "../support/pixels.h"
#include "../support/practice_fixture.h"
#include "drill/kana.h"
#include "drill/session.h"
#include "ui/look.h"
#include "ui/practicewindow.h"
#include "ui/widgets.h"

#include <QAbstractButton>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QtTest>

using drill::Direction;
using drill::testing::ScriptedRandom;

using testing::Part;

namespace {

// The dark pixels of an image, cropped to their bounding box.
QImage ink(const QImage &image)
{
    QImage mask(image.size(), QImage::Format_Mono);
    mask.fill(0);
    const auto dark = [&](QPoint p) { return qGray(image.pixel(p)) < 128; };
    for (QPoint p : testing::pointsOf(image.rect())) {
        mask.setPixel(p, dark(p) ? 1 : 0);
    }
    return mask.copy(testing::boundsOf(image.rect(), dark));
}

// How well two inks agree, laid on each other at their top left corners:
// the pixels inked in both over those inked in either.
double agreement(const QImage &a, const QImage &b)
{
    int both = 0;
    int either = 0;
    for (QPoint p : testing::pointsOf(a.rect() | b.rect())) {
        const bool inA = a.valid(p) && a.pixelIndex(p) == 1;
        const bool inB = b.valid(p) && b.pixelIndex(p) == 1;
        both += inA && inB ? 1 : 0;
        either += inA || inB ? 1 : 0;
    }
    return either ? double(both) / either : 0.0;
}

// One kana drawn from the outline in the built-in face's own data, black on
// white, without asking the font database for anything.
QImage fromTheFace(const QString &resource, int pixelSize, const QString &kana)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly)) {
        qFatal("no resource %s", qPrintable(resource));
    }
    const QRawFont face(file.readAll(), pixelSize);
    const QList<quint32> glyphs = face.glyphIndexesForString(kana);
    QPainterPath outline = face.pathForGlyph(glyphs.value(0));
    outline.translate(-outline.boundingRect().topLeft() + QPointF(4, 4)); // a margin of 4
    QImage image(outline.boundingRect().size().toSize() + QSize(8, 8), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(outline, Qt::black);
    return image;
}

// What a control shows inside its border.
QImage drawn(QWidget *control, int border)
{
    return control->grab().toImage().copy(
        control->rect().adjusted(border, border, -border, -border));
}

QString text(const QWidget *control)
{
    if (const auto *label = qobject_cast<const QLabel *>(control)) {
        return label->text();
    }
    if (const auto *button = qobject_cast<const QAbstractButton *>(control)) {
        return button->text();
    }
    if (const auto *frame = qobject_cast<const QGroupBox *>(control)) {
        return frame->title();
    }
    return {};
}

} // namespace

class BuiltInFaceTest : public QObject
{
    Q_OBJECT

private slots:
    void everyTextIsDrawnInTheBuiltInFace();
};

void BuiltInFaceTest::everyTextIsDrawnInTheBuiltInFace()
{
    // The desktop offers no Japanese face at all.
    for (const QString &family : QFontDatabase::families()) {
        QVERIFY2(!QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese),
                 qPrintable(family));
    }
    QString allKana = QStringLiteral("0123456789");
    for (int k = 1; k <= drill::kKanaCount; ++k) {
        allKana += QString::fromStdString(std::string(drill::hiraganaAt(k)));
        allKana += QString::fromStdString(std::string(drill::katakanaAt(k)));
    }

    struct Window
    {
        Direction direction;
        QString question;  // the first question, き in the script shown
        QStringList chart; // a few chart captions: き, さ and ふ
    };
    const Window windows[] = {
        {Direction::HiraganaShown, QStringLiteral("き"), {"キ", "サ", "フ"}},
        {Direction::KatakanaShown, QStringLiteral("キ"), {"き", "さ", "ふ"}},
    };
    for (const Window &w : windows) {
        testing::PracticeFixture f(w.direction, {ScriptedRandom::forChoice(6, 71)});
        f.click(Part::Start);
        auto *question = f.find<QLabel>(Part::Question);
        QCOMPARE(question->text(), w.question);

        // Every text, in every kind of control, finds a glyph for each of
        // its characters in the face it is drawn with, and that face is the
        // built-in one; the question box has one for every kana and digit.
        int texts = 0;
        for (QWidget *control : f.window->findChildren<QWidget *>()) {
            QString shown = text(control);
            if (control == question) {
                shown += allKana;
            }
            if (shown.isEmpty()) {
                continue;
            }
            ++texts;
            const QString where = control->objectName() + QLatin1Char(' ') + shown;
            QCOMPARE(QFontInfo(control->font()).family(), ui::builtInFamily());
            const QRawFont face = QRawFont::fromFont(control->font());
            QVERIFY2(face.familyName() == ui::builtInFamily(), qPrintable(where));
            for (const QChar ch : std::as_const(shown)) {
                QVERIFY2(ch == QLatin1Char(' ') || face.supportsCharacter(ch),
                         qPrintable(where + QStringLiteral(": no glyph for ") + ch));
            }
        }
        QVERIFY(texts > 71 + 15);

        // The question and a few chart buttons show the glyphs of the face,
        // and a kana shown is told apart from another one.
        const QImage questionInk = ink(drawn(question, 2));
        // The box may cut off the bottom of the kana: as much of it is
        // compared as the box shows.
        const QImage face = fromTheFace(QStringLiteral(":/fonts/regular.ttf"), 307, w.question);
        const QImage expected = ink(face.copy(0, 0, face.width(), 4 + questionInk.height()));
        QVERIFY2(agreement(questionInk, expected) > 0.8, qPrintable(w.question));
        QList<QImage> chartInks;
        for (int k : {7, 11, 28}) {
            chartInks.append(ink(drawn(f.window->chartButton(k), 3)));
        }
        for (int i = 0; i < 3; ++i) {
            const QImage kana =
                ink(fromTheFace(QStringLiteral(":/fonts/bold.ttf"), 37, w.chart.at(i)));
            QVERIFY2(agreement(chartInks.at(i), kana) > 0.7, qPrintable(w.chart.at(i)));
            QVERIFY2(agreement(chartInks.at((i + 1) % 3), kana) < 0.5, qPrintable(w.chart.at(i)));
        }
    }
}

QTEST_MAIN(BuiltInFaceTest)
#include "builtin_face_test.moc"
