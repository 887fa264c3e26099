// Renders an SVG file with Qt's own SVG renderer (the one the program uses)
// to a PNG at its natural size times a scale factor, on a chosen background.
// Usage: svg2png in.svg out.png [scale] [#rrggbb background, default transparent]
//
// It runs without a QGuiApplication: the pictures hold only paths and shapes,
// which QPainter draws on a QImage without any platform plugin, so the build
// step needs no display, no runtime folder and prints nothing.
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: svg2png in.svg out.png [scale] [#rrggbb]\n");
        return 2;
    }
    QSvgRenderer renderer{QString::fromLocal8Bit(argv[1])};
    if (!renderer.isValid()) {
        std::fprintf(stderr, "svg2png: cannot read %s\n", argv[1]);
        return 1;
    }
    const double scale = argc > 3 ? std::atof(argv[3]) : 1.0;
    const QSize size = renderer.defaultSize() * scale;
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    // 96 dpi, as on a screen; without an application Qt would assume 100.
    constexpr int dotsPerMeter = 3780;
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(argc > 4 ? QColor(QString::fromLatin1(argv[4])) : QColor(Qt::transparent));
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return image.save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
