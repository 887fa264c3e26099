// Builds a window's controls from its layout table and places them at a scale.

#include "builtlayout.h"

#include "accessible.h"
#include "chartlayout.h"
#include "look.h"
#include "pixels.h"
#include "widgets.h"

#include <QAbstractButton>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPalette>
#include <algorithm>

namespace ui {
namespace {

QColor colourOf(std::uint32_t value)
{
    switch (value) {
    case colour::ButtonFace:
        return QGuiApplication::palette().color(QPalette::Button);
    case colour::ButtonText:
        return QGuiApplication::palette().color(QPalette::ButtonText);
    default:
        return bgr(value);
    }
}

bool belongsTo(const Control &row, std::optional<drill::Direction> form)
{
    return !row.only || row.only == form;
}

QString textOf(const Control &row)
{
    return QString::fromUtf8(row.text);
}

// A label as the design draws it: text colour, an optional single-line
// border, and the alignment of its text; its background is set with every
// control's.
QWidget *makeLabel(const Control &row, QWidget *parent)
{
    auto *label = new Caption(textOf(row), parent);
    label->setAlignment(row.alignment);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colourOf(row.foreground));
    label->setPalette(palette);
    label->setFrameStyle(row.line > 0 ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

QWidget *makeControl(const Control &row, QWidget *parent)
{
    switch (row.kind) {
    case Kind::Picture:
        return new Picture(textOf(row), parent);
    case Kind::Label:
        return makeLabel(row, parent);
    case Kind::RaisedButton:
        return new RaisedButton(textOf(row), colourOf(row.background), parent);
    case Kind::Option: {
        auto *option = new RaisedButton(textOf(row), colourOf(row.background), parent);
        option->setCheckable(true);
        return option;
    }
    case Kind::PictureButton: {
        auto *button = new RaisedButton(QString(), colourOf(row.background), parent);
        button->setPicture(textOf(row));
        return button;
    }
    case Kind::SystemButton: {
        // Enter presses it as Space does.
        auto *button = new QPushButton(textOf(row), parent);
        button->setAutoDefault(true);
        return button;
    }
    case Kind::CaptionFrame: {
        auto *frame = new CaptionFrame(textOf(row), parent);
        frame->setFocusPolicy(Qt::NoFocus);
        return frame;
    }
    case Kind::Panel:
        return new Panel(parent);
    case Kind::Ring:
        return new Ring(colourOf(row.foreground), row.line, parent);
    case Kind::Line:
        return new Stroke(QLineF(), colourOf(row.foreground), row.line, parent);
    case Kind::Window:
    case Kind::ChartButtons:
        break;
    }
    return nullptr;
}

// A control that is not a button fills its background, if it has one; a
// button's background is its face.
void setBackground(QWidget *widget, const Control &row)
{
    if (row.background == colour::Transparent || qobject_cast<QAbstractButton *>(widget)) {
        return;
    }
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colourOf(row.background));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void describe(QWidget *widget, const Speech &speech)
{
    if (speech.name) {
        widget->setAccessibleName(QString::fromUtf8(speech.name));
    }
    if (speech.description) {
        widget->setAccessibleDescription(QString::fromUtf8(speech.description));
    }
}

// The windows' default font, their smallest text, is drawn no smaller than
// this many device pixels however far a window is scaled down.
constexpr int kReadablePx = 10;
// A button's caption keeps this many device pixels clear of the button's
// edges.
constexpr qreal kCaptionClearance = 3;

QFont fontAt(const Control &row, qreal scale, qreal ratio)
{
    if (row.em > 0) {
        return drillFont(scaledEm(row.em, scale), row.bold);
    }
    QFont font = uiFont();
    const int readable = logicalCover(kReadablePx, ratio);
    font.setPixelSize(std::max(scaledEm(font.pixelSize(), scale), readable));
    return font;
}

// A caption's font made just small enough that the caption, centred on its
// button, keeps clear of the button's edges on a device of a pixel ratio,
// also when a press moves it right and down by a shift. On the smallest
// screens this wins over the readable size: a caption that fits stays usable.
QFont fitted(QFont font, const QString &text, QSize box, qreal shift, qreal ratio)
{
    for (;;) {
        const QFontMetricsF metrics(font);
        const QRectF ink = metrics.tightBoundingRect(text);
        const qreal left = (box.width() - metrics.horizontalAdvance(text)) / 2 + ink.left();
        const qreal right = box.width() - left - ink.width() - shift;
        const qreal top = (box.height() - metrics.height()) / 2 + metrics.ascent() + ink.top();
        const qreal bottom = box.height() - top - ink.height() - shift;
        // Clear by whole device pixels: ink that begins less than half a
        // pixel short of the clearance leaves that pixel blank.
        const qreal clear = std::min({left, right, top, bottom}) * ratio;
        if (clear >= kCaptionClearance - 0.5 || font.pixelSize() <= 1) {
            return font;
        }
        font.setPixelSize(font.pixelSize() - 1);
    }
}

} // namespace

void BuiltLayout::build(QWidget *window, std::span<const Control> table,
                        std::optional<drill::Direction> form,
                        const std::function<QString(int)> &chartCaption)
{
    window_ = window;
    describeWindow(window);
    for (const Control &row : table) {
        if (!belongsTo(row, form)) {
            continue;
        }
        QWidget *parent = row.container == Part::Window ? window : find(row.container);
        if (row.kind == Kind::ChartButtons) {
            // A control array: every chart button has the row's name and
            // knows its kana index.
            for (int k = row.index; k <= row.last; ++k) {
                auto *button =
                    new ChartButton(k, chartCaption(k), colourOf(row.background), parent);
                button->setObjectName(QLatin1String(row.name));
                button->setSeams(chartSeams(k));
                placed_.push_back({&row, button, k});
            }
            continue;
        }
        QWidget *widget = window;
        if (row.kind == Kind::Window) {
            windowRow_ = &row;
            window->setWindowTitle(textOf(row));
        } else {
            widget = makeControl(row, parent);
            placed_.push_back({&row, widget, row.index});
        }
        widget->setObjectName(QLatin1String(row.name));
        describe(widget, row.speech);
        setBackground(widget, row);
    }
}

void BuiltLayout::layOut(qreal scale, QPoint origin) const
{
    const qreal ratio = window_->devicePixelRatioF();
    // A window that draws no text (the menu) sets no font, so that the
    // built-in face is not registered before a window needs it.
    if (windowRow_ && windowRow_->em >= 0) {
        window_->setFont(fontAt(*windowRow_, scale, ratio));
    }
    for (const Placed &p : placed_) {
        const Control &row = *p.row;
        const QPoint shift = row.container == Part::Window ? origin : QPoint();
        // The controls that draw lines of the layout's width are told its scale.
        if (auto *button = qobject_cast<RaisedButton *>(p.widget)) {
            button->setScale(scale);
        } else if (auto *caption = qobject_cast<Caption *>(p.widget)) {
            caption->setScale(scale);
        } else if (auto *frame = qobject_cast<CaptionFrame *>(p.widget)) {
            frame->setScale(scale);
        }
        switch (row.kind) {
        case Kind::ChartButtons:
            static_cast<RaisedButton *>(p.widget)->setOverlap(chartOverlap(scale, ratio));
            p.widget->setGeometry(chartButtonRect(p.index, scale, ratio).translated(shift));
            break;
        case Kind::Line: {
            const QPointF from(scaledPx(row.left, scale), scaledPx(row.top, scale));
            const QPointF to(scaledPx(row.width, scale), scaledPx(row.height, scale));
            static_cast<Stroke *>(p.widget)->setLine(QLineF(from + shift, to + shift),
                                                     row.line * scale);
            break;
        }
        case Kind::Ring:
            static_cast<Ring *>(p.widget)->setThickness(row.line * scale);
            [[fallthrough]];
        default:
            p.widget->setGeometry(
                scaledRect(row.left, row.top, row.width, row.height, scale).translated(shift));
            break;
        }
        // A button's caption shrinks just enough to keep clear of its edges,
        // now that the button has its size; a coloured button moves its
        // caption by one line while pressed.
        auto *button = qobject_cast<QAbstractButton *>(p.widget);
        if (button && !button->text().isEmpty()) {
            const qreal pressShift =
                qobject_cast<RaisedButton *>(button) ? deviceLine(scale, ratio) / ratio : 0.0;
            const QFont font = row.em > 0 ? fontAt(row, scale, ratio) : window_->font();
            button->setFont(fitted(font, button->text(), button->size(), pressShift, ratio));
        } else if (row.em > 0) {
            p.widget->setFont(fontAt(row, scale, ratio));
        }
    }
}

std::vector<BuiltLayout::Placed> BuiltLayout::ofPart(Part part) const
{
    std::vector<Placed> found;
    for (const Placed &p : placed_) {
        if (p.row->part == part) {
            found.push_back(p);
        }
    }
    return found;
}

QWidget *BuiltLayout::find(Part part, int index) const
{
    for (const Placed &p : placed_) {
        if (p.row->part == part && (index < 0 || p.index == index)) {
            return p.widget;
        }
    }
    return nullptr;
}

} // namespace ui
