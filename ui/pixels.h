#pragma once

// Lengths at a scale and on a device: the design's twips become the
// layout's pixels at a scale, and those become the screen's own device
// pixels by the device pixel ratio, with Qt rounding each. Every rule that
// keeps a control, a line, an edge or a window on whole pixels is here.

#include <QRect>
#include <QRectF>
#include <QTransform>

class QPainter;

namespace ui {

// The design's lengths are in twips, 15 to a pixel at the designed size.
inline constexpr int kTwipsPerPixel = 15;

// Twips to pixels at a scale: each edge is rounded on its own, so that
// controls that meet at the designed size still meet.
int scaledPx(int twips, qreal scale);
QRect scaledRect(int left, int top, int width, int height, qreal scale);
// A font's em height at a scale.
int scaledEm(int em, qreal scale);

// The width in device pixels of a line one pixel of the layout wide, at a
// scale and a device pixel ratio: whole pixels, at least one.
int deviceLine(qreal scale, qreal ratio);
// The fewest logical pixels that cover a length in device pixels.
int logicalCover(qreal device, qreal ratio);

// Qt scales a window's position and size to device pixels one by one,
// relative to its screen's corner, and rounds each. A length given in
// logical pixels therefore stands for any of a few device lengths.
//
// The fewest device pixels a logical length can stand for: the exact
// product where it is a whole number (a ratio of 1 or 2), else the nearest
// that cannot overreach.
int deviceAtLeast(int logical, qreal ratio);
// The longest logical length that Qt turns into at most a device length.
int logicalWithin(int device, qreal ratio);

// The device-pixel grid under a painter. A fill of a rectangle rounds its
// edges to the nearest grid line, halves upwards, so an edge at device
// coordinate e falls on the line floor(e + 0.5): rectangles snapped so cover
// exactly the pixels a fill of the unsnapped rectangle would (the window's
// own background fill among them), and neighbours that share an edge share
// its grid line. A line one pixel of the layout wide is a whole number of
// device pixels, the same on every side.
class DeviceGrid
{
public:
    explicit DeviceGrid(const QPainter &painter, qreal layoutScale = 1.0);

    QRectF snap(const QRectF &logical) const;
    // n lines' width in logical units.
    qreal lines(int n) const { return n * line_ / ratio_; }
    // A length rounded to whole device pixels, at least one.
    qreal whole(qreal logical) const;
    qreal ratio() const { return ratio_; }

private:
    QTransform toDevice_;
    QTransform fromDevice_;
    qreal ratio_;
    qreal line_; // device pixels
};

} // namespace ui
