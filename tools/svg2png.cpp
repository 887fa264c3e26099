// Renders an SVG file with Qt's own SVG renderer (the one the program uses)
// to a PNG at its natural size times a scale factor, on a chosen background.
// Usage: svg2png in.svg out.png [scale] [#rrggbb background, default transparent]
#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
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
    image.fill(argc > 4 ? QColor(QString::fromLatin1(argv[4])) : QColor(Qt::transparent));
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    return image.save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
