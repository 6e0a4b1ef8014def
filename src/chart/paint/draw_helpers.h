#pragma once
// Small drawing steps every pane and painter shares: the chart font, the
// dotted pen, rounding a float position to its pixel, and texts in boxes.
#include <QFont>
#include <QPainter>
#include <QPen>
#include <QRect>
#include <QString>

// "宋体" at 9 points, as 12 pixels so the size does not depend on the
// device's resolution: the window and the PNG get the same glyphs. Drawn
// without anti-aliasing, like the bitmap strikes of the font it stands for.
QFont ChartFont();

// A 1-pixel pen whose dots are one pixel on, one pixel off.
QPen DottedPen(QRgb colour);

// The pixel a float position falls on (nearest, halves up). Values far off
// the image, infinite or NaN land far off the image too, never in it.
int Px(float v);

// printf-style text (the C library's rules) for a label; ASCII only.
QString FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// `text` in `box` with the given alignment (Qt::AlignLeft, ...; always
// vertically centred), clipped to the box, in `colour`.
void DrawBoxText(QPainter& painter, const QRect& box, int align, const QString& text, QRgb colour);

// Vertical text whose first character's cell starts at `topLeft`:
// ideographs stand upright one below the other, other characters (arrows,
// lines, Latin letters) are turned a quarter clockwise.
void DrawVerticalText(QPainter& painter, QPoint topLeft, const QString& text, QRgb colour);
