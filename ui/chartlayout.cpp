#include "chartlayout.h"

#include "look.h"

#include <stdexcept>
#include <string>

namespace ui {
namespace {

// Twips.
constexpr int kTop = 6600, kRowPitch = 840, kColumnPitch = 960;
constexpr int kBasicRight = 14040; // left edge of the あ column
constexpr int kVoicedRight = 4080; // left edge of the が column, after the gap
constexpr int kButtonWidth = 975, kButtonHeight = 855;

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
    if (k >= 47 && k <= 71) {
        return {true, (k - 47) / 5, (k - 47) % 5};
    }
    throw std::out_of_range("no chart button for kana index " + std::to_string(k));
}

} // namespace

ChartCell chartCell(int kanaIndex)
{
    const GroupCell g = groupCell(kanaIndex);
    return {g.voiced ? 4 - g.group : 14 - g.group, g.row};
}

QRect chartButtonRect(int kanaIndex)
{
    const GroupCell g = groupCell(kanaIndex);
    const int left = (g.voiced ? kVoicedRight : kBasicRight) - kColumnPitch * g.group;
    return twipsRect(left, kTop + kRowPitch * g.row, kButtonWidth, kButtonHeight);
}

int kanaAtCell(ChartCell cell)
{
    for (int k = 1; k <= 71; ++k) {
        const ChartCell c = chartCell(k);
        if (c.column == cell.column && c.row == cell.row) {
            return k;
        }
    }
    return 0;
}

} // namespace ui
