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
// The button's rectangle in window pixels.
QRect chartButtonRect(int kanaIndex);
// The kana index at a cell, or 0 for an empty cell of the や and わ columns.
int kanaAtCell(ChartCell cell);

} // namespace ui
