#pragma once

// A window's controls built from its layout table, and laid out again at any
// scale: rectangles, fonts, line widths and pictures all follow the scale.

#include "layouttable.h"

#include <QPoint>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

namespace ui {

class BuiltLayout
{
public:
    // Builds the rows of a table that belong to a window (a practice window
    // by its direction), in the table's order; chart buttons are captioned
    // by chartCaption(kanaIndex).
    void build(QWidget *window, std::span<const Control> table,
               std::optional<drill::Direction> form,
               const std::function<QString(int)> &chartCaption = {});
    // Places every control at a scale, those on the client area shifted by
    // an origin, with its font at that scale on the window's device: the
    // small text no smaller than can be read, and each button's caption
    // clear of its edges.
    void layOut(qreal scale, QPoint origin = {}) const;

    // The control of a part (the first, or the element of an index: the kana
    // index of a chart button, the row's index of an element of a control
    // array), or null.
    QWidget *find(Part part, int index = -1) const;
    // The same, of a kind of widget; a part that is not there or a control
    // of another kind stops the program.
    template <typename T> T *get(Part part, int index = -1) const
    {
        T *widget = qobject_cast<T *>(find(part, index));
        if (!widget) {
            qFatal("no control of part %d(%d) of the kind asked for in the layout",
                   static_cast<int>(part), index);
        }
        return widget;
    }

    struct Placed
    {
        const Control *row;
        QWidget *widget;
        int index; // kana index of a chart button, else the row's index
    };
    // The controls of a part, in the table's order.
    std::vector<Placed> ofPart(Part part) const;

private:
    QWidget *window_ = nullptr;
    const Control *windowRow_ = nullptr;
    std::vector<Placed> placed_;
};

} // namespace ui
