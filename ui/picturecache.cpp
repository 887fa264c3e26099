// Loads the pre-rendered pictures or draws them from their vectors, once per size.

#include "picturecache.h"

#include <QHash>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>
#include <memory>

namespace ui {

namespace {

struct PictureKey
{
    QString resource;
    QSize pixels;
    bool operator==(const PictureKey &other) const = default;
};

size_t qHash(const PictureKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.resource, key.pixels.width(), key.pixels.height());
}

// The build renders every picture from its SVG file to PNG files at one and
// two device pixels a pixel (":/pictures/rendered/NAME.png", "NAME@2x.png"),
// so that the common screens load ready pixels instead of parsing and
// drawing vectors, which costs time and memory; any other size draws the
// SVG file at that size.
QString rendered(const QString &resource, bool twice)
{
    const QString name = resource.section(QLatin1Char('/'), -1).section(QLatin1Char('.'), 0, 0);
    const QString suffix = twice ? QStringLiteral("@2x.png") : QStringLiteral(".png");
    return QStringLiteral(":/pictures/rendered/") + name + suffix;
}

// Each picture's vectors, read once: a new scale draws them again without
// parsing the file again.
QSvgRenderer &vectors(const QString &resource)
{
    static QHash<QString, std::shared_ptr<QSvgRenderer>> renderers;
    auto it = renderers.find(resource);
    if (it == renderers.end()) {
        it = renderers.insert(resource, std::make_shared<QSvgRenderer>(resource));
    }
    return **it;
}

QPixmap drawnFromVectors(const QString &resource, QSize pixels)
{
    QPixmap pixmap(pixels);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        vectors(resource).render(&painter, QRectF(QPointF(0, 0), QSizeF(pixmap.size())));
    }
    return pixmap;
}

} // namespace

QSize pictureSize(const QString &resource)
{
    static QHash<QString, QSize> sizes;
    auto it = sizes.find(resource);
    if (it == sizes.end()) {
        QSize size = QImageReader(rendered(resource, false)).size();
        if (!size.isValid()) {
            size = vectors(resource).defaultSize();
        }
        it = sizes.insert(resource, size);
    }
    return *it;
}

QPixmap pictureIn(const QString &resource, QSize devicePixels, qreal devicePixelRatio)
{
    static QHash<PictureKey, QPixmap> cache;
    const PictureKey key{resource, devicePixels};
    auto it = cache.find(key);
    if (it == cache.end()) {
        QPixmap pixmap;
        const QSize natural = pictureSize(resource);
        if (devicePixels == natural || devicePixels == natural * 2) {
            pixmap.load(rendered(resource, devicePixels != natural));
        }
        if (pixmap.isNull()) {
            pixmap = drawnFromVectors(resource, devicePixels);
        }
        it = cache.insert(key, pixmap);
    }
    // Set on the cache's own copy, so that a paint hands out a shared pixmap
    // instead of copying its pixels to change the ratio of a copy.
    it->setDevicePixelRatio(devicePixelRatio);
    return *it;
}

} // namespace ui
