#include "WindowPlacement.h"

#include <QScreen>
#include <QWidget>

namespace toolkit {

void CentreOnScreen(QWidget& window)
{
    const QScreen* screen = window.screen();
    if (screen == nullptr)
        return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

void BringForward(QWidget& window)
{
    if (!window.isVisible())
        window.show();
    if (window.isMinimized())
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.raise();
    window.activateWindow();
}

} // namespace toolkit
