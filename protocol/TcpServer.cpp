#include "TcpServer.h"

#include "Connection.h"

#include <cerrno>

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace protocol {
namespace {

constexpr int kRetryAfterAcceptErrorMs = 100;

int openListener(int family, std::uint16_t port)
{
    const int socket = ::socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return -1;
    const int on = 1;
    // Lets a restarted receiver take its port while old connections linger
    // in TIME_WAIT; a port that somebody listens on stays refused.
    ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);

    int bound = -1;
    if (family == AF_INET) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_ANY);
        address.sin_port = htons(port);
        bound = ::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } else {
        ::setsockopt(socket, IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof on);
        sockaddr_in6 address{};
        address.sin6_family = AF_INET6;
        address.sin6_addr = in6addr_any;
        address.sin6_port = htons(port);
        bound = ::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    }
    if (bound != 0 || ::listen(socket, SOMAXCONN) != 0) {
        const int error = errno;
        ::close(socket);
        errno = error;
        return -1;
    }
    return socket;
}

std::uint16_t boundPort(int socket)
{
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 0;
    return ntohs(address.sin_port);
}

} // namespace

TcpServer::TcpServer(Handler handler)
    : m_handler(std::move(handler))
{}

TcpServer::~TcpServer()
{
    stop();
}

bool TcpServer::start(std::uint16_t port)
{
    if (isListening() || m_wakeRead >= 0)
        return false;

    const int v4 = openListener(AF_INET, port);
    if (v4 < 0)
        return false;
    m_listenSockets.push_back(v4);
    m_port = port != 0 ? port : boundPort(v4);

    const int v6 = openListener(AF_INET6, m_port);
    if (v6 >= 0) {
        m_listenSockets.push_back(v6);
    } else if (errno == EADDRINUSE && port != 0) {
        // Somebody else serves this port over IPv6: the port is not ours.
        closeListeners();
        return false;
    }
    // Without IPv6 on this system, IPv4 alone is served.

    int wake[2];
    if (::pipe2(wake, O_CLOEXEC) != 0) {
        closeListeners();
        return false;
    }
    m_wakeRead = wake[0];
    m_wakeWrite = wake[1];

    for (const int socket : m_listenSockets)
        m_listeners.emplace_back(&TcpServer::listen, this, socket);
    return true;
}

void TcpServer::listen(int listenSocket)
{
    for (;;) {
        pollfd waiting[2] = {{listenSocket, POLLIN, 0}, {m_wakeRead, POLLIN, 0}};
        if (::poll(waiting, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (waiting[1].revents != 0)
            return;
        const int socket = ::accept4(listenSocket, nullptr, nullptr, SOCK_CLOEXEC);
        if (socket < 0) {
            if (errno == EINTR || errno == ECONNABORTED || errno == EAGAIN)
                continue;
            // Out of descriptors or memory: wait a little, unless told to stop.
            pollfd wakeOnly{m_wakeRead, POLLIN, 0};
            if (::poll(&wakeOnly, 1, kRetryAfterAcceptErrorMs) > 0)
                return;
            continue;
        }

        const std::lock_guard lock(m_sessionsMutex);
        reapFinishedLocked();
        Session& session = m_sessions.emplace_back();
        session.connection = std::make_unique<Connection>(socket);
        // The thread cannot mark itself finished before this assignment: it
        // needs the lock that is held here.
        session.thread = std::thread(&TcpServer::serve, this, std::ref(session));
    }
}

void TcpServer::serve(Session& session)
{
    try {
        m_handler(*session.connection);
    } catch (...) {
        // A failed connection ends its thread quietly.
    }
    const std::lock_guard lock(m_sessionsMutex);
    session.connection.reset();
    session.finished = true;
}

void TcpServer::reapFinishedLocked()
{
    for (auto it = m_sessions.begin(); it != m_sessions.end();) {
        if (it->finished) {
            it->thread.join();
            it = m_sessions.erase(it);
        } else {
            ++it;
        }
    }
}

void TcpServer::disconnectAll()
{
    const std::lock_guard lock(m_sessionsMutex);
    for (Session& session : m_sessions) {
        if (session.connection)
            session.connection->disconnect();
    }
}

void TcpServer::stop()
{
    if (m_wakeWrite >= 0) {
        const char byte = 0;
        while (::write(m_wakeWrite, &byte, 1) < 0 && errno == EINTR) {
        }
    }
    for (std::thread& listener : m_listeners)
        listener.join();
    m_listeners.clear();
    closeListeners();

    disconnectAll();
    // No listener is left to add sessions, so the list only shrinks by our
    // own hand; the threads need the lock to finish, so join without it.
    std::vector<std::thread*> threads;
    {
        const std::lock_guard lock(m_sessionsMutex);
        for (Session& session : m_sessions)
            threads.push_back(&session.thread);
    }
    for (std::thread* thread : threads) {
        if (thread->joinable())
            thread->join();
    }
    {
        const std::lock_guard lock(m_sessionsMutex);
        m_sessions.clear();
    }

    for (int* end : {&m_wakeRead, &m_wakeWrite}) {
        if (*end >= 0)
            ::close(*end);
        *end = -1;
    }
}

void TcpServer::closeListeners()
{
    for (const int socket : m_listenSockets)
        ::close(socket);
    m_listenSockets.clear();
}

std::size_t TcpServer::activeConnections() const
{
    const std::lock_guard lock(m_sessionsMutex);
    std::size_t active = 0;
    for (const Session& session : m_sessions)
        active += session.finished ? 0 : 1;
    return active;
}

} // namespace protocol
