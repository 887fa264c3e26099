#pragma once

// The few kinds of control the windows need beyond Qt's own: push buttons
// in the coloured-button style (optionally carrying a picture), pictures
// drawn from the built-in SVG files, the ring and the strokes of the marks.

#include <QColor>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineF>
#include <QPushButton>
#include <QString>
#include <QWidget>

class QPainter;

namespace ui {

class DeviceGrid;

// A push button that paints a flat face in its background colour inside a
// raised edge of two lines, light and white at the top and left, dark and
// grey at the bottom and right (the reverse while pressed or when checked),
// its caption or its picture centred, and a dotted focus frame. Every line
// lies on whole device pixels inside the button's own rectangle.

class RaisedButton : public QPushButton
{
    Q_OBJECT
public:
    RaisedButton(const QString &text, QColor face, QWidget *parent);
    void setFace(QColor face);
    QColor face() const { return face_; }
    void setPicture(const QString &resource);
    QString picture() const { return picture_; }
    // Edges that lie over a neighbour's edge beneath this button: their
    // outer line is the neighbour's dark one, so that a seam looks the same
    // whichever of the two buttons lies on top.
    void setSeams(Qt::Edges seams) { seams_ = seams; }
    // The scale the button is laid out at, which its edges follow.
    void setScale(qreal scale) { scale_ = scale; }
    // The logical pixels by which its right and bottom edges reach over the
    // neighbours there (chart buttons); 0 for a button alone.
    void setOverlap(int overlap) { overlap_ = overlap; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The face and its raised or sunken edge.
    void paintFace(QPainter &painter, const DeviceGrid &grid, bool sunken) const;
    void paintCaption(QPainter &painter, const DeviceGrid &grid, qreal nudge) const;

    qreal scale_ = 1.0;
    int overlap_ = 0;
    QColor face_;
    QString picture_;
    Qt::Edges seams_;
};

// A button of the answer chart, which answers with the kana of its index.
class ChartButton : public RaisedButton
{
    Q_OBJECT
public:
    ChartButton(int kanaIndex, const QString &text, QColor face, QWidget *parent)
        : RaisedButton(text, face, parent), kanaIndex_(kanaIndex)
    {
    }
    int kanaIndex() const { return kanaIndex_; }

private:
    int kanaIndex_;
};

// A borderless coloured panel that holds controls of its own (the results).
class Panel : public QFrame
{
    Q_OBJECT
public:
    using QFrame::QFrame;
};

// A label that draws its one line of text from the top edge of its box, the
// baseline one ascent below it, as the design's labels do even where the box
// is lower than the font (the question kana: 307 px in a 297 px box), with an
// optional single black border line.
class Caption : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;
    // The scale the label is laid out at, which its border follows.
    void setScale(qreal scale) { scale_ = scale; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qreal scale_ = 1.0;
};

// A frame with a caption: an etched border whose top line the caption
// interrupts at the left, as the design's frames are drawn.
class CaptionFrame : public QGroupBox
{
    Q_OBJECT
public:
    using QGroupBox::QGroupBox;
    // The scale the frame is laid out at, which its lines follow.
    void setScale(qreal scale) { scale_ = scale; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qreal scale_ = 1.0;
};

// A picture control: as large as its picture at the layout's scale (its
// natural size at the designed one), drawn from its vectors at the device's
// resolution from its top-left corner; only the picture's own shapes are
// painted.
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
    Ring(QColor colour, qreal thickness, QWidget *parent);
    void setThickness(qreal thickness);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor colour_;
    qreal thickness_;
};

// A straight stroke between two points of the parent, with round ends.
class Stroke : public QWidget
{
    Q_OBJECT
public:
    Stroke(QLineF line, QColor colour, qreal thickness, QWidget *parent);
    // Moves the stroke, taking its widget's rectangle along.
    void setLine(QLineF line, qreal thickness);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLineF line_; // in the parent's coordinates
    QColor colour_;
    qreal thickness_;
};

} // namespace ui
