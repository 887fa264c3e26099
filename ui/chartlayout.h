#pragma once

// Where each kana's button stands on the answer chart: the traditional kana
// table read from right to left, one consonant group a column and one vowel a
// row, the basic block on the right and the voiced block to its left.

#include <QRect>

namespace ui {

struct ChartCell
{
    int column; // 0 = leftmost (ぱ) .. 14 = rightmost (あ)
    int row;    // 0..4: the vowels a, i, u, e, o
};

inline constexpr int kChartColumns = 15;
inline constexpr int kChartRows = 5;

ChartCell chartCell(int kanaIndex);
// The button's rectangle in window pixels, at a scale of the designed size.
QRect chartButtonRect(int kanaIndex, qreal scale = 1.0);
// The edges of a kana's button that lie on a neighbour's edge drawn beneath
// it: the top edge, where the cell above holds a button (each row lies over
// the one above it, and each column over the one to its right).
Qt::Edges chartSeams(int kanaIndex);
// The kana index at a cell, or 0 for an empty cell of the や and わ columns.
int kanaAtCell(ChartCell cell);

} // namespace ui
