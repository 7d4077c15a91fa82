#pragma once

#include <QFont>

namespace toolkit {

// The windows' fonts, chosen once: the designed faces where installed,
// otherwise the closest free faces that the install script brings.
QFont UiFont();                   // "Segoe UI", character height 12 px
QFont FixedFont();                // "Consolas", character height 13 px
QFont FixedPointFont(int points); // "Consolas" at a point size

} // namespace toolkit
