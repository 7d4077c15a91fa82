#pragma once

namespace toolkit {

// Lets the application handle every window event that is waiting.
void PumpMessages();
// The application-wide busy cursor, and back to the normal one.
void BusyCursor();
void NormalCursor();

} // namespace toolkit
