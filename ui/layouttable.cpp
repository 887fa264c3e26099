// The layout tables of the menu and the practice windows, and twips to pixels.

#include "layouttable.h"

#include "look.h"
#include "pixels.h"

#include <array>
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
// The rows of one practice window only.
constexpr std::optional Form2 = drill::Direction::HiraganaShown;
constexpr std::optional Form3 = drill::Direction::KatakanaShown;
constexpr std::nullopt_t Both = std::nullopt;
// The practice windows' titles, which their headings draw: what a screen
// reader says of a window and of the menu's button that opens it.
constexpr const char *KatakanaTitle = "カタカナ ど〜れ？";
constexpr const char *HiraganaTitle = "ひらがな ど〜れ？";

// clang-format off
// Lengths in twips (kTwipsPerPixel), font em heights in
// pixels, colours as 0x00BBGGRR.
constexpr std::array kPractice = {
//  part                      name            kind                  container        left    top  width height  em  bold  background  foreground line alignment  text at load / picture, what a screen reader is told
    // Both windows are captioned "Form2"; no title bar shows it.
    Control{Part::Window,            "Form2",        Kind::Window,         Part::Window,      0,     0, 15360, 11520,  0, false, White,      Text,     0, None,      "Form2", {KatakanaTitle}, Form2},
    Control{Part::Window,            "Form3",        Kind::Window,         Part::Window,      0,     0, 15360, 11520,  0, false, White,      Text,     0, None,      "Form2", {HiraganaTitle}, Form3},
    // The window's surface, from the bottom up.
    Control{Part::Answer,            "Label2",       Kind::Label,          Part::Window,   7440,  1200,  4455,  4455, 307, false, ButtonFace, Text,     1, TopCentre, "", {nullptr, "こたえ"}},
    Control{Part::Circle,            "Shape1",       Kind::Ring,           Part::Window,   7320,  1080,  4815,  4815, -1, false, Clear,      LightRed, 20, None,      "", {"まる"}},
    Control{Part::ScoreUnit,         "Label3",       Kind::Label,          Part::Window,  12600,   360,   855,   375,  27, false, Clear,      Text,     0, TopLeft,   "てん"},
    Control{Part::SecondsUnit,       "Label4",       Kind::Label,          Part::Window,   8640,   360,  1335,   375,  27, false, Clear,      Grey,     0, TopLeft,   "びょう"},
    Control{Part::Seconds,           "TimeBox",      Kind::Label,          Part::Window,   6480,   240,  2055,   615,  32, false, LightGrey,  Grey,     1, TopRight,  "0", {nullptr, "びょう"}},
    Control{Part::Score,             "Tokuten",      Kind::Label,          Part::Window,  10440,   240,  2055,   615,  32, false, White,      Green,    1, TopRight,  "0", {nullptr, "てん"}},
    Control{Part::QuestionScript,    "Label5",       Kind::Label,          Part::Window,   2520,  5760,  1575,   375,  27, false, Clear,      Text,     0, TopLeft,   "ひらがな", {}, Form2},
    Control{Part::QuestionScript,    "Label5",       Kind::Label,          Part::Window,   2520,  5760,  1575,   375,  27, false, Clear,      Text,     0, TopLeft,   "カタカナ", {}, Form3},
    Control{Part::AnswerScript,      "Label6",       Kind::Label,          Part::Window,   9120,  5760,  1575,   375,  27, false, Clear,      Text,     0, TopLeft,   "カタカナ", {}, Form2},
    Control{Part::AnswerScript,      "Label6",       Kind::Label,          Part::Window,   9120,  5760,  1575,   375,  27, false, Clear,      Text,     0, TopLeft,   "ひらがな", {}, Form3},
    Control{Part::Equals,            "Label7",       Kind::Label,          Part::Window,   6000,  3120,   975,   735,  67, false, Clear,      Text,     0, TopLeft,   "＝"},
    Control{Part::Heading,           "Image1",       Kind::Picture,        Part::Window,    240,  -120,  4350,  1290, -1, false, Clear,      Clear,    0, None,      ":/pictures/heading_katakana.svg", {KatakanaTitle}, Form2},
    Control{Part::Heading,           "Image1",       Kind::Picture,        Part::Window,    240,  -120,  4350,  1305, -1, false, Clear,      Clear,    0, None,      ":/pictures/heading_hiragana.svg", {HiraganaTitle}, Form3},
    Control{Part::Question,          "Label1",       Kind::Label,          Part::Window,   1200,  1200,  4455,  4455, 307, false, ButtonFace, Text,     1, TopCentre, "", {nullptr, "もんだい"}},
    Control{Part::Reward,            "Image2",       Kind::Picture,        Part::Window,   5040,  2520,  3090,  3165, -1, false, Clear,      Clear,    0, None,      ":/pictures/vsign.svg", {"せいかい"}},
    Control{Part::Cross,             "Line1",        Kind::Line,           Part::Window,   7680,  1440, 11640,  5400, -1, false, Clear,      Yellow,  10, None,      "", {"ばつ"}, Both, 1},
    Control{Part::Cross,             "Line2",        Kind::Line,           Part::Window,  11640,  1440,  7680,  5400, -1, false, Clear,      Yellow,  10, None,      "", {"ばつ"}, Both, 2},
    // The child windows, from the bottom up.
    Control{Part::Chart,             "Command1",     Kind::ChartButtons,   Part::Window,      0,     0,     0,     0,  37, true,  LightGrey,  Text,     1, None,      "", {}, Both, 1, 46},
    Control{Part::Close,             "Command2",     Kind::RaisedButton,   Part::Window,  14400,   120,   855,   735,   0, false, Pink,       Text,     1, None,      "とじる", {nullptr, "この まどを とじる"}},
    Control{Part::Start,             "Command3",     Kind::SystemButton,   Part::Window,  12720,  4080,  2175,  1095,  24, false, Clear,      Text,     0, None,      "スタート"},
    Control{Part::Chart,             "Command1",     Kind::ChartButtons,   Part::Window,      0,     0,     0,     0,  37, true,  LightGrey,  Text,     1, None,      "", {}, Both, 47, 71},
    Control{Part::Stop,              "Command4",     Kind::SystemButton,   Part::Window,  12720,  5280,  2175,   975,  24, false, Clear,      Text,     0, None,      "ストップ"},
    Control{Part::Options,           "Frame1",       Kind::CaptionFrame,   Part::Window,  12720,  1320,  2055,  2535,   0, false, White,      Text,     1, None,      "もんだいのかず"},
    Control{Part::Option,            "Option1",      Kind::Option,         Part::Options,   240,   360,  1575,   615,   0, false, LightBlue,  Text,     1, None,      "ぜんぶ (71こ)", {}, Both, 1, -1, 71},
    Control{Part::Option,            "Option2",      Kind::Option,         Part::Options,   240,  1080,  1575,   615,   0, false, LightBlue,  Text,     1, None,      "はんぶん (30こ)", {}, Both, 2, -1, 30},
    Control{Part::Option,            "Option3",      Kind::Option,         Part::Options,   240,  1800,  1575,   615,   0, false, LightBlue,  Text,     1, None,      "すこし (15こ)", {}, Both, 3, -1, 15},
    Control{Part::Results,           "ShowWindow",   Kind::Panel,          Part::Window,   2400,  2880, 10575,  5655, -1, false, Pink,       Text,     0, None,      "", {"けっか"}},
    // The results panel's surface, from the bottom up, then its buttons.
    Control{Part::ResultSecondsUnit, "Label8",       Kind::Label,          Part::Results,  7200,  1200,  1935,   855,  48, false, Clear,      Text,     0, TopLeft,   "びょう"},
    Control{Part::ResultScoreUnit,   "Label9",       Kind::Label,          Part::Results,  7320,  2520,  1575,   855,  48, false, Clear,      Text,     0, TopLeft,   "てん"},
    Control{Part::ResultSeconds,     "Label10",      Kind::Label,          Part::Results,  3720,   960,  3135,  1095,  64, false, White,      Text,     1, TopCentre, "Label10", {nullptr, "びょう"}},
    Control{Part::ResultScore,       "Label11",      Kind::Label,          Part::Results,  3720,  2280,  3135,  1095,  64, false, White,      Text,     1, TopCentre, "Label11", {nullptr, "てん"}},
    Control{Part::Marker,            "Image3",       Kind::Picture,        Part::Results,   240,   240,  3315,   285, -1, false, Clear,      Clear,    0, None,      ":/pictures/markers.svg", {}, Both, 0},
    Control{Part::Marker,            "Image3",       Kind::Picture,        Part::Results,  3600,   240,  3315,   285, -1, false, Clear,      Clear,    0, None,      ":/pictures/markers.svg", {}, Both, 1},
    Control{Part::Marker,            "Image3",       Kind::Picture,        Part::Results,  6960,   240,  3315,   285, -1, false, Clear,      Clear,    0, None,      ":/pictures/markers.svg", {}, Both, 2},
    Control{Part::Marker,            "Image3",       Kind::Picture,        Part::Results,   240,  5280,  3315,   285, -1, false, Clear,      Clear,    0, None,      ":/pictures/markers.svg", {}, Both, 3},
    Control{Part::Marker,            "Image3",       Kind::Picture,        Part::Results,  3600,  5280,  3315,   285, -1, false, Clear,      Clear,    0, None,      ":/pictures/markers.svg", {}, Both, 4},
    Control{Part::Marker,            "Image3",       Kind::Picture,        Part::Results,  6960,  5280,  3315,   285, -1, false, Clear,      Clear,    0, None,      ":/pictures/markers.svg", {}, Both, 5},
    Control{Part::Children,          "Image4",       Kind::Picture,        Part::Results,   240,  1920,  3225,  1620, -1, false, Clear,      Clear,    0, None,      ":/pictures/children.svg", {}},
    Control{Part::Again,             "Command6",     Kind::SystemButton,   Part::Results,  1800,  3960,  2775,   975,  27, false, Clear,      Text,     0, None,      "もういちどする"},
    Control{Part::Finish,            "Command7",     Kind::SystemButton,   Part::Results,  5640,  3960,  2775,   975,  27, false, Clear,      Text,     0, None,      "おわる", {nullptr, "この まどを とじる"}},
};

constexpr std::array kMenu = {
    Control{Part::Window,            "Form1",        Kind::Window,         Part::Window,      0,     0,  5190,  4530, -1, false, White,      Text,     0, None,      "ぽこもじ ver1.0", {}},
    Control{Part::KatakanaDrill,     "Command1",     Kind::PictureButton,  Part::Window,    240,   240,  4695,  1455,  0, false, PaleYellow, Text,     1, None,      ":/pictures/menu_katakana.svg", {KatakanaTitle}},
    Control{Part::HiraganaDrill,     "Command3",     Kind::PictureButton,  Part::Window,    240,  1920,  4695,  1455,  0, false, PaleYellow, Text,     1, None,      ":/pictures/menu_hiragana.svg", {HiraganaTitle}},
    Control{Part::Quit,              "Command2",     Kind::PictureButton,  Part::Window,   2760,  3600,  2175,   855,  0, false, PaleLavender, Text,   1, None,      ":/pictures/menu_end.svg", {"おわる", "ぽこもじを おわる"}},
    Control{Part::Teacher,           "Image1",       Kind::Picture,        Part::Window,    240,  3480,   990,   975, -1, false, Clear,      Clear,    0, None,      ":/pictures/teacher.svg", {"せんせい"}},
};
// clang-format on

} // namespace

std::span<const Control> practiceLayout()
{
    return kPractice;
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

} // namespace ui
