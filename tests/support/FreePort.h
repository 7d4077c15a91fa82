#pragma once

#include <cstdint>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testing_support {

// A loopback port that was free a moment ago, for a program that takes its
// port on the command line.
inline std::uint16_t FreeLoopbackPort()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(s);
    return ntohs(address.sin_port);
}

} // namespace testing_support
