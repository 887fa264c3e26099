#include "widgets.h"

#include <QHash>
#include <QImageReader>
#include <QPaintEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QSvgRenderer>
#include <cmath>

namespace ui {

namespace {

struct PictureKey
{
    QString resource;
    qreal ratio;
    bool operator==(const PictureKey &other) const = default;
};

size_t qHash(const PictureKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.resource, key.ratio);
}

// The build renders every picture from its SVG file to PNG files at one and
// two device pixels a pixel (":/pictures/rendered/NAME.png", "NAME@2x.png"),
// so that the common screens load ready pixels instead of parsing and
// drawing vectors, which costs time and memory; any other scale draws the
// SVG file at that scale.
QString renderedAt(const QString &resource, qreal devicePixelRatio)
{
    const QString name = resource.section(QLatin1Char('/'), -1).section(QLatin1Char('.'), 0, 0);
    const QString suffix =
        devicePixelRatio == 2.0 ? QStringLiteral("@2x.png") : QStringLiteral(".png");
    return QStringLiteral(":/pictures/rendered/") + name + suffix;
}

QPixmap drawnFromVectors(const QString &resource, qreal devicePixelRatio)
{
    QSvgRenderer renderer(resource);
    const QSize logical = renderer.defaultSize();
    QPixmap pixmap(QSize(qCeil(logical.width() * devicePixelRatio),
                         qCeil(logical.height() * devicePixelRatio)));
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixmap.size())));
    }
    return pixmap;
}

} // namespace

QSize pictureSize(const QString &resource)
{
    static QHash<QString, QSize> sizes;
    auto it = sizes.find(resource);
    if (it == sizes.end()) {
        QSize size = QImageReader(renderedAt(resource, 1.0)).size();
        if (!size.isValid()) {
            size = QSvgRenderer(resource).defaultSize();
        }
        it = sizes.insert(resource, size);
    }
    return *it;
}

QPixmap pictureAt(const QString &resource, qreal devicePixelRatio)
{
    static QHash<PictureKey, QPixmap> cache;
    const PictureKey key{resource, devicePixelRatio};
    auto it = cache.find(key);
    if (it == cache.end()) {
        QPixmap pixmap;
        if (devicePixelRatio == 1.0 || devicePixelRatio == 2.0) {
            pixmap.load(renderedAt(resource, devicePixelRatio));
        }
        if (pixmap.isNull()) {
            pixmap = drawnFromVectors(resource, devicePixelRatio);
        }
        pixmap.setDevicePixelRatio(devicePixelRatio);
        it = cache.insert(key, pixmap);
    }
    return *it;
}

FlatButton::FlatButton(const QString &text, QColor face, QWidget *parent)
    : QPushButton(text, parent), face_(face)
{
    setAutoDefault(true); // Enter presses the focused button, as Space does
}

void FlatButton::setFace(QColor face)
{
    if (face != face_) {
        face_ = face;
        update();
    }
}

void FlatButton::setPicture(const QString &resource)
{
    picture_ = resource;
    update();
}

void FlatButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect r = rect();
    painter.fillRect(r, face_);

    const bool sunken = isDown() || isChecked();
    const QColor light = sunken ? QColor(64, 64, 64) : QColor(255, 255, 255);
    const QColor dark = sunken ? QColor(255, 255, 255) : QColor(64, 64, 64);
    const QColor shade = face_.darker(140);
    painter.setPen(light);
    painter.drawLine(r.topLeft(), r.topRight() - QPoint(1, 0));
    painter.drawLine(r.topLeft(), r.bottomLeft() - QPoint(0, 1));
    painter.setPen(dark);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
    painter.setPen(shade);
    if (sunken) {
        painter.drawLine(r.topLeft() + QPoint(1, 1), r.topRight() + QPoint(-2, 1));
        painter.drawLine(r.topLeft() + QPoint(1, 1), r.bottomLeft() + QPoint(1, -2));
    } else {
        painter.drawLine(r.bottomLeft() + QPoint(1, -1), r.bottomRight() + QPoint(-1, -1));
        painter.drawLine(r.topRight() + QPoint(-1, 1), r.bottomRight() + QPoint(-1, -1));
    }

    const QPoint shift = sunken ? QPoint(1, 1) : QPoint(0, 0);
    if (!picture_.isEmpty()) {
        const QPixmap pixmap = pictureAt(picture_, devicePixelRatioF());
        const QSize size = pictureSize(picture_);
        const QPoint topLeft((width() - size.width()) / 2, (height() - size.height()) / 2);
        painter.drawPixmap(topLeft + shift, pixmap);
    }
    if (!text().isEmpty()) {
        painter.setFont(font());
        const QRect textRect = r.translated(shift);
        if (isEnabled()) {
            painter.setPen(palette().color(QPalette::Active, QPalette::ButtonText));
        } else {
            // Disabled captions are drawn embossed, grey on a white shadow.
            painter.setPen(Qt::white);
            painter.drawText(textRect.translated(1, 1), Qt::AlignCenter, text());
            painter.setPen(QColor(128, 128, 128));
        }
        painter.drawText(textRect, Qt::AlignCenter, text());
    }
    if (hasFocus()) {
        QPen pen(Qt::black, 1, Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.adjusted(3, 3, -4, -4));
    }
}

Caption::Caption(const QString &text, QWidget *parent) : QLabel(text, parent) {}

void Caption::setBorder(bool border)
{
    setFrameStyle(border ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
    setLineWidth(1);
}

void Caption::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (frameShape() != QFrame::NoFrame) {
        painter.setPen(Qt::black);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    const QString caption = text();
    if (caption.isEmpty()) {
        return;
    }
    const QRect box = contentsRect();
    const QFontMetrics metrics(font());
    const int width = metrics.horizontalAdvance(caption);
    int x = box.left();
    if (alignment() & Qt::AlignRight) {
        x = box.right() + 1 - width;
    } else if (alignment() & Qt::AlignHCenter) {
        x = box.left() + (box.width() - width) / 2;
    }
    painter.setClipRect(box);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QPoint(x, box.top() + metrics.ascent()), caption);
}

CaptionFrame::CaptionFrame(const QString &title, QWidget *parent) : QGroupBox(title, parent) {}

void CaptionFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int top = metrics.height() / 2;
    const QRect border(0, top, width() - 2, height() - top - 2);
    painter.setPen(QColor(160, 160, 160));
    painter.drawRect(border);
    painter.setPen(Qt::white);
    painter.drawRect(border.translated(1, 1));
    const QRect caption(6, 0, metrics.horizontalAdvance(title()) + 4, metrics.height());
    painter.fillRect(caption, palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(caption, Qt::AlignCenter, title());
}

Picture::Picture(const QString &resource, QWidget *parent) : QWidget(parent), resource_(resource)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    resize(pictureSize(resource));
}

void Picture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, pictureAt(resource_, devicePixelRatioF()));
}

Ring::Ring(QColor colour, int thickness, QWidget *parent)
    : QWidget(parent), colour_(colour), thickness_(thickness)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Ring::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour_, thickness_));
    painter.setBrush(Qt::NoBrush);
    const qreal inset = thickness_ / 2.0;
    painter.drawEllipse(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
}

Stroke::Stroke(QLineF line, QColor colour, int thickness, QWidget *parent)
    : QWidget(parent), line_(line), colour_(colour), thickness_(thickness)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    const qreal half = thickness / 2.0;
    const QRectF bounds =
        QRectF(line.p1(), line.p2()).normalized().adjusted(-half, -half, half, half);
    setGeometry(bounds.toAlignedRect());
}

void Stroke::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour_, thickness_, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(line_.translated(-QPointF(pos())));
}

} // namespace ui
