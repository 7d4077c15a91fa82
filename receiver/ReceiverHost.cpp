#include "ReceiverHost.h"

#include "protocol/Connection.h"

namespace receiver {

std::chrono::milliseconds ReceiverHost::readTimeout() const
{
    return protocol::kReadTimeout;
}

} // namespace receiver
