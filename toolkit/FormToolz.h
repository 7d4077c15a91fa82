#pragma once

#include <QColor>
#include <QRect>
#include <QSize>

class QPainter;
class QWidget;

namespace toolkit {

// Lets the application handle every window event that is waiting.
void PumpMessages();
// The application-wide busy cursor, and back to the normal one.
void BusyCursor();
void NormalCursor();

// Components of a colour (a system colour is resolved first).
int RedPart(const QColor& colour);
int GreenPart(const QColor& colour);
int BluePart(const QColor& colour);
// Each component plus (or minus) Amount, limited to 0-255; a plain RGB colour.
QColor LighterColor(const QColor& colour, int amount);
QColor DarkerColor(const QColor& colour, int amount);

// What the drawing functions paint on: a window's client area of a given
// size whose own colour gives the light and dark shades.
struct Canvas
{
    QPainter& painter;
    QSize client;
    QColor colour;
};

// The client area of Form, its size and its window colour.
Canvas CanvasOf(QPainter& painter, const QWidget& form);

// Lines are one pixel wide and leave out their end point.
void DrawClientBevel(Canvas canvas, bool raised, int inset, const QColor& light,
                     const QColor& dark);
void DrawClientBevelShaded(Canvas canvas, bool raised, int inset, int amount);
void DrawControlFrame(Canvas canvas, const QRect& control, const QColor& colour, int gap);
void DrawControlBevel(Canvas canvas, const QRect& control, bool raised, int gap,
                      const QColor& light, const QColor& dark);
void DrawControlBevelShaded(Canvas canvas, const QRect& control, bool raised, int gap, int amount);
void DrawDoubleLine(Canvas canvas, int x1, int y1, int x2, int y2, bool horizontal,
                    const QColor& light, const QColor& dark);
void DrawEtchedLine(Canvas canvas, int x1, int y1, int x2, int y2, bool horizontal, int amount);

// The two-pixel groove 8 and 9 pixels inside the client area.
void DrawEtchedGroove(Canvas canvas);

} // namespace toolkit
