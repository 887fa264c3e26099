// The painting of the windows' own kinds of control, on whole device pixels.

#include "widgets.h"

#include "picturecache.h"
#include "pixels.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace ui {

namespace {

enum class Side
{
    Top,
    Left,
    Bottom,
    Right
};

// A line of width w along one side, inside a box.
QRectF sideOf(const QRectF &box, Side side, qreal w)
{
    switch (side) {
    case Side::Top:
        return {box.left(), box.top(), box.width(), w};
    case Side::Left:
        return {box.left(), box.top(), w, box.height()};
    case Side::Bottom:
        return {box.left(), box.bottom() - w, box.width(), w};
    case Side::Right:
        break;
    }
    return {box.right() - w, box.top(), w, box.height()};
}

// A frame of width w inside a box, all in one colour.
void frame(QPainter &painter, const QRectF &box, qreal w, const QColor &colour)
{
    for (Side side : {Side::Top, Side::Left, Side::Bottom, Side::Right}) {
        painter.fillRect(sideOf(box, side, w), colour);
    }
}

} // namespace

RaisedButton::RaisedButton(const QString &text, QColor face, QWidget *parent)
    : QPushButton(text, parent), face_(face)
{
    setAutoDefault(true); // Enter presses the focused button, as Space does
}

void RaisedButton::setFace(QColor face)
{
    if (face != face_) {
        face_ = face;
        update();
    }
}

void RaisedButton::setPicture(const QString &resource)
{
    picture_ = resource;
    update();
}

void RaisedButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const DeviceGrid grid(painter, scale_);
    const bool sunken = isDown() || isChecked();
    paintFace(painter, grid, sunken);
    // Pressed in, the picture and the caption move right and down.
    const qreal nudge = sunken ? grid.whole(scale_) : 0.0;
    if (!picture_.isEmpty()) {
        const QSizeF size = QSizeF(pictureSize(picture_)) * scale_;
        const QRectF at = grid.snap(QRectF(
            QPointF((width() - size.width()) / 2 + nudge, (height() - size.height()) / 2 + nudge),
            size));
        const QSize pixels = (at.size() * grid.ratio()).toSize();
        painter.drawPixmap(at.topLeft(), pictureFor(this, picture_, pixels, grid.ratio()));
    }
    if (!text().isEmpty()) {
        paintCaption(painter, grid, nudge);
    }
    if (hasFocus()) {
        QPen pen(Qt::black, 1, Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        const int inset = std::max(1, qRound(3 * scale_));
        painter.drawRect(rect().adjusted(inset, inset, -inset - 1, -inset - 1));
    }
}

void RaisedButton::paintFace(QPainter &painter, const DeviceGrid &grid, bool sunken) const
{
    // A button that lies over its neighbours reaches exactly one line past
    // where they begin on the device grid, however the overlap falls on it,
    // so that every seam shows the same lines.
    QRectF box = grid.snap(QRectF(rect()));
    if (overlap_ > 0) {
        const QRectF inside = grid.snap(QRectF(0, 0, width() - overlap_, height() - overlap_));
        box.setBottomRight(inside.bottomRight() + QPointF(grid.lines(1), grid.lines(1)));
    }
    painter.fillRect(box, face_);

    // The two-line edge of a desktop button: the outer lines light above and
    // left, dark below and right, the inner ones white and grey; pressed in,
    // the other way round. The later sides own the corners.
    const QColor light(212, 212, 212);
    const QColor white(255, 255, 255);
    const QColor dark(64, 64, 64);
    const QColor grey(160, 160, 160);
    const qreal w = grid.lines(1);
    const QRectF inner = box.adjusted(w, w, -w, -w);
    struct Line
    {
        Side side;
        QColor outer;
        QColor inner;
    };
    const std::array<Line, 4> raised = {
        Line{Side::Top, light, white}, Line{Side::Left, light, white},
        Line{Side::Bottom, dark, grey}, Line{Side::Right, dark, grey}};
    const std::array<Line, 4> pressed = {Line{Side::Bottom, light, white},
                                         Line{Side::Right, light, white},
                                         Line{Side::Top, dark, grey}, Line{Side::Left, dark, grey}};
    for (const Line &line : sunken ? pressed : raised) {
        painter.fillRect(sideOf(inner, line.side, w), line.inner);
    }
    for (const Line &line : sunken ? pressed : raised) {
        const bool seam = line.side == Side::Top && seams_.testFlag(Qt::TopEdge);
        painter.fillRect(sideOf(box, line.side, w), seam ? dark : line.outer);
    }
}

void RaisedButton::paintCaption(QPainter &painter, const DeviceGrid &grid, qreal nudge) const
{
    painter.setFont(font());
    const QRectF textRect = QRectF(rect()).translated(nudge, nudge);
    if (isEnabled()) {
        painter.setPen(palette().color(QPalette::Active, QPalette::ButtonText));
    } else {
        // Disabled captions are drawn embossed, grey on a white shadow.
        const qreal offset = grid.whole(scale_);
        painter.setPen(Qt::white);
        painter.drawText(textRect.translated(offset, offset), Qt::AlignCenter, text());
        painter.setPen(QColor(128, 128, 128));
    }
    painter.drawText(textRect, Qt::AlignCenter, text());
}

void Caption::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (frameShape() != QFrame::NoFrame) {
        const DeviceGrid grid(painter, scale_);
        frame(painter, grid.snap(QRectF(rect())), grid.lines(1), Qt::black);
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

void CaptionFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const qreal scale = scale_;
    const DeviceGrid grid(painter, scale);
    const QFontMetrics metrics(font());
    const qreal w = grid.lines(1);
    // An etched line: grey, with a white one a line further right and down.
    const QRectF box = grid.snap(QRectF(rect()).adjusted(0, metrics.height() / 2, 0, 0));
    frame(painter, box.adjusted(0, 0, -w, -w), w, QColor(160, 160, 160));
    frame(painter, box.adjusted(w, w, 0, 0), w, Qt::white);
    const int indent = qRound(6 * scale);
    const int margin = qRound(4 * scale);
    const QRect caption(indent, 0, metrics.horizontalAdvance(title()) + margin, metrics.height());
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
    const DeviceGrid grid(painter);
    const QRectF box = grid.snap(QRectF(rect()));
    const QSize pixels = (box.size() * grid.ratio()).toSize();
    painter.drawPixmap(box.topLeft(), pictureFor(this, resource_, pixels, grid.ratio()));
}

Ring::Ring(QColor colour, qreal thickness, QWidget *parent)
    : QWidget(parent), colour_(colour), thickness_(thickness)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Ring::setThickness(qreal thickness)
{
    thickness_ = thickness;
    update();
}

void Ring::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const DeviceGrid grid(painter);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal thickness = grid.whole(thickness_);
    painter.setPen(QPen(colour_, thickness));
    painter.setBrush(Qt::NoBrush);
    const qreal inset = thickness / 2.0;
    painter.drawEllipse(grid.snap(QRectF(rect())).adjusted(inset, inset, -inset, -inset));
}

Stroke::Stroke(QLineF line, QColor colour, qreal thickness, QWidget *parent)
    : QWidget(parent), colour_(colour), thickness_(thickness)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setLine(line, thickness);
}

void Stroke::setLine(QLineF line, qreal thickness)
{
    line_ = line;
    thickness_ = thickness;
    const qreal half = thickness / 2.0;
    const QRectF bounds =
        QRectF(line.p1(), line.p2()).normalized().adjusted(-half, -half, half, half);
    setGeometry(bounds.toAlignedRect());
    update();
}

void Stroke::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const DeviceGrid grid(painter);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour_, grid.whole(thickness_), Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(line_.translated(-QPointF(pos())));
}

} // namespace ui
