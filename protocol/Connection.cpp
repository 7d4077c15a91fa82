#include "Connection.h"

#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>

namespace protocol {
namespace {

// Room for the longest line plus one whole piece behind it.
constexpr std::size_t kBufferSize = 2 * kPieceSize;

[[noreturn]] void fail(const char* what)
{
    throw ConnectionError(what);
}

QString addressText(const sockaddr_storage& address)
{
    char text[INET6_ADDRSTRLEN] = {};
    if (address.ss_family == AF_INET) {
        const auto* v4 = reinterpret_cast<const sockaddr_in*>(&address);
        ::inet_ntop(AF_INET, &v4->sin_addr, text, sizeof text);
    } else if (address.ss_family == AF_INET6) {
        const auto* v6 = reinterpret_cast<const sockaddr_in6*>(&address);
        if (IN6_IS_ADDR_V4MAPPED(&v6->sin6_addr))
            ::inet_ntop(AF_INET, &v6->sin6_addr.s6_addr[12], text, sizeof text);
        else
            ::inet_ntop(AF_INET6, &v6->sin6_addr, text, sizeof text);
    }
    return QString::fromLatin1(text);
}

QString peerAddressOf(int socket)
{
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getpeername(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return {};
    return addressText(address);
}

timeval toTimeval(std::chrono::milliseconds timeout)
{
    const auto ms = std::max<std::int64_t>(timeout.count(), 1);
    return timeval{static_cast<time_t>(ms / 1000), static_cast<suseconds_t>((ms % 1000) * 1000)};
}

bool isTimeout(int error)
{
    return error == EAGAIN || error == EWOULDBLOCK;
}

// Non-blocking connect bounded by the time-out; the socket comes back blocking.
bool connectWithin(int socket, const sockaddr* address, socklen_t length,
                   std::chrono::milliseconds timeout)
{
    const int flags = ::fcntl(socket, F_GETFL);
    if (flags < 0 || ::fcntl(socket, F_SETFL, flags | O_NONBLOCK) != 0)
        return false;
    if (::connect(socket, address, length) != 0) {
        if (errno != EINPROGRESS)
            return false;
        pollfd waiting{socket, POLLOUT, 0};
        int ready = 0;
        do {
            ready = ::poll(&waiting, 1, static_cast<int>(timeout.count()));
        } while (ready < 0 && errno == EINTR);
        if (ready <= 0)
            return false;
        int error = 0;
        socklen_t errorLength = sizeof error;
        if (::getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &errorLength) != 0 || error != 0)
            return false;
    }
    return ::fcntl(socket, F_SETFL, flags) == 0;
}

} // namespace

Connection::Connection(int socketDescriptor)
    : m_socket(socketDescriptor)
    , m_peerAddress(peerAddressOf(socketDescriptor))
    , m_buffer(kBufferSize)
{
    // Small fields of the dialogue go out at once instead of waiting for
    // the peer's acknowledgement of the previous one.
    const int on = 1;
    ::setsockopt(m_socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    applyTimeouts();
}

Connection::~Connection()
{
    ::close(m_socket);
}

std::unique_ptr<Connection> Connection::connectTo(const QString& host, std::uint16_t port,
                                                  std::chrono::milliseconds timeout)
{
    if (host.isEmpty())
        fail("no host");
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const QByteArray hostName = host.toUtf8();
    const QByteArray service = QByteArray::number(port);
    if (::getaddrinfo(hostName.constData(), service.constData(), &hints, &found) != 0)
        fail("host not found");
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> addresses(found, &::freeaddrinfo);

    for (const addrinfo* at = addresses.get(); at != nullptr; at = at->ai_next) {
        const int socket = ::socket(at->ai_family, at->ai_socktype | SOCK_CLOEXEC, at->ai_protocol);
        if (socket < 0)
            continue;
        if (connectWithin(socket, at->ai_addr, at->ai_addrlen, timeout))
            return std::make_unique<Connection>(socket);
        ::close(socket);
    }
    fail("connect failed");
}

void Connection::setReadTimeout(std::chrono::milliseconds timeout)
{
    m_readTimeout = timeout;
    applyTimeouts();
}

void Connection::applyTimeouts()
{
    const timeval limit = toTimeval(m_readTimeout);
    ::setsockopt(m_socket, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    ::setsockopt(m_socket, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
}

void Connection::disconnect()
{
    m_disconnected = true;
    ::shutdown(m_socket, SHUT_RDWR);
}

void Connection::sendAll(const char* data, std::size_t length)
{
    if (m_disconnected)
        fail("disconnected");
    while (length > 0) {
        const ssize_t sent = ::send(m_socket, data, length, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            fail(sent < 0 && isTimeout(errno) ? "write timed out" : "write failed");
        data += sent;
        length -= static_cast<std::size_t>(sent);
    }
}

void Connection::writeLine(QByteArrayView line)
{
    QByteArray bytes;
    bytes.reserve(line.size() + 2);
    bytes.append(line);
    bytes.append("\r\n", 2);
    sendAll(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void Connection::writeByte(std::uint8_t value)
{
    const char byte = static_cast<char>(value);
    sendAll(&byte, 1);
}

void Connection::writeInt32(std::int32_t value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    sendAll(bytes, sizeof bytes);
}

void Connection::writeInt64(std::int64_t value)
{
    char bytes[8];
    qToBigEndian(value, bytes);
    sendAll(bytes, sizeof bytes);
}

void Connection::writeBlock(const char* data, std::int32_t length)
{
    if (m_disconnected)
        fail("disconnected");
    char header[4];
    qToBigEndian(length, header);
    iovec parts[2] = {{header, sizeof header},
                      {const_cast<char*>(data), static_cast<std::size_t>(std::max(length, 0))}};
    iovec* pending = parts;
    int count = 2;
    while (count > 0) {
        msghdr message{};
        message.msg_iov = pending;
        message.msg_iovlen = static_cast<std::size_t>(count);
        ssize_t sent = ::sendmsg(m_socket, &message, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            fail(sent < 0 && isTimeout(errno) ? "write timed out" : "write failed");
        while (count > 0 && static_cast<std::size_t>(sent) >= pending->iov_len) {
            sent -= static_cast<ssize_t>(pending->iov_len);
            ++pending;
            --count;
        }
        if (count > 0) {
            pending->iov_base = static_cast<char*>(pending->iov_base) + sent;
            pending->iov_len -= static_cast<std::size_t>(sent);
        }
    }
}

Connection::Wait Connection::fillBuffer()
{
    if (m_disconnected)
        fail("disconnected");
    if (m_begin == m_end) {
        m_begin = m_end = 0;
    } else if (m_buffer.size() - m_end < kPieceSize) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_begin, m_end - m_begin);
        m_end -= m_begin;
        m_begin = 0;
    }
    const std::size_t room = std::min(kPieceSize, m_buffer.size() - m_end);
    for (;;) {
        const ssize_t got = ::recv(m_socket, m_buffer.data() + m_end, room, 0);
        if (got > 0) {
            m_end += static_cast<std::size_t>(got);
            return Wait::Data;
        }
        if (got == 0)
            fail("closed by peer");
        if (errno == EINTR)
            continue;
        if (isTimeout(errno))
            return Wait::TimedOut;
        fail("read failed");
    }
}

QByteArray Connection::readLine()
{
    std::size_t scanned = m_begin;
    for (;;) {
        const auto* start = m_buffer.data() + scanned;
        const auto* feed = static_cast<const char*>(std::memchr(start, '\n', m_end - scanned));
        if (feed != nullptr) {
            const std::size_t lineEnd = static_cast<std::size_t>(feed - m_buffer.data());
            if (lineEnd - m_begin > kMaxLineLength)
                fail("line too long");
            std::size_t textEnd = lineEnd;
            if (textEnd > m_begin && m_buffer[textEnd - 1] == '\r')
                --textEnd;
            QByteArray line(m_buffer.data() + m_begin, static_cast<qsizetype>(textEnd - m_begin));
            m_begin = lineEnd + 1;
            return line;
        }
        if (m_end - m_begin > kMaxLineLength)
            fail("line too long");
        const std::size_t scannedLength = m_end - m_begin;
        if (fillBuffer() == Wait::TimedOut)
            return {};
        scanned = m_begin + scannedLength; // fillBuffer may have moved the bytes
    }
}

void Connection::readExact(char* data, std::size_t length)
{
    const std::size_t buffered = std::min(length, m_end - m_begin);
    std::memcpy(data, m_buffer.data() + m_begin, buffered);
    m_begin += buffered;
    data += buffered;
    length -= buffered;

    // Fixed-size fields never overshoot: each read asks for what is still
    // missing, straight into the caller's memory, so a data block is copied
    // once, from the socket to its buffer.
    while (length > 0) {
        if (m_disconnected)
            fail("disconnected");
        const ssize_t got = ::recv(m_socket, data, std::min(length, kPieceSize), 0);
        if (got > 0) {
            data += got;
            length -= static_cast<std::size_t>(got);
            continue;
        }
        if (got == 0)
            fail("closed by peer");
        if (errno == EINTR)
            continue;
        fail(isTimeout(errno) ? "read timed out" : "read failed");
    }
}

std::uint8_t Connection::readByte()
{
    char byte = 0;
    readExact(&byte, 1);
    return static_cast<std::uint8_t>(byte);
}

std::int32_t Connection::readInt32()
{
    char bytes[4];
    readExact(bytes, sizeof bytes);
    return qFromBigEndian<std::int32_t>(bytes);
}

std::int64_t Connection::readInt64()
{
    char bytes[8];
    readExact(bytes, sizeof bytes);
    return qFromBigEndian<std::int64_t>(bytes);
}

} // namespace protocol
