#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

namespace protocol {

// Every failure of a read or a write on a connection: the peer closed it,
// a wait ran out, a line grew too long, the system refused.
class ConnectionError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

inline constexpr std::chrono::milliseconds kReadTimeout{10000};
inline constexpr std::chrono::milliseconds kConnectTimeout{10000};
// Bytes before the line feed, a carriage return included.
inline constexpr std::size_t kMaxLineLength = 16384;
// The largest piece taken from the socket by one read, and the largest
// data block.
inline constexpr std::size_t kPieceSize = 32768;

// One TCP connection with the reads and writes of the transfer dialogue.
// Every wait for incoming bytes is bounded by the read time-out: a line that
// does not complete in time reads as empty; a byte, number or block that
// does not arrive fails. Once the peer has closed and the bytes it sent are
// used up, the next read fails at once. Writes that make no progress for
// the same time fail too.
//
// One thread uses a connection; disconnect() alone may be called from
// another thread, to wake that one.
class Connection
{
public:
    // Takes ownership of a connected socket.
    explicit Connection(int socketDescriptor);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Connects over IPv4 within the time-out; throws ConnectionError.
    static std::unique_ptr<Connection>
    connectTo(const QString& host, std::uint16_t port,
              std::chrono::milliseconds timeout = kConnectTimeout);

    void setReadTimeout(std::chrono::milliseconds timeout);

    // Dotted decimal for IPv4 callers, IPv4-mapped IPv6 included.
    QString peerAddress() const { return m_peerAddress; }

    // The bytes, then CR LF.
    void writeLine(QByteArrayView line);
    void writeByte(std::uint8_t value);
    void writeInt32(std::int32_t value);
    void writeInt64(std::int64_t value);
    // The 32-bit big-endian length, then the bytes, handed to the system at once.
    void writeBlock(const char* data, std::int32_t length);

    // The bytes before the next LF, one CR in front of it dropped; empty when
    // no whole line arrives in time (the part that came stays for later reads).
    QByteArray readLine();
    std::uint8_t readByte();
    std::int32_t readInt32();
    std::int64_t readInt64();
    void readExact(char* data, std::size_t length);

    // Shuts the socket down both ways: the owner's current or next read or
    // write fails. Safe from any thread; the descriptor stays open until the
    // object is destroyed.
    void disconnect();

private:
    enum class Wait
    {
        Data,
        TimedOut
    };
    Wait fillBuffer();
    void sendAll(const char* data, std::size_t length);
    void applyTimeouts();

    const int m_socket;
    QString m_peerAddress;
    std::chrono::milliseconds m_readTimeout = kReadTimeout;
    std::atomic<bool> m_disconnected = false;
    // Bytes received but not yet read: [m_begin, m_end) of m_buffer.
    std::vector<char> m_buffer;
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
};

} // namespace protocol
