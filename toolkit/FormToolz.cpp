#include "FormToolz.h"

#include "TextFunctions.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QWidget>

#include <cstdlib>

namespace toolkit {

void PumpMessages()
{
    QCoreApplication::processEvents();
}

void BusyCursor()
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void NormalCursor()
{
    while (QGuiApplication::overrideCursor() != nullptr)
        QGuiApplication::restoreOverrideCursor();
}

int RedPart(const QColor& colour)
{
    return colour.toRgb().red();
}
int GreenPart(const QColor& colour)
{
    return colour.toRgb().green();
}
int BluePart(const QColor& colour)
{
    return colour.toRgb().blue();
}

namespace {

int component(int value, int amount)
{
    return static_cast<int>(LimitRange(value + amount, 0, 255));
}

QColor shifted(const QColor& colour, int amount)
{
    return QColor(component(RedPart(colour), amount), component(GreenPart(colour), amount),
                  component(BluePart(colour), amount));
}

// A line from (x1, y1) towards (x2, y2) without the end point itself.
void lineTo(QPainter& painter, const QColor& colour, int x1, int y1, int x2, int y2)
{
    if (y1 == y2) {
        if (x2 != x1)
            painter.fillRect(
                QRect(QPoint(std::min(x1, x2 + 1), y1), QPoint(std::max(x1, x2 - 1), y1)), colour);
        return;
    }
    if (x1 == x2) {
        painter.fillRect(QRect(QPoint(x1, std::min(y1, y2 + 1)), QPoint(x1, std::max(y1, y2 - 1))),
                         colour);
        return;
    }
    // Bresenham for the slanted case.
    painter.save();
    painter.setPen(colour);
    const int dx = std::abs(x2 - x1);
    const int dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1;
    const int sy = y1 < y2 ? 1 : -1;
    int error = dx + dy;
    int x = x1;
    int y = y1;
    while (x != x2 || y != y2) {
        painter.drawPoint(x, y);
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
    painter.restore();
}

// The four sides around a control, in the order top, left, bottom, right.
void controlRing(Canvas canvas, const QRect& control, int gap, const QColor& topLeft,
                 const QColor& bottomRight)
{
    const int l = control.left();
    const int t = control.top();
    const int w = control.width();
    const int h = control.height();
    const int g = gap + 1;
    lineTo(canvas.painter, topLeft, l - g, t - g, l + w + g, t - g);
    lineTo(canvas.painter, topLeft, l - g, t - g, l - g, t + h + g);
    lineTo(canvas.painter, bottomRight, l - g, t + h + gap, l + w + g, t + h + gap);
    lineTo(canvas.painter, bottomRight, l + w + gap, t - g, l + w + gap, t + h + g);
}

} // namespace

QColor LighterColor(const QColor& colour, int amount)
{
    return shifted(colour, amount);
}

QColor DarkerColor(const QColor& colour, int amount)
{
    return shifted(colour, -amount);
}

Canvas CanvasOf(QPainter& painter, const QWidget& form)
{
    return Canvas{painter, form.size(), form.palette().color(QPalette::Window)};
}

void DrawClientBevel(Canvas canvas, bool raised, int inset, const QColor& light, const QColor& dark)
{
    const int w = canvas.client.width();
    const int h = canvas.client.height();
    const int i = inset;
    const QColor& first = raised ? light : dark;
    const QColor& second = raised ? dark : light;
    lineTo(canvas.painter, first, i, i, w - i, i);
    lineTo(canvas.painter, first, i, i, i, h - i);
    lineTo(canvas.painter, second, i, h - i - 1, w - i, h - i - 1);
    lineTo(canvas.painter, second, w - i - 1, i, w - i - 1, h - i);
}

void DrawClientBevelShaded(Canvas canvas, bool raised, int inset, int amount)
{
    DrawClientBevel(canvas, raised, inset, LighterColor(canvas.colour, amount),
                    DarkerColor(canvas.colour, amount));
}

void DrawControlFrame(Canvas canvas, const QRect& control, const QColor& colour, int gap)
{
    controlRing(canvas, control, gap, colour, colour);
}

void DrawControlBevel(Canvas canvas, const QRect& control, bool raised, int gap,
                      const QColor& light, const QColor& dark)
{
    controlRing(canvas, control, gap, raised ? light : dark, raised ? dark : light);
}

void DrawControlBevelShaded(Canvas canvas, const QRect& control, bool raised, int gap, int amount)
{
    DrawControlBevel(canvas, control, raised, gap, LighterColor(canvas.colour, amount),
                     DarkerColor(canvas.colour, amount));
}

void DrawDoubleLine(Canvas canvas, int x1, int y1, int x2, int y2, bool horizontal,
                    const QColor& light, const QColor& dark)
{
    lineTo(canvas.painter, dark, x1, y1, x2, y2);
    if (horizontal)
        lineTo(canvas.painter, light, x1, y1 + 1, x2, y2 + 1);
    else
        lineTo(canvas.painter, light, x1 + 1, y1, x2 + 1, y2);
}

void DrawEtchedLine(Canvas canvas, int x1, int y1, int x2, int y2, bool horizontal, int amount)
{
    DrawDoubleLine(canvas, x1, y1, x2, y2, horizontal, LighterColor(canvas.colour, amount),
                   DarkerColor(canvas.colour, amount));
}

void DrawEtchedGroove(Canvas canvas)
{
    DrawClientBevelShaded(canvas, false, 8, 15);
    DrawClientBevelShaded(canvas, true, 9, 15);
}

} // namespace toolkit
