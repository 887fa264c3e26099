#pragma once

// The windows' layouts as data: one row a control, as the design's own tables
// give them, and the rules that lay a table out at a scale.

#include "drill/session.h"

#include <QSize>
#include <Qt>
#include <cstdint>
#include <optional>
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

// What a control is in its window. Code and tests find a window's controls by
// their part; the design's names stay the controls' object names.
enum class Part
{
    Window, // the window itself; as a container, its client area
    // The practice windows.
    Question,
    Answer,
    Equals,
    QuestionScript, // the caption that names the question's script
    AnswerScript,
    Heading,
    Seconds,
    SecondsUnit,
    Score,
    ScoreUnit,
    Circle,
    Reward, // the picture shown with the circle
    Cross,  // the two strokes of the cross
    Chart,
    Close, // とじる
    Start,
    Stop,
    Options, // the frame of the options
    Option,
    Results, // the results panel
    ResultSeconds,
    ResultSecondsUnit,
    ResultScore,
    ResultScoreUnit,
    Marker,
    Children,
    Again,  // もういちどする
    Finish, // おわる
    // The menu.
    KatakanaDrill,
    HiraganaDrill,
    Quit,
    Teacher,
};

// What a screen reader is told of a control beyond its text: a name where
// it draws no text, and a description that says what its text is. A picture
// with neither is decoration and is not told at all.
struct Speech
{
    const char *name = nullptr;
    const char *description = nullptr;
};

struct Control
{
    Part part;
    const char *name; // the design's name, the control's object name
    Kind kind;
    Part container;               // Part::Window: the window's client area
    int left, top, width, height; // twips; a line's ends: x1, y1, x2, y2
    int em;                       // font em height in pixels; 0: the window's font; -1: none
    bool bold;
    std::uint32_t background;
    std::uint32_t foreground;
    int line; // border or stroke width in pixels; 0: none
    Qt::Alignment alignment;
    const char *text; // text at load, or the picture's resource
    Speech speech = {};
    // The practice window a row belongs to, by the direction it asks in;
    // none: every window of its table.
    std::optional<drill::Direction> only = std::nullopt;
    // Which of a part's controls the row is, numbered as the design numbers
    // them (Image3(0..5), Line1 and Line2, Option1..3); -1 for a part of
    // one control. Chart rows: the first kana index.
    int index = -1;
    int last = -1;     // chart rows: the last kana index
    int questions = 0; // option rows: the questions a session started with it asks
};

// The rows stand in stacking order from the bottom up: first what is drawn
// on a surface, then the child windows.
std::span<const Control> practiceLayout();
std::span<const Control> menuLayout();
// The client area of a table's window at a scale.
QSize windowSize(std::span<const Control> table, qreal scale = 1.0);

} // namespace ui
