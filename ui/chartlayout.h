#pragma once

// Where each kana's button stands on the answer chart: the traditional kana
// table read from right to left, one consonant group a column and one vowel a
// row, the basic block on the right and the voiced block to its left.

#include "drill/kana.h"

#include <QRect>
#include <array>

namespace ui {

struct ChartCell
{
    int column; // 0 = leftmost (ぱ) .. 14 = rightmost (あ)
    int row;    // 0..4: the vowels a, i, u, e, o
};

inline constexpr int kChartColumns = 15;
inline constexpr int kChartRows = 5;

ChartCell chartCell(int kanaIndex);
// The button's rectangle in window pixels, at a scale of the designed size,
// on a device of a pixel ratio.
QRect chartButtonRect(int kanaIndex, qreal scale = 1.0, qreal ratio = 1.0);
// The window pixels by which each button reaches over its neighbours to the
// right and below: the designed pixel at the scale, and at least as much as
// holds a line of the layout on the device's whole pixels.
int chartOverlap(qreal scale, qreal ratio = 1.0);
// The edges of a kana's button that lie on a neighbour's edge drawn beneath
// it: the top edge, where the cell above holds a button (each row lies over
// the one above it, and each column over the one to its right).
Qt::Edges chartSeams(int kanaIndex);
// The kana index at a cell, or 0 for an empty cell of the や and わ columns.
int kanaAtCell(ChartCell cell);
// For the arrow keys: the kana index of the nearest button from a kana's cell
// in a direction of the table, skipping its empty cells; 0 at the edge.
int chartNeighbour(int kanaIndex, int columnStep, int rowStep);

// The order in which Tab walks the chart, by kana index: first the buttons of
// the basic block, then, after とじる and スタート, those of the voiced block.
inline constexpr std::array<int, drill::kFirstVoiced - 1> kBasicTabOrder = {
    43, 42, 41, 40, 39, 23, 22, 21, 1,  2,  3,  4,  5,  38, 37, 36, 35, 34, 6,  7,  8,  9,  10,
    33, 32, 31, 30, 29, 11, 12, 13, 14, 15, 28, 27, 26, 25, 24, 16, 17, 18, 19, 20, 46, 45, 44};
inline constexpr std::array<int, drill::kKanaCount - drill::kFirstVoiced + 1> kVoicedTabOrder = {
    51, 50, 49, 48, 47, 56, 55, 54, 53, 52, 61, 60, 59,
    58, 57, 66, 65, 64, 63, 62, 71, 70, 69, 68, 67};

} // namespace ui
