// Renders an SVG file with Qt's own SVG renderer (the one the program uses),
// or reads a PNG file, at its natural size times a scale factor, on a chosen
// background, and writes it as a PNG or BMP file, or as the program's raw
// pixels (a name ending in .argb): the width and the height as two 32-bit
// numbers, then the premultiplied ARGB32 pixels row by row, all in this
// machine's byte order. The program shows raw pixels without decoding them.
// Usage: svg2png in.svg|in.png out.png|out.bmp|out.argb [scale] [#rrggbb background, default
// transparent]
//
// It runs without a QGuiApplication: the pictures hold only paths and shapes,
// which QPainter draws on a QImage without any platform plugin, so the build
// step needs no display, no runtime folder and prints nothing.
#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdint>
#include <cstdio>

namespace {

bool writeRaw(const QImage &image, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const std::uint32_t size[2] = {std::uint32_t(image.width()), std::uint32_t(image.height())};
    file.write(reinterpret_cast<const char *>(size), sizeof size);
    for (int y = 0; y < image.height(); ++y) {
        file.write(reinterpret_cast<const char *>(image.constScanLine(y)), image.width() * 4);
    }
    return file.error() == QFile::NoError;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: svg2png in.svg|in.png out.png|out.bmp|out.argb [scale] [#rrggbb]\n");
        return 2;
    }
    const QString in = QString::fromLocal8Bit(argv[1]);
    const double scale = argc > 3 ? std::atof(argv[3]) : 1.0;
    QImage image;
    if (in.endsWith(QLatin1String(".png"))) {
        if (!image.load(in, "PNG")) {
            std::fprintf(stderr, "svg2png: cannot read %s\n", argv[1]);
            return 1;
        }
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    } else {
        QSvgRenderer renderer{in};
        if (!renderer.isValid()) {
            std::fprintf(stderr, "svg2png: cannot read %s\n", argv[1]);
            return 1;
        }
        const QSize size = renderer.defaultSize() * scale;
        image = QImage(size, QImage::Format_ARGB32_Premultiplied);
        // 96 dpi, as on a screen; without an application Qt would assume 100.
        constexpr int dotsPerMeter = 3780;
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        image.fill(argc > 4 ? QColor(QString::fromLatin1(argv[4])) : QColor(Qt::transparent));
        QPainter painter(&image);
        renderer.render(&painter);
    }
    const QString out = QString::fromLocal8Bit(argv[2]);
    const bool written =
        out.endsWith(QLatin1String(".argb")) ? writeRaw(image, out) : image.save(out);
    return written ? 0 : 1;
}
