#pragma once

#include <QWidget>

#include <functional>

class QIcon;
class QMainWindow;
class QPainter;

namespace toolkit {

// A window's client area whose background the window paints itself.
class PaintedArea : public QWidget
{
    Q_OBJECT

public:
    using Painter = std::function<void(QPainter&)>;

    explicit PaintedArea(QWidget* parent = nullptr);
    void setPainter(Painter painter) { m_painter = std::move(painter); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Painter m_painter;
};

// Makes Window a fixed-size main window whose client area, below its menu,
// is Client pixels: title, icon, the windows' font. Returns the area.
PaintedArea* SetUpMainWindow(QMainWindow& window, const QString& title, const QIcon& icon,
                             QSize client);

} // namespace toolkit
