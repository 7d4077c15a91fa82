#pragma once

#include <Qt>

class QWidget;

namespace toolkit {

// Fixed single border with the system menu and minimise only.
inline constexpr Qt::WindowFlags kFixedWindowFlags =
    Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

// Places the window at the centre of its screen's available area.
void CentreOnScreen(QWidget& window);

// Shows a hidden window, restores a minimised one and brings it to the front.
void BringForward(QWidget& window);

} // namespace toolkit
