#include "SendWindow.h"

#include "toolkit/SystemClock.h"

namespace sender {

std::uint32_t SendWindow::tickNow() const
{
    return toolkit::TickNow();
}

} // namespace sender
