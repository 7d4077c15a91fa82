#include "PaintedArea.h"

#include "Fonts.h"
#include "WindowPlacement.h"

#include <QIcon>
#include <QLayout>
#include <QMainWindow>
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

PaintedArea* SetUpMainWindow(QMainWindow& window, const QString& title, const QIcon& icon,
                             QSize client)
{
    window.setWindowFlags(kFixedWindowFlags | Qt::Window);
    window.setWindowTitle(title);
    window.setWindowIcon(icon);
    window.setFont(UiFont());
    auto* area = new PaintedArea(&window);
    area->setFixedSize(client);
    window.setCentralWidget(area);
    window.layout()->setSizeConstraint(QLayout::SetFixedSize);
    return area;
}

} // namespace toolkit
