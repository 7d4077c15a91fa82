#include "protocol/TcpServer.h"
#include "protocol/Connection.h"
#include "protocol/Fields.h"

#include "support/WaitFor.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using protocol::Connection;
using protocol::ConnectionError;
using protocol::TcpServer;

namespace {

bool systemHasIpv6Loopback()
{
    const int s = ::socket(AF_INET6, SOCK_STREAM, 0);
    if (s < 0)
        return false;
    sockaddr_in6 address{};
    address.sin6_family = AF_INET6;
    address.sin6_addr = in6addr_loopback;
    const bool ok = ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(s);
    return ok;
}

// Answers every caller with its own address as a text line.
void tellPeerAddress(Connection& connection)
{
    protocol::writeTextLine(connection, connection.peerAddress());
}

TEST(TcpServer, ServesIpv4AndIpv6OnOnePort)
{
    TcpServer server(tellPeerAddress);
    ASSERT_TRUE(server.start(0));
    ASSERT_NE(server.port(), 0);

    auto v4 = Connection::connectTo(u"127.0.0.1"_s, server.port());
    EXPECT_EQ(protocol::readTextLine(*v4), u"127.0.0.1"_s);

    if (!systemHasIpv6Loopback())
        GTEST_SKIP() << "no IPv6 on this system";
    // The client connects over IPv4 only; reach the IPv6 listener by hand.
    const int s = ::socket(AF_INET6, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in6 address{};
    address.sin6_family = AF_INET6;
    address.sin6_addr = in6addr_loopback;
    address.sin6_port = htons(server.port());
    ASSERT_EQ(::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    Connection v6(s);
    EXPECT_EQ(protocol::readTextLine(v6), u"::1"_s);
}

TEST(TcpServer, PortInUseCannotBeStarted)
{
    TcpServer first(tellPeerAddress);
    ASSERT_TRUE(first.start(0));
    TcpServer second(tellPeerAddress);
    EXPECT_FALSE(second.start(first.port()));
    EXPECT_FALSE(second.isListening());
}

TEST(TcpServer, EveryConnectionRunsOnItsOwnThread)
{
    // Each handler waits until all of them run: only one thread per
    // connection lets them meet.
    constexpr int kCallers = 20;
    std::mutex mutex;
    std::condition_variable changed;
    int arrived = 0;
    TcpServer server([&](Connection& connection) {
        std::unique_lock lock(mutex);
        ++arrived;
        changed.notify_all();
        const bool met =
            testing_support::waitFor(changed, lock, [&] { return arrived == kCallers; });
        lock.unlock();
        connection.writeByte(met ? 1 : 0);
    });
    ASSERT_TRUE(server.start(0));
    std::vector<std::unique_ptr<Connection>> callers;
    for (int i = 0; i < kCallers; ++i)
        callers.push_back(Connection::connectTo(u"127.0.0.1"_s, server.port()));
    for (auto& caller : callers)
        EXPECT_EQ(caller->readByte(), 1);
}

TEST(TcpServer, AThrowingHandlerClosesOnlyItsConnection)
{
    std::atomic<int> calls = 0;
    TcpServer server([&](Connection& connection) {
        if (calls++ == 0)
            throw std::runtime_error("first caller fails");
        connection.writeByte(7);
    });
    ASSERT_TRUE(server.start(0));
    auto first = Connection::connectTo(u"127.0.0.1"_s, server.port());
    EXPECT_THROW(first->readByte(), ConnectionError);
    auto second = Connection::connectTo(u"127.0.0.1"_s, server.port());
    EXPECT_EQ(second->readByte(), 7);
}

TEST(TcpServer, DisconnectAllAndStopEndEveryBlockedHandler)
{
    for (int round = 0; round < 5; ++round) {
        std::mutex mutex;
        std::condition_variable changed;
        int waiting = 0;
        std::atomic<int> failedReads = 0;
        TcpServer server([&](Connection& connection) {
            connection.setReadTimeout(60s);
            {
                const std::lock_guard lock(mutex);
                ++waiting;
            }
            changed.notify_all();
            try {
                connection.readByte(); // the callers never send
            } catch (const ConnectionError&) {
                ++failedReads;
                throw;
            }
        });
        ASSERT_TRUE(server.start(0));
        std::vector<std::unique_ptr<Connection>> callers;
        for (int i = 0; i < 10; ++i)
            callers.push_back(Connection::connectTo(u"127.0.0.1"_s, server.port()));
        {
            std::unique_lock lock(mutex);
            ASSERT_TRUE(testing_support::waitFor(changed, lock, [&] { return waiting == 10; }));
        }
        if (round % 2 == 0)
            server.disconnectAll(); // the window's close, then its destruction
        server.stop();
        EXPECT_EQ(server.activeConnections(), 0u);
        EXPECT_EQ(failedReads, 10);
        EXPECT_FALSE(server.isListening());
    }
}

TEST(TcpServer, FinishedConnectionsAreReaped)
{
    TcpServer server([](Connection& connection) { connection.writeByte(1); });
    ASSERT_TRUE(server.start(0));
    for (int i = 0; i < 200; ++i) {
        auto caller = Connection::connectTo(u"127.0.0.1"_s, server.port());
        EXPECT_EQ(caller->readByte(), 1);
    }
    server.stop();
    EXPECT_EQ(server.activeConnections(), 0u);
}

} // namespace
