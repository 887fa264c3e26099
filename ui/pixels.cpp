// Twips to pixels at a scale, and whole device pixels for lines, edges, fonts
// and windows.

#include "pixels.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// Products and quotients of a ratio carry rounding errors; a length within
// this of a whole number of pixels is that number.
constexpr qreal kSlack = 1e-9;

bool whole(qreal device)
{
    return std::abs(device - std::round(device)) < kSlack;
}

int ceilOf(qreal v)
{
    return static_cast<int>(std::ceil(v - kSlack));
}

} // namespace

int scaledPx(int twips, qreal scale)
{
    return static_cast<int>(std::lround(twips * scale / kTwipsPerPixel));
}

QRect scaledRect(int left, int top, int width, int height, qreal scale)
{
    const int x = scaledPx(left, scale);
    const int y = scaledPx(top, scale);
    return {x, y, scaledPx(left + width, scale) - x, scaledPx(top + height, scale) - y};
}

int scaledEm(int em, qreal scale)
{
    return std::max(1, static_cast<int>(std::lround(em * scale)));
}

int deviceLine(qreal scale, qreal ratio)
{
    return std::max(1, static_cast<int>(std::floor(scale * ratio + 0.5)));
}

int logicalCover(qreal device, qreal ratio)
{
    return ceilOf(device / ratio);
}

int deviceAtLeast(int logical, qreal ratio)
{
    const qreal device = logical * ratio;
    return whole(device) ? int(std::round(device)) : ceilOf((logical - 0.5) * ratio);
}

int logicalWithin(int device, qreal ratio)
{
    return std::max(0, ceilOf((device + 0.5) / ratio) - 1);
}

DeviceGrid::DeviceGrid(const QPainter &painter, qreal layoutScale)
    : toDevice_(painter.deviceTransform()), fromDevice_(toDevice_.inverted()),
      ratio_(toDevice_.m11()), line_(deviceLine(layoutScale, ratio_))
{
}

QRectF DeviceGrid::snap(const QRectF &logical) const
{
    const auto edge = [](qreal v) { return std::floor(v + 0.5); };
    const QRectF d = toDevice_.mapRect(logical);
    return fromDevice_.mapRect(
        QRectF(QPointF(edge(d.left()), edge(d.top())), QPointF(edge(d.right()), edge(d.bottom()))));
}

qreal DeviceGrid::whole(qreal logical) const
{
    return std::max(1.0, std::round(logical * ratio_)) / ratio_;
}

} // namespace ui
