#pragma once

// Scans the pixels of images for the tests that read what was drawn.

#include <QPoint>
#include <QRect>
#include <vector>

namespace testing {

// Every point of an area, row by row.
inline std::vector<QPoint> pointsOf(QRect area)
{
    std::vector<QPoint> points;
    points.reserve(static_cast<std::size_t>(std::max(0, area.width() * area.height())));
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            points.emplace_back(x, y);
        }
    }
    return points;
}

// How many points of an area pass a test.
template <typename Test> int countOf(QRect area, Test test)
{
    int count = 0;
    for (QPoint p : pointsOf(area)) {
        count += test(p) ? 1 : 0;
    }
    return count;
}

// The smallest rectangle that holds the points of an area that pass a test.
template <typename Test> QRect boundsOf(QRect area, Test test)
{
    QRect bounds;
    for (QPoint p : pointsOf(area)) {
        if (test(p)) {
            bounds |= QRect(p, QSize(1, 1));
        }
    }
    return bounds;
}

} // namespace testing
