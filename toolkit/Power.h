#pragma once

namespace toolkit {

// Asks the system not to go to sleep while the program runs (the screen may
// still turn off). True when the request was made; false where the system
// offers no way to ask. The request lasts until AllowSleep.
bool KeepAwake();

// Withdraws the request of KeepAwake; true when one was withdrawn.
bool AllowSleep();

} // namespace toolkit
