#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace protocol {

class Connection;

// Listens on every IPv4 address and, where the system has IPv6, on every
// IPv6 address, one listener thread per address. Each accepted connection
// runs the handler once on a thread of its own; the connection is closed
// when the handler returns or throws. The list of open connections is kept
// under the server's own lock so that they can all be cut at once.
class TcpServer
{
public:
    using Handler = std::function<void(Connection&)>;

    explicit TcpServer(Handler handler);
    // Stops the server: no thread outlives it.
    ~TcpServer();
    TcpServer(const TcpServer&) = delete;
    TcpServer& operator=(const TcpServer&) = delete;

    // False when the port cannot be used. Port 0 takes a free port, the
    // same for both address families. A server starts at most once.
    bool start(std::uint16_t port);
    bool isListening() const { return !m_listeners.empty(); }
    std::uint16_t port() const { return m_port; }

    // Shuts down every open connection; their handlers' reads fail.
    void disconnectAll();
    // Stops listening, cuts every connection and waits, without a time
    // limit, until every connection thread has ended.
    void stop();

    // Connections whose handler is still running.
    std::size_t activeConnections() const;

private:
    struct Session
    {
        std::unique_ptr<Connection> connection;
        std::thread thread;
        bool finished = false;
    };

    void listen(int listenSocket);
    void serve(Session& session);
    void reapFinishedLocked();
    void closeListeners();

    Handler m_handler;
    std::uint16_t m_port = 0;
    std::vector<int> m_listenSockets;
    std::vector<std::thread> m_listeners;
    int m_wakeRead = -1;
    int m_wakeWrite = -1;

    mutable std::mutex m_sessionsMutex;
    std::list<Session> m_sessions;
};

} // namespace protocol
