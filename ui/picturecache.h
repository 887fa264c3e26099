#pragma once

// The built-in pictures as pixmaps, drawn once per size and screen scale and
// kept for the program's lifetime.

#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

class QWidget;

namespace ui {

// The picture at a resource path drawn to fill a number of device pixels,
// for a device pixel ratio, cached, so that a picture is drawn from its
// vectors once per size.
QPixmap pictureIn(const QString &resource, QSize devicePixels, qreal devicePixelRatio);
// The picture for a widget's paint: pictureIn()'s where the build rendered it
// at that size or it was drawn before. Any other size first shows the build's
// rendering scaled to it, so that a window's first frame does not wait for
// vectors to be drawn (on a web page, whose scale is whatever fits the page,
// that was most of the wait), and is drawn from its vectors once the window
// is on the screen, when the widget is painted again.
QPixmap pictureFor(QWidget *widget, const QString &resource, QSize devicePixels,
                   qreal devicePixelRatio);
// A picture's natural size in logical pixels.
QSize pictureSize(const QString &resource);
// The raw pixels the build rendered into a resource (":/pictures/rendered/
// NAME.argb", see cmake/svg2png.cpp) as an image over the resource's own
// bytes, or a null image. Nothing is decoded: reading an image file instead,
// Qt would also load every image-format plug-in to ask it first.
QImage rawPixels(const QString &path);

} // namespace ui
