#pragma once

// Finds a window's controls by their part and presses them as a child does:
// the one way every widget test reaches the menu's and the practice windows'
// controls.

#include "ui/layouttable.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTest>

namespace testing {

using ui::Part;

// The control of a part of a window (and index: a chart button's kana index,
// or which of a part's controls as the design numbers them).
template <typename T = QWidget, typename Window>
T *control(const Window *window, Part part, int index = -1)
{
    return window->layout().template get<T>(part, index);
}

template <typename Window> void click(const Window *window, Part part, int index = -1)
{
    QTest::mouseClick(control<QAbstractButton>(window, part, index), Qt::LeftButton);
}

template <typename Window> QString text(const Window *window, Part part)
{
    return control<QLabel>(window, part)->text();
}

} // namespace testing
