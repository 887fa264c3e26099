// The pictures built into the program: each is there, at its natural size,
// with its background or none, and each sits where it belongs and shows
// when it should.

#include "../drill/scripted_random.h"
#include "../support/controls.h"
#include "../support/pixels.h"
#include "../support/practice_fixture.h"
#include "drill/session.h"
#include "ui/picturecache.h"
#include "ui/practicewindow.h"
#include "ui/widgets.h"

#include <QAbstractButton>
#include <QDataStream>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QSvgRenderer>
#include <QtTest>

using drill::testing::ScriptedRandom;

class PicturesTest : public QObject
{
    Q_OBJECT

private slots:
    void pictures_data();
    void pictures();
    void everyResourceTheCodeNamesExists();
    void sharpAtTwiceTheScale();
    void standsInUntilDrawn_data();
    void standsInUntilDrawn();
    void drawingsLetTheirBackgroundShowThrough_data();
    void drawingsLetTheirBackgroundShowThrough();
    void rewardShowsOnlyWithTheRing_data();
    void rewardShowsOnlyWithTheRing();
    void panelPicturesComeAndGoWithThePanel();
    void iconAtEachSize_data();
    void iconAtEachSize();
};

using testing::Part;

namespace {

// An image of a Windows .ico file: its size as the directory gives it (0
// standing for 256), its bits per pixel, and its data.
struct IcoEntry
{
    int size = 0;
    int bits = 0;
    QByteArray data;
};

QList<IcoEntry> icoEntries(const QByteArray &file)
{
    QDataStream in(file);
    in.setByteOrder(QDataStream::LittleEndian);
    quint16 reserved = 0, type = 0, count = 0;
    in >> reserved >> type >> count;
    QList<IcoEntry> entries;
    for (int i = 0; type == 1 && i < count; ++i) {
        quint8 width = 0, height = 0, colours = 0, zero = 0;
        quint16 planes = 0, bits = 0;
        quint32 bytes = 0, offset = 0;
        in >> width >> height >> colours >> zero >> planes >> bits >> bytes >> offset;
        if (in.status() != QDataStream::Ok || offset + bytes > quint32(file.size())) {
            return {};
        }
        entries.append({width == 0 ? 256 : width, bits, file.mid(int(offset), int(bytes))});
    }
    return entries;
}

// An image of an .ico drawn with a palette of 8 bits per pixel and a 1-bit
// mask. Checks each field on the way; an empty image means the data is not
// of that kind.
struct IcoImage
{
    QImage image; // ARGB32, masked pixels fully transparent (0)
    int paletteSize = 0;
    QSet<int> usedIndices; // palette entries of the unmasked pixels
};

IcoImage readIco(const QByteArray &data)
{
    IcoImage ico;
    QDataStream in(data);
    in.setByteOrder(QDataStream::LittleEndian);
    quint32 headerSize = 0, compression = 0, imageSize = 0, used = 0, important = 0;
    qint32 w = 0, h = 0, xppm = 0, yppm = 0;
    quint16 bitPlanes = 0, bits = 0;
    in >> headerSize >> w >> h >> bitPlanes >> bits >> compression >> imageSize >> xppm >> yppm >>
        used >> important;
    if (headerSize != 40 || w <= 0 || h != 2 * w || bits != 8 || compression != 0) {
        return ico;
    }
    ico.paletteSize = used == 0 ? 256 : int(used);
    QList<QRgb> palette;
    for (int i = 0; i < ico.paletteSize; ++i) {
        quint8 b = 0, g = 0, r = 0, pad = 0;
        in >> b >> g >> r >> pad;
        palette << qRgb(r, g, b);
    }
    // Rows bottom-up: the colour indices, then the mask, each row padded
    // to four bytes.
    const int maskStride = (w + 31) / 32 * 4;
    const QByteArray pixels = data.mid(int(in.device()->pos()), w * w + maskStride * w);
    if (in.status() != QDataStream::Ok || pixels.size() != w * w + maskStride * w) {
        return ico;
    }
    QImage image(w, w, QImage::Format_ARGB32);
    for (int row = 0; row < w; ++row) {
        const int y = w - 1 - row;
        for (int x = 0; x < w; ++x) {
            const auto index = quint8(pixels[row * w + x]);
            const auto maskByte = quint8(pixels[w * w + row * maskStride + x / 8]);
            if (maskByte & (0x80 >> (x % 8))) {
                image.setPixel(x, y, 0);
            } else {
                ico.usedIndices.insert(index);
                image.setPixel(x, y, palette.value(index));
            }
        }
    }
    ico.image = image;
    return ico;
}

// ARGB32 with every fully transparent pixel as 0, whatever colour it hides.
QImage withPlainTransparency(const QImage &source)
{
    QImage image = source.convertToFormat(QImage::Format_ARGB32);
    for (QPoint p : testing::pointsOf(image.rect())) {
        if (qAlpha(image.pixel(p)) == 0) {
            image.setPixel(p, 0);
        }
    }
    return image;
}

} // namespace

void PicturesTest::pictures_data()
{
    QTest::addColumn<QString>("resource");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QColor>("background"); // invalid: no background at all
    const QColor paleYellow(252, 255, 208);
    const QColor white(255, 255, 255);
    QTest::newRow("katakana button") << "menu_katakana.svg" << QSize(290, 86) << paleYellow;
    QTest::newRow("hiragana button") << "menu_hiragana.svg" << QSize(290, 87) << paleYellow;
    QTest::newRow("end button") << "menu_end.svg" << QSize(120, 42) << QColor(255, 215, 237);
    QTest::newRow("teacher") << "teacher.svg" << QSize(66, 65) << white;
    QTest::newRow("katakana heading") << "heading_katakana.svg" << QSize(290, 86) << white;
    QTest::newRow("hiragana heading") << "heading_hiragana.svg" << QSize(290, 87) << white;
    QTest::newRow("children") << "children.svg" << QSize(215, 108) << QColor();
    QTest::newRow("markers") << "markers.svg" << QSize(221, 19) << QColor();
    QTest::newRow("V sign") << "vsign.svg" << QSize(206, 211) << QColor();
    QTest::newRow("icon") << "icon.svg" << QSize(32, 32) << QColor();
}

void PicturesTest::pictures()
{
    QFETCH(QString, resource);
    QFETCH(QSize, size);
    QFETCH(QColor, background);
    const QString path = QStringLiteral(":/pictures/") + resource;
    QVERIFY(QFile::exists(path));
    QSvgRenderer renderer(path);
    QVERIFY(renderer.isValid());
    QCOMPARE(renderer.defaultSize(), size);
    QCOMPARE(renderer.viewBoxF(), QRectF(QPointF(0, 0), QSizeF(size)));
    // Rendered at build time for the common scales, drawn from the vectors
    // at any other.
    const QString name = resource.chopped(4);
    QCOMPARE(ui::rawPixels(QStringLiteral(":/pictures/rendered/%1.argb").arg(name)).size(), size);
    QCOMPARE(ui::rawPixels(QStringLiteral(":/pictures/rendered/%1@2x.argb").arg(name)).size(),
             size * 2);
    const QSize oddPixels(qCeil(size.width() * 1.5), qCeil(size.height() * 1.5));
    const QPixmap oddScale = ui::pictureIn(path, oddPixels, 1.5);
    QCOMPARE(oddScale.size(), oddPixels);
    QCOMPARE(oddScale.devicePixelRatio(), 1.5);
    const QImage image = ui::pictureIn(path, size, 1.0).toImage();
    QCOMPARE(image.size(), size);
    // The top corners: the children's shoulders run off the bottom edge.
    const QList<QPoint> corners = {{0, 0}, {size.width() - 1, 0}};
    if (background.isValid()) {
        QCOMPARE(image.pixelColor(0, 0), background);
        QCOMPARE(
            testing::countOf(image.rect(), [&](QPoint p) { return qAlpha(image.pixel(p)) < 255; }),
            0); // an opaque picture
    } else {
        for (QPoint corner : corners) {
            QCOMPARE(qAlpha(image.pixel(corner)), 0);
        }
        // The hand ends in its cuff above the bottom row; nothing is cut off.
        if (resource == QLatin1String("vsign.svg")) {
            for (int x = 0; x < size.width(); ++x) {
                QVERIFY2(qAlpha(image.pixel(x, size.height() - 1)) == 0,
                         qPrintable(QStringLiteral("ink at %1 in the bottom row").arg(x)));
            }
        }
    }
    // The lettered pictures keep their letters within rows 14..74.
    if (resource.startsWith(QLatin1String("menu_k")) ||
        resource.startsWith(QLatin1String("menu_h")) ||
        resource.startsWith(QLatin1String("heading"))) {
        const QRect ink = testing::boundsOf(
            image.rect(), [&](QPoint p) { return image.pixelColor(p) != background; });
        QVERIFY2(ink.top() >= 14 && ink.bottom() <= 74,
                 qPrintable(QStringLiteral("ink in rows %1..%2").arg(ink.top()).arg(ink.bottom())));
    }
}

void PicturesTest::everyResourceTheCodeNamesExists()
{
    const QRegularExpression named(QStringLiteral(R"re(":/pictures/([A-Za-z0-9_.-]+)")re"));
    int names = 0;
    for (const char *folder : {"ui", "app"}) {
        QDirIterator files(QStringLiteral(POKOMOJI_SOURCE_DIR "/") + QLatin1String(folder),
                           {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files);
        while (files.hasNext()) {
            QFile file(files.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString source = QString::fromUtf8(file.readAll());
            for (const auto &match : named.globalMatch(source)) {
                const QString name = match.captured(1);
                QVERIFY2(QFile::exists(QStringLiteral(":/pictures/") + name), qPrintable(name));
                ++names;
            }
        }
    }
    QVERIFY(names >= 8);
}

void PicturesTest::sharpAtTwiceTheScale()
{
    // At a device pixel ratio of 2 a picture is drawn from its vectors at
    // twice the pixels, not enlarged from its 1x bitmap.
    const QString path = QStringLiteral(":/pictures/heading_katakana.svg");
    const QPixmap once = ui::pictureIn(path, ui::pictureSize(path), 1.0);
    const QPixmap twice = ui::pictureIn(path, ui::pictureSize(path) * 2, 2.0);
    QCOMPARE(twice.size(), once.size() * 2);
    QCOMPARE(twice.devicePixelRatio(), 2.0);
    QCOMPARE(twice.deviceIndependentSize(), QSizeF(290, 86));
    const QImage enlarged =
        once.toImage().scaled(twice.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QImage sharp = twice.toImage().convertToFormat(enlarged.format());
    const int differing = testing::countOf(
        sharp.rect(), [&](QPoint p) { return sharp.pixel(p) != enlarged.pixel(p); });
    QVERIFY2(differing > 1000, qPrintable(QString::number(differing)));
}

// A widget that counts its paints.
class PaintCounter : public QWidget
{
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *) override { ++paints; }
};

void PicturesTest::standsInUntilDrawn_data()
{
    QTest::addColumn<qreal>("scale");
    QTest::newRow("smaller than its own size") << 0.7;
    QTest::newRow("between once and twice") << 1.4;
    QTest::newRow("beyond twice") << 2.6;
}

void PicturesTest::standsInUntilDrawn()
{
    // At a size the build did not render, a widget's first paint shows the
    // rendering scaled, without drawing the vectors; they are drawn right
    // after, and the widget is painted again with them.
    QFETCH(qreal, scale);
    const QString path = QStringLiteral(":/pictures/menu_hiragana.svg");
    const QSize pixels = (QSizeF(ui::pictureSize(path)) * scale).toSize();
    PaintCounter widget;
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    const int paints = widget.paints;
    const QPixmap standIn = ui::pictureFor(&widget, path, pixels, scale);
    QCOMPARE(standIn.size(), pixels);
    QCOMPARE(standIn.devicePixelRatio(), scale);
    QTRY_VERIFY(widget.paints > paints);
    const QImage drawn = ui::pictureFor(&widget, path, pixels, scale).toImage();
    QCOMPARE(drawn, ui::pictureIn(path, pixels, scale).toImage());
    // Not the drawing yet, but close to it: the same picture, a little softer.
    const QImage scaled = standIn.toImage().convertToFormat(drawn.format());
    QVERIFY(scaled != drawn);
    qint64 difference = 0;
    for (QPoint p : testing::pointsOf(drawn.rect())) {
        const QRgb a = scaled.pixel(p), b = drawn.pixel(p);
        difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                      std::abs(qBlue(a) - qBlue(b)) + std::abs(qAlpha(a) - qAlpha(b));
    }
    const double mean = double(difference) / (4.0 * drawn.width() * drawn.height());
    QVERIFY2(mean < 3, qPrintable(QString::number(mean)));
}

void PicturesTest::drawingsLetTheirBackgroundShowThrough_data()
{
    QTest::addColumn<QPoint>("at"); // window pixels
    QTest::addColumn<QColor>("expected");
    QTest::addColumn<bool>("results");
    const QColor white(255, 255, 255);
    const QColor pink(255, 192, 192);
    // Image2 at (336, 168): the V between the fingers.
    QTest::newRow("between the fingers") << QPoint(336 + 100, 168 + 20) << white << false;
    QTest::newRow("low in the V") << QPoint(336 + 104, 168 + 38) << white << false;
    // Image4 at panel (16, 128), the panel at (160, 192).
    QTest::newRow("between the girl and the boy") << QPoint(176 + 76, 320 + 50) << pink << true;
    QTest::newRow("between the two boys") << QPoint(176 + 145, 320 + 50) << pink << true;
    // Image3(0) at panel (16, 16) and Image3(4) at (240, 352).
    QTest::newRow("between two markers") << QPoint(176 + 16, 208 + 13) << pink << true;
    QTest::newRow("between markers below") << QPoint(400 + 63, 544 + 13) << pink << true;
}

void PicturesTest::drawingsLetTheirBackgroundShowThrough()
{
    QFETCH(QPoint, at);
    QFETCH(QColor, expected);
    QFETCH(bool, results);
    testing::PracticeFixture f(drill::Direction::HiraganaShown, {ScriptedRandom::forChoice(0, 71)});
    f.find<QAbstractButton>(Part::Start)->click();
    if (results) {
        f.find<QAbstractButton>(Part::Stop)->click();
    } else {
        f.window->chartButton(1)->click(); // a right answer shows the hand
    }
    const QImage image = f.window->grab().toImage();
    QCOMPARE(image.pixelColor(at), expected);
    // ...and the drawing itself is there around that point.
    bool inked = false;
    for (int dx = -40; dx <= 40 && !inked; ++dx) {
        inked = qGray(image.pixel(at + QPoint(dx, 0))) < 60; // a black outline
    }
    QVERIFY(inked);
}

void PicturesTest::rewardShowsOnlyWithTheRing_data()
{
    QTest::addColumn<bool>("right");
    QTest::newRow("right answer") << true;
    QTest::newRow("wrong answer") << false;
}

void PicturesTest::rewardShowsOnlyWithTheRing()
{
    QFETCH(bool, right);
    testing::PracticeFixture f(drill::Direction::KatakanaShown,
                               {ScriptedRandom::forChoice(4, 71)}); // お
    f.window->show();
    QWidget *hand = f.find<QWidget>(Part::Reward);
    QWidget *ring = f.find<QWidget>(Part::Circle);
    QVERIFY(hand->isHidden());
    f.find<QAbstractButton>(Part::Start)->click();
    QVERIFY(hand->isHidden());
    f.window->chartButton(right ? 5 : 6)->click();
    QCOMPARE(hand->isVisible(), right);
    QCOMPARE(ring->isVisible(), right);
    f.judge();
    QVERIFY(hand->isHidden());
}

void PicturesTest::panelPicturesComeAndGoWithThePanel()
{
    testing::PracticeFixture f;
    f.window->show();
    QList<QWidget *> pictures{f.find<QWidget>(Part::Children)};
    for (int i = 0; i < 6; ++i) {
        pictures << f.find(Part::Marker, i);
    }
    const auto allVisible = [&](bool visible) {
        return std::all_of(pictures.begin(), pictures.end(),
                           [&](QWidget *w) { return w && w->isVisible() == visible; });
    };
    QVERIFY(allVisible(false));
    f.find<QAbstractButton>(Part::Start)->click();
    QVERIFY(allVisible(false));
    f.find<QAbstractButton>(Part::Stop)->click();
    QVERIFY(allVisible(true));
    f.find<QAbstractButton>(Part::Again)->click();
    QVERIFY(allVisible(false));
}

void PicturesTest::iconAtEachSize_data()
{
    // The sizes the icon theme gets, each also built into the program as
    // the window icon.
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("path");
    const QString assets = QStringLiteral(POKOMOJI_SOURCE_DIR "/assets/icon-%1.png");
    for (int size : {16, 22, 24, 32, 48}) {
        QTest::addRow("%d pixels", size) << size << assets.arg(size);
    }
}

void PicturesTest::iconAtEachSize()
{
    QFETCH(int, size);
    QFETCH(QString, path);
    QFile file(QStringLiteral(POKOMOJI_SOURCE_DIR "/assets/pokomoji.ico"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    // The program file's first image is the 32-pixel one; Windows finds an
    // image drawn for each size it shows, 256 pixels as a PNG.
    const QList<IcoEntry> entries = icoEntries(file.readAll());
    QList<int> sizes;
    for (const IcoEntry &entry : entries) {
        sizes << entry.size;
        QCOMPARE(entry.bits, entry.size == 256 ? 32 : 8);
    }
    QCOMPARE(sizes, QList<int>({32, 16, 24, 48, 256}));
    QCOMPARE(QImage::fromData(entries.last().data, "PNG").size(), QSize(256, 256));
    const IcoImage ico = readIco(entries.first().data);
    QCOMPARE(ico.image.size(), QSize(32, 32));
    QCOMPARE(ico.paletteSize, 256);
    QVERIFY2(ico.usedIndices.size() <= 31, qPrintable(QString::number(ico.usedIndices.size())));
    QSet<QRgb> icoColours;
    for (QPoint p : testing::pointsOf(ico.image.rect())) {
        if (qAlpha(ico.image.pixel(p)) != 0) {
            icoColours.insert(ico.image.pixel(p));
        }
    }

    // Each size is a palette image whose pixels are either opaque or fully
    // transparent, in the colours of the .ico and no others.
    const QImage icon(path);
    QCOMPARE(icon.size(), QSize(size, size));
    QCOMPARE(icon.format(), QImage::Format_Indexed8);
    QSet<QRgb> colours;
    for (QPoint p : testing::pointsOf(icon.rect())) {
        const QRgb pixel = icon.pixel(p);
        QVERIFY2(qAlpha(pixel) == 0 || qAlpha(pixel) == 255,
                 qPrintable(
                     QStringLiteral("alpha %1 at %2,%3").arg(qAlpha(pixel)).arg(p.x()).arg(p.y())));
        if (qAlpha(pixel) == 255) {
            colours.insert(pixel);
        }
    }
    QVERIFY2(colours.size() <= 31, qPrintable(QString::number(colours.size())));
    QVERIFY2(icoColours.contains(colours), "a colour the .ico does not have");
    // The window icon built into the program, and the program file's image
    // of that size where it has one, are the very same drawing.
    QCOMPARE(withPlainTransparency(
                 ui::rawPixels(QStringLiteral(":/pictures/rendered/icon-%1.argb").arg(size))),
             withPlainTransparency(icon));
    if (size == 32) {
        QCOMPARE(colours, icoColours);
    }
    for (const IcoEntry &entry : entries) {
        if (entry.size == size) {
            QCOMPARE(withPlainTransparency(icon), readIco(entry.data).image);
        }
    }
}

QTEST_MAIN(PicturesTest)
#include "pictures_test.moc"
