#pragma once

// The few kinds of control the windows need beyond Qt's own: push buttons
// in the coloured-button style (optionally carrying a picture), pictures
// drawn from the built-in SVG files, the ring and the strokes of the marks.

#include <QColor>
#include <QGroupBox>
#include <QLabel>
#include <QLineF>
#include <QPixmap>
#include <QPushButton>
#include <QString>
#include <QWidget>

namespace ui {

// The picture at a resource path rendered at a device pixel ratio, cached,
// so that a picture is drawn from its vectors once per screen scale.
QPixmap pictureAt(const QString &resource, qreal devicePixelRatio);
// A picture's natural size in logical pixels.
QSize pictureSize(const QString &resource);

// A push button that paints a flat face in its background colour, with a
// thin raised edge (sunken while pressed or when checked), its caption or
// its picture centred, and a dotted focus frame.
class FlatButton : public QPushButton
{
    Q_OBJECT
public:
    FlatButton(const QString &text, QColor face, QWidget *parent);
    void setFace(QColor face);
    QColor face() const { return face_; }
    void setPicture(const QString &resource);
    QString picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor face_;
    QString picture_;
};

// A label that draws its one line of text from the top edge of its box, the
// baseline one ascent below it, as the design's labels do even where the box
// is lower than the font (the question kana: 307 px in a 297 px box), with an
// optional single black border line.
class Caption : public QLabel
{
    Q_OBJECT
public:
    Caption(const QString &text, QWidget *parent);
    void setBorder(bool border);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A frame with a caption: an etched border whose top line the caption
// interrupts at the left, as the design's frames are drawn.
class CaptionFrame : public QGroupBox
{
    Q_OBJECT
public:
    CaptionFrame(const QString &title, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A picture control: exactly as large as its picture, drawn unscaled from its
// top-left corner; only the picture's own shapes are painted.
class Picture : public QWidget
{
    Q_OBJECT
public:
    Picture(const QString &resource, QWidget *parent);
    QString resource() const { return resource_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString resource_;
};

// A circle outline inscribed in the widget, with a transparent inside.
class Ring : public QWidget
{
    Q_OBJECT
public:
    Ring(QColor colour, int thickness, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor colour_;
    int thickness_;
};

// A straight stroke between two points of the parent, with round ends.
class Stroke : public QWidget
{
    Q_OBJECT
public:
    Stroke(QLineF line, QColor colour, int thickness, QWidget *parent);
    QLineF line() const { return line_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLineF line_; // in the parent's coordinates
    QColor colour_;
    int thickness_;
};

} // namespace ui
