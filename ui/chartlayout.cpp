// The chart's cells, button rectangles, seams and arrow-key neighbours.

#include "chartlayout.h"

#include "pixels.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace ui {
namespace {

// The chart formula, in twips: rows at top + rowPitch × r; the basic block's
// groups leftwards from basicLeft, the voiced block's from voicedLeft, a
// columnPitch apart. Neighbours overlap by `overlap`.
struct ChartDesign
{
    int top, rowPitch, columnPitch, basicLeft, voicedLeft, buttonWidth, buttonHeight, overlap;
};
constexpr ChartDesign kChart{6600, 840, 960, 14040, 4080, 975, 855, 15};

struct GroupCell
{
    bool voiced;
    int group; // counted from the right of its block
    int row;
};

GroupCell groupCell(int k)
{
    if (k >= 1 && k <= 35) {
        return {false, (k - 1) / 5, (k - 1) % 5};
    }
    if (k >= 36 && k <= 38) { // や ゆ よ at rows a, u, o
        return {false, 7, (k - 36) * 2};
    }
    if (k >= 39 && k <= 43) {
        return {false, 8, k - 39};
    }
    if (k >= 44 && k <= 46) { // わ を ん at rows a, u, o
        return {false, 9, (k - 44) * 2};
    }
    if (k >= drill::kFirstVoiced && k <= drill::kKanaCount) {
        return {true, (k - drill::kFirstVoiced) / 5, (k - drill::kFirstVoiced) % 5};
    }
    throw std::out_of_range("no chart button for kana index " + std::to_string(k));
}

} // namespace

ChartCell chartCell(int kanaIndex)
{
    const GroupCell g = groupCell(kanaIndex);
    return {g.voiced ? 4 - g.group : 14 - g.group, g.row};
}

QRect chartButtonRect(int kanaIndex, qreal scale, qreal ratio)
{
    const GroupCell g = groupCell(kanaIndex);
    const ChartDesign &c = kChart;
    const int left = (g.voiced ? c.voicedLeft : c.basicLeft) - c.columnPitch * g.group;
    const int top = c.top + c.rowPitch * g.row;
    // Each button reaches its overlap past where its neighbour begins; the
    // button paints one line of it, so that every seam looks the same.
    const int overlap = chartOverlap(scale, ratio);
    const int x = scaledPx(left, scale);
    const int y = scaledPx(top, scale);
    const int right = scaledPx(left + c.buttonWidth - c.overlap, scale) + overlap;
    const int bottom = scaledPx(top + c.buttonHeight - c.overlap, scale) + overlap;
    return {x, y, right - x, bottom - y};
}

int chartOverlap(qreal scale, qreal ratio)
{
    // A button paints exactly one line past where its neighbour begins on
    // the device grid; the overlap, snapped, holds at least that.
    const int line = logicalCover(deviceLine(scale, ratio), ratio);
    return std::max({1, scaledPx(kChart.overlap, scale), line});
}

Qt::Edges chartSeams(int kanaIndex)
{
    const ChartCell cell = chartCell(kanaIndex);
    Qt::Edges seams;
    if (cell.row > 0 && kanaAtCell({cell.column, cell.row - 1}) != 0) {
        seams |= Qt::TopEdge;
    }
    return seams;
}

int kanaAtCell(ChartCell cell)
{
    for (int k = 1; k <= drill::kKanaCount; ++k) {
        const ChartCell c = chartCell(k);
        if (c.column == cell.column && c.row == cell.row) {
            return k;
        }
    }
    return 0;
}

int chartNeighbour(int kanaIndex, int columnStep, int rowStep)
{
    ChartCell cell = chartCell(kanaIndex);
    for (;;) {
        cell.column += columnStep;
        cell.row += rowStep;
        if (cell.column < 0 || cell.column >= kChartColumns || cell.row < 0 ||
            cell.row >= kChartRows) {
            return 0;
        }
        if (const int k = kanaAtCell(cell)) {
            return k;
        }
    }
}

} // namespace ui
