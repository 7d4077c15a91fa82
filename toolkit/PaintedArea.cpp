#include "PaintedArea.h"

#include <QPainter>

namespace toolkit {

PaintedArea::PaintedArea(QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
}

void PaintedArea::paintEvent(QPaintEvent* /*event*/)
{
    if (!m_painter)
        return;
    QPainter painter(this);
    m_painter(painter);
}

} // namespace toolkit
