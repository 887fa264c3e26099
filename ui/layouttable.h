#pragma once

// The windows' layouts as data: one row a control, as the design's own tables
// give them, and the rules that lay a table out at a scale.

#include "accessible.h"
#include "drill/session.h"

#include <QRect>
#include <QRectF>
#include <cstdint>
#include <span>

namespace ui {

enum class Kind
{
    Window,        // the window itself: its client area and background
    Picture,       // a picture at its natural size; text names the picture
    Label,         // text on the window's surface
    RaisedButton,  // a push button in the coloured-button style
    PictureButton, // the same with a picture instead of a caption; text names it
    SystemButton,  // a push button in the system look
    Option,        // an option of a group, drawn as a coloured button
    CaptionFrame,  // a frame with a caption
    Panel,         // a borderless coloured panel
    Ring,          // a circle outline
    Line,          // a straight line; the rectangle holds its two ends
    ChartButtons,  // chart buttons `first` to `last`, placed by the chart formula
};

// Which of the two practice windows a row belongs to; the menu's rows are
// Both.
enum class Forms
{
    Both,
    Form2,
    Form3
};

// What a screen reader is told of a control beyond its text: a name where
// it draws no text, a description that says what its text is, and its kind
// where Qt's own choice is wrong for it.
struct Speech
{
    const char *name = nullptr;
    const char *description = nullptr;
    AccessibleKind kind = AccessibleKind::Standard;
};

struct Control
{
    const char *name;
    Kind kind;
    const char *container;        // nullptr: the window's client area
    int left, top, width, height; // twips; a line's ends: x1, y1, x2, y2
    int em;                       // font em height in pixels; 0: the window's font; -1: none
    bool bold;
    std::uint32_t background;
    std::uint32_t foreground;
    int line; // border or stroke width in pixels; 0: none
    Qt::Alignment alignment;
    const char *text; // text at load, or the picture's resource
    Speech speech = {};
    Forms forms = Forms::Both;
    int index = -1;    // element of a control array; chart rows: the first
    int last = -1;     // chart rows: the last kana index
    int questions = 0; // option rows: the questions a session started with it asks
};

// A practice window, described once: the script it asks (its session's
// direction; the chart answers in the other), its rows of the table, its
// object name, and its title, which the menu's button and a screen reader say.
struct PracticeForm
{
    drill::Direction direction;
    Forms form;
    const char *name;
    const char *title;
};
const PracticeForm &practiceForm(drill::Direction direction);

// The rows stand in stacking order from the bottom up: first what is drawn
// on a surface, then the child windows.
std::span<const Control> practiceLayout();
std::span<const Control> menuLayout();
// The client area of a table's window at a scale.
QSize windowSize(std::span<const Control> table, qreal scale = 1.0);

// The chart formula, in twips: rows at top + rowPitch × r; the basic block's
// groups leftwards from basicLeft, the voiced block's from voicedLeft, a
// columnPitch apart. Neighbours overlap by `overlap`.
struct ChartDesign
{
    int top, rowPitch, columnPitch, basicLeft, voicedLeft, buttonWidth, buttonHeight, overlap;
};
inline constexpr ChartDesign kChart{6600, 840, 960, 14040, 4080, 975, 855, 15};

// The design's lengths are in twips, 15 to a pixel at the designed size.
inline constexpr int kTwipsPerPixel = 15;

// Twips to pixels at a scale: each edge is rounded on its own, so that
// controls that meet at the designed size still meet.
int scaledPx(int twips, qreal scale);
QRect scaledRect(int left, int top, int width, int height, qreal scale);
// The width in device pixels of a line one pixel of the layout wide, at a
// scale and a device pixel ratio: whole pixels, at least one.
int deviceLine(qreal scale, qreal ratio);
// A font's em height at a scale.
int scaledEm(int em, qreal scale);

} // namespace ui
