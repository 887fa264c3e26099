// The layout tables of the menu and the practice windows, and twips to pixels.

#include "layouttable.h"

#include "look.h"

#include <array>
#include <cmath>
#include <stdexcept>

namespace ui {
namespace {

using namespace colour;
constexpr Qt::Alignment TopLeft = Qt::AlignLeft | Qt::AlignTop;
constexpr Qt::Alignment TopRight = Qt::AlignRight | Qt::AlignTop;
constexpr Qt::Alignment TopCentre = Qt::AlignHCenter | Qt::AlignTop;
constexpr Qt::Alignment None = {};
constexpr std::uint32_t Text = ButtonText;
constexpr std::uint32_t Clear = Transparent;
constexpr Forms Form2 = Forms::Form2;
constexpr Forms Form3 = Forms::Form3;
constexpr Forms Both = Forms::Both;
constexpr AccessibleKind Frame = AccessibleKind::Frame;
constexpr AccessibleKind Group = AccessibleKind::Group;
constexpr AccessibleKind RadioButton = AccessibleKind::RadioButton;
constexpr AccessibleKind Decoration = AccessibleKind::Decoration;

// clang-format off
// Lengths in twips (kTwipsPerPixel), font em heights in
// pixels, colours as 0x00BBGGRR.
constexpr std::array kPractice = {
//  name            kind                  container     left    top  width height  em  bold  background  foreground line alignment  text at load / picture, what a screen reader is told
    Control{"Form2",        Kind::Window,        nullptr,         0,     0, 15360, 11520,  0, false, White,      Text,     0, None,      "Form2", {nullptr, nullptr, Frame}},
    // The window's surface, from the bottom up.
    Control{"Label2",       Kind::Label,         nullptr,      7440,  1200,  4455,  4455, 307, false, ButtonFace, Text,     1, TopCentre, "", {nullptr, "こたえ"}},
    Control{"Shape1",       Kind::Ring,          nullptr,      7320,  1080,  4815,  4815, -1, false, Clear,      LightRed, 20, None,      "", {"まる"}},
    Control{"Label3",       Kind::Label,         nullptr,     12600,   360,   855,   375,  27, false, Clear,      Text,     0, TopLeft,   "てん"},
    Control{"Label4",       Kind::Label,         nullptr,      8640,   360,  1335,   375,  27, false, Clear,      Grey,     0, TopLeft,   "びょう"},
    Control{"TimeBox",      Kind::Label,         nullptr,      6480,   240,  2055,   615,  32, false, LightGrey,  Grey,     1, TopRight,  "0", {nullptr, "びょう"}},
    Control{"Tokuten",      Kind::Label,         nullptr,     10440,   240,  2055,   615,  32, false, White,      Green,    1, TopRight,  "0", {nullptr, "てん"}},
    Control{"Label5",       Kind::Label,         nullptr,      2520,  5760,  1575,   375,  27, false, Clear,      Text,     0, TopLeft,   "ひらがな", {}, Form2},
    Control{"Label5",       Kind::Label,         nullptr,      2520,  5760,  1575,   375,  27, false, Clear,      Text,     0, TopLeft,   "カタカナ", {}, Form3},
    Control{"Label6",       Kind::Label,         nullptr,      9120,  5760,  1575,   375,  27, false, Clear,      Text,     0, TopLeft,   "カタカナ", {}, Form2},
    Control{"Label6",       Kind::Label,         nullptr,      9120,  5760,  1575,   375,  27, false, Clear,      Text,     0, TopLeft,   "ひらがな", {}, Form3},
    Control{"Label7",       Kind::Label,         nullptr,      6000,  3120,   975,   735,  67, false, Clear,      Text,     0, TopLeft,   "＝"},
    Control{"Image1",       Kind::Picture,       nullptr,       240,  -120,  4350,  1290, -1, false, Clear,      Clear,    0, None,      ":/pictures/heading_katakana.svg", {}, Form2},
    Control{"Image1",       Kind::Picture,       nullptr,       240,  -120,  4350,  1305, -1, false, Clear,      Clear,    0, None,      ":/pictures/heading_hiragana.svg", {}, Form3},
    Control{"Label1",       Kind::Label,         nullptr,      1200,  1200,  4455,  4455, 307, false, ButtonFace, Text,     1, TopCentre, "", {nullptr, "もんだい"}},
    Control{"Image2",       Kind::Picture,       nullptr,      5040,  2520,  3090,  3165, -1, false, Clear,      Clear,    0, None,      ":/pictures/vsign.svg", {"せいかい"}},
    Control{"Line1",        Kind::Line,          nullptr,      7680,  1440, 11640,  5400, -1, false, Clear,      Yellow,  10, None,      "", {"ばつ"}},
    Control{"Line2",        Kind::Line,          nullptr,     11640,  1440,  7680,  5400, -1, false, Clear,      Yellow,  10, None,      "", {"ばつ"}},
    // The child windows, from the bottom up.
    Control{"Command1",     Kind::ChartButtons,  nullptr,         0,     0,     0,     0,  37, true,  LightGrey,  Text,     1, None,      "", {}, Both, 1, 46},
    Control{"Command2",     Kind::RaisedButton,    nullptr,     14400,   120,   855,   735,   0, false, Pink,       Text,     1, None,      "とじる", {nullptr, "この まどを とじる"}},
    Control{"Command3",     Kind::SystemButton,  nullptr,     12720,  4080,  2175,  1095,  24, false, Clear,      Text,     0, None,      "スタート"},
    Control{"Command1",     Kind::ChartButtons,  nullptr,         0,     0,     0,     0,  37, true,  LightGrey,  Text,     1, None,      "", {}, Both, 47, 71},
    Control{"Command4",     Kind::SystemButton,  nullptr,     12720,  5280,  2175,   975,  24, false, Clear,      Text,     0, None,      "ストップ"},
    Control{"Frame1",       Kind::CaptionFrame,  nullptr,     12720,  1320,  2055,  2535,   0, false, White,      Text,     1, None,      "もんだいのかず"},
    Control{"Option1",      Kind::Option,        "Frame1",      240,   360,  1575,   615,   0, false, LightBlue,  Text,     1, None,      "ぜんぶ (71こ)", {nullptr, nullptr, RadioButton}, Both, -1, -1, 71},
    Control{"Option2",      Kind::Option,        "Frame1",      240,  1080,  1575,   615,   0, false, LightBlue,  Text,     1, None,      "はんぶん (30こ)", {nullptr, nullptr, RadioButton}, Both, -1, -1, 30},
    Control{"Option3",      Kind::Option,        "Frame1",      240,  1800,  1575,   615,   0, false, LightBlue,  Text,     1, None,      "すこし (15こ)", {nullptr, nullptr, RadioButton}, Both, -1, -1, 15},
    Control{"ShowWindow",   Kind::Panel,         nullptr,      2400,  2880, 10575,  5655, -1, false, Pink,       Text,     0, None,      "", {"けっか", nullptr, Group}},
    // The results panel's surface, from the bottom up, then its buttons.
    Control{"Label8",       Kind::Label,         "ShowWindow", 7200,  1200,  1935,   855,  48, false, Clear,      Text,     0, TopLeft,   "びょう"},
    Control{"Label9",       Kind::Label,         "ShowWindow", 7320,  2520,  1575,   855,  48, false, Clear,      Text,     0, TopLeft,   "てん"},
    Control{"Label10",      Kind::Label,         "ShowWindow", 3720,   960,  3135,  1095,  64, false, White,      Text,     1, TopCentre, "Label10", {nullptr, "びょう"}},
    Control{"Label11",      Kind::Label,         "ShowWindow", 3720,  2280,  3135,  1095,  64, false, White,      Text,     1, TopCentre, "Label11", {nullptr, "てん"}},
    Control{"Image3",       Kind::Picture,       "ShowWindow",  240,   240,  3315,   285, -1, false, Clear,      Clear,    0, None,      ":/pictures/markers.svg", {nullptr, nullptr, Decoration}, Both, 0},
    Control{"Image3",       Kind::Picture,       "ShowWindow", 3600,   240,  3315,   285, -1, false, Clear,      Clear,    0, None,      ":/pictures/markers.svg", {nullptr, nullptr, Decoration}, Both, 1},
    Control{"Image3",       Kind::Picture,       "ShowWindow", 6960,   240,  3315,   285, -1, false, Clear,      Clear,    0, None,      ":/pictures/markers.svg", {nullptr, nullptr, Decoration}, Both, 2},
    Control{"Image3",       Kind::Picture,       "ShowWindow",  240,  5280,  3315,   285, -1, false, Clear,      Clear,    0, None,      ":/pictures/markers.svg", {nullptr, nullptr, Decoration}, Both, 3},
    Control{"Image3",       Kind::Picture,       "ShowWindow", 3600,  5280,  3315,   285, -1, false, Clear,      Clear,    0, None,      ":/pictures/markers.svg", {nullptr, nullptr, Decoration}, Both, 4},
    Control{"Image3",       Kind::Picture,       "ShowWindow", 6960,  5280,  3315,   285, -1, false, Clear,      Clear,    0, None,      ":/pictures/markers.svg", {nullptr, nullptr, Decoration}, Both, 5},
    Control{"Image4",       Kind::Picture,       "ShowWindow",  240,  1920,  3225,  1620, -1, false, Clear,      Clear,    0, None,      ":/pictures/children.svg", {nullptr, nullptr, Decoration}},
    Control{"Command6",     Kind::SystemButton,  "ShowWindow", 1800,  3960,  2775,   975,  27, false, Clear,      Text,     0, None,      "もういちどする"},
    Control{"Command7",     Kind::SystemButton,  "ShowWindow", 5640,  3960,  2775,   975,  27, false, Clear,      Text,     0, None,      "おわる", {nullptr, "この まどを とじる"}},
};

// The practice windows: the script each asks, its rows, its name and title.
constexpr std::array kPracticeForms = {
    PracticeForm{drill::Direction::HiraganaShown, Form2, "Form2", "カタカナ ど〜れ？"},
    PracticeForm{drill::Direction::KatakanaShown, Form3, "Form3", "ひらがな ど〜れ？"},
};

constexpr std::array kMenu = {
    Control{"Form1",        Kind::Window,        nullptr,         0,     0,  5190,  4530, -1, false, White,      Text,     0, None,      "ぽこもじ ver1.0", {nullptr, nullptr, Frame}},
    Control{"Command1",     Kind::PictureButton, nullptr,       240,   240,  4695,  1455,  0, false, PaleYellow, Text,     1, None,      ":/pictures/menu_katakana.svg"},
    Control{"Command3",     Kind::PictureButton, nullptr,       240,  1920,  4695,  1455,  0, false, PaleYellow, Text,     1, None,      ":/pictures/menu_hiragana.svg"},
    Control{"Command2",     Kind::PictureButton, nullptr,      2760,  3600,  2175,   855,  0, false, PaleLavender, Text,   1, None,      ":/pictures/menu_end.svg", {"おわる", "ぽこもじを おわる"}},
    Control{"Image1",       Kind::Picture,       nullptr,       240,  3480,   990,   975, -1, false, Clear,      Clear,    0, None,      ":/pictures/teacher.svg", {"せんせい"}},
};
// clang-format on

} // namespace

std::span<const Control> practiceLayout()
{
    return kPractice;
}

const PracticeForm &practiceForm(drill::Direction direction)
{
    return kPracticeForms.at(static_cast<std::size_t>(direction)); // in the order of Direction
}

std::span<const Control> menuLayout()
{
    return kMenu;
}

QSize windowSize(std::span<const Control> table, qreal scale)
{
    for (const Control &row : table) {
        if (row.kind == Kind::Window) {
            return scaledRect(row.left, row.top, row.width, row.height, scale).size();
        }
    }
    throw std::logic_error("a layout without its window");
}

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

int deviceLine(qreal scale, qreal ratio)
{
    return std::max(1, static_cast<int>(std::floor(scale * ratio + 0.5)));
}

int scaledEm(int em, qreal scale)
{
    return std::max(1, static_cast<int>(std::lround(em * scale)));
}

} // namespace ui
