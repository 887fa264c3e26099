// Loads the pre-rendered pictures or draws them from their vectors, once per size.

#include "picturecache.h"

#include <QCoreApplication>
#include <QHash>
#include <QList>
#include <QPainter>
#include <QPointer>
#include <QResource>
#include <QSvgRenderer>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdint>
#include <cstring>
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

// The build renders every picture from its SVG file to raw pixels at one
// and two device pixels a pixel (":/pictures/rendered/NAME.argb",
// "NAME@2x.argb"), so that the common screens show ready pixels instead of
// parsing and drawing vectors, which costs time and memory; any other size
// draws the SVG file at that size.
QString rendered(const QString &resource, bool twice)
{
    const QString name = resource.section(QLatin1Char('/'), -1).section(QLatin1Char('.'), 0, 0);
    const QString suffix = twice ? QStringLiteral("@2x.argb") : QStringLiteral(".argb");
    return QStringLiteral(":/pictures/rendered/") + name + suffix;
}

// Whether the build rendered a picture at a number of device pixels: its
// natural size, or twice that.
bool renderedAt(QSize devicePixels, QSize natural)
{
    return devicePixels == natural || devicePixels == natural * 2;
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

// Every picture drawn so far, by size.
QHash<PictureKey, QPixmap> &drawn()
{
    static QHash<PictureKey, QPixmap> pictures;
    return pictures;
}

// A picture shown scaled until it is drawn from its vectors, and the
// widgets that show it.
struct StandIn
{
    PictureKey key;
    QPixmap scaled;
    QList<QPointer<QWidget>> shownIn;
};

// In the order they were asked for; the first is drawn next.
QList<StandIn> &standIns()
{
    static QList<StandIn> waiting;
    return waiting;
}

QPixmap withRatio(QPixmap &pixmap, qreal devicePixelRatio)
{
    // Set on the cache's own copy, so that a paint hands out a shared pixmap
    // instead of copying its pixels to change the ratio of a copy.
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

// Draws the first waiting picture from its vectors, has its widgets painted
// again, and comes back for the next one, one picture per turn of the event
// loop, so that input and frames go on between them.
void drawNextStandIn()
{
    if (standIns().isEmpty()) {
        return;
    }
    const StandIn next = standIns().takeFirst();
    pictureIn(next.key.resource, next.key.pixels, 1.0);
    for (QWidget *widget : next.shownIn) {
        if (widget) {
            widget->update();
        }
    }
    if (!standIns().isEmpty()) {
        QTimer::singleShot(0, QCoreApplication::instance(), drawNextStandIn);
    }
}

} // namespace

QImage rawPixels(const QString &path)
{
    const QResource resource(path);
    constexpr qint64 header = 2 * sizeof(std::uint32_t);
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression ||
        resource.size() < header) {
        return {};
    }
    std::uint32_t size[2];
    std::memcpy(size, resource.data(), header);
    const int width = int(size[0]);
    const int height = int(size[1]);
    if (resource.size() != header + qint64(width) * height * 4) {
        return {};
    }
    const uchar *pixels = resource.data() + header;
    const QImage image(pixels, width, height, width * 4, QImage::Format_ARGB32_Premultiplied);
    // Rows of whole pixels want four-byte alignment; a copy has it.
    return reinterpret_cast<quintptr>(pixels) % 4 == 0 ? image : image.copy();
}

QSize pictureSize(const QString &resource)
{
    static QHash<QString, QSize> sizes;
    auto it = sizes.find(resource);
    if (it == sizes.end()) {
        QSize size = rawPixels(rendered(resource, false)).size();
        if (!size.isValid()) {
            size = vectors(resource).defaultSize();
        }
        it = sizes.insert(resource, size);
    }
    return *it;
}

QPixmap pictureIn(const QString &resource, QSize devicePixels, qreal devicePixelRatio)
{
    QHash<PictureKey, QPixmap> &cache = drawn();
    const PictureKey key{resource, devicePixels};
    auto it = cache.find(key);
    if (it == cache.end()) {
        QPixmap pixmap;
        const QSize natural = pictureSize(resource);
        if (renderedAt(devicePixels, natural)) {
            pixmap = QPixmap::fromImage(rawPixels(rendered(resource, devicePixels != natural)));
        }
        if (pixmap.isNull()) {
            pixmap = drawnFromVectors(resource, devicePixels);
        }
        it = cache.insert(key, pixmap);
    }
    return withRatio(*it, devicePixelRatio);
}

QPixmap pictureFor(QWidget *widget, const QString &resource, QSize devicePixels,
                   qreal devicePixelRatio)
{
    const PictureKey key{resource, devicePixels};
    if (const auto found = drawn().find(key); found != drawn().end()) {
        return withRatio(*found, devicePixelRatio);
    }
    const QSize natural = pictureSize(resource);
    if (renderedAt(devicePixels, natural)) {
        return pictureIn(resource, devicePixels, devicePixelRatio);
    }
    QList<StandIn> &waiting = standIns();
    auto it = std::find_if(waiting.begin(), waiting.end(),
                           [&](const StandIn &standIn) { return standIn.key == key; });
    if (it == waiting.end()) {
        // Shown larger than its own size, the picture is scaled from the
        // rendering at twice its size: scaling down keeps lines finer than
        // enlarging does.
        const QImage rendering =
            rawPixels(rendered(resource, devicePixels.width() > natural.width()));
        if (rendering.isNull()) {
            return pictureIn(resource, devicePixels, devicePixelRatio);
        }
        if (waiting.isEmpty()) {
            // A quarter of a second on, the window that asked has reached
            // the screen: the drawing does not hold back its first frames,
            // which a web page shows only after the tasks before them.
            QTimer::singleShot(250, QCoreApplication::instance(), drawNextStandIn);
        }
        waiting.append({key,
                        QPixmap::fromImage(rendering.scaled(devicePixels, Qt::IgnoreAspectRatio,
                                                            Qt::SmoothTransformation)),
                        {}});
        it = waiting.end() - 1;
    }
    if (!it->shownIn.contains(widget)) {
        it->shownIn.append(widget);
    }
    return withRatio(it->scaled, devicePixelRatio);
}

} // namespace ui
