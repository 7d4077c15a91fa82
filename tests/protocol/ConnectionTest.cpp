#include "protocol/Connection.h"
#include "protocol/Fields.h"

#include <QByteArray>

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <thread>

#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using protocol::Connection;
using protocol::ConnectionError;

namespace {

// A connection on one end of a socket pair; the test plays the peer on the
// other end with raw bytes.
class ConnectionTest : public testing::Test
{
protected:
    void SetUp() override
    {
        int ends[2];
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
        m_connection = std::make_unique<Connection>(ends[0]);
        m_peer = ends[1];
    }

    void TearDown() override { closePeer(); }

    void peerWrites(const QByteArray& bytes) const
    {
        ASSERT_EQ(::write(m_peer, bytes.constData(), static_cast<size_t>(bytes.size())),
                  bytes.size());
    }

    QByteArray peerReads(qsizetype length) const
    {
        QByteArray bytes(length, '\0');
        qsizetype got = 0;
        while (got < length) {
            const ssize_t n = ::read(m_peer, bytes.data() + got, static_cast<size_t>(length - got));
            if (n <= 0)
                break;
            got += n;
        }
        bytes.truncate(got);
        return bytes;
    }

    void closePeer()
    {
        if (m_peer >= 0)
            ::close(m_peer);
        m_peer = -1;
    }

    std::unique_ptr<Connection> m_connection;
    int m_peer = -1;
};

TEST_F(ConnectionTest, WritesTheFieldsAsTheirBytes)
{
    protocol::writeTextLine(*m_connection, protocol::kVersionText);
    EXPECT_EQ(peerReads(18).toHex(' '), "30 30 33 34 30 30 32 45 30 30 33 35 30 30 33 30 0d 0a");
    protocol::writeTextLine(*m_connection, protocol::kCompletionText);
    EXPECT_EQ(peerReads(14).toHex(' '), "30 30 34 46 30 30 34 42 30 30 32 31 0d 0a");
    protocol::writeTextLine(*m_connection, u""_s);
    EXPECT_EQ(peerReads(2).toHex(' '), "0d 0a");
    m_connection->writeInt64(5000);
    EXPECT_EQ(peerReads(8).toHex(' '), "00 00 00 00 00 00 13 88");
    m_connection->writeInt32(32768);
    EXPECT_EQ(peerReads(4).toHex(' '), "00 00 80 00");
    m_connection->writeInt64(-2);
    EXPECT_EQ(peerReads(8).toHex(' '), "ff ff ff ff ff ff ff fe");
    m_connection->writeByte(0x01);
    EXPECT_EQ(peerReads(1).toHex(' '), "01");
    m_connection->writeBlock("abc", 3);
    EXPECT_EQ(peerReads(7).toHex(' '), "00 00 00 03 61 62 63");
}

TEST_F(ConnectionTest, SendsAnnouncementInOrder)
{
    protocol::sendAnnouncement(*m_connection, u"pw"_s, u"a.txt"_s, 3);
    const QByteArray expected = "0034002E00350030\r\n"
                                "00700077\r\n"
                                "0061002E007400780074\r\n" +
                                QByteArray::fromHex("0000000000000003");
    EXPECT_EQ(peerReads(expected.size()), expected);
}

TEST_F(ConnectionTest, ReadsLinesWithOrWithoutCarriageReturn)
{
    peerWrites("0034002E00350030\r\n"
               "004F004B0021\n"
               "006f006b\r\n"
               "\r\n"
               "0061\r\r\n");
    EXPECT_EQ(protocol::readTextLine(*m_connection), u"4.50"_s);
    EXPECT_EQ(protocol::readTextLine(*m_connection), u"OK!"_s);
    EXPECT_EQ(protocol::readTextLine(*m_connection), u"ok"_s);
    EXPECT_EQ(protocol::readTextLine(*m_connection), u""_s);
    EXPECT_EQ(m_connection->readLine(), QByteArray("0061\r")); // only one CR is dropped
}

TEST_F(ConnectionTest, ReadsNumbersAndBlocksAcrossPieces)
{
    QByteArray bytes = QByteArray::fromHex("01"
                                           "00008000"
                                           "0000000000001388");
    const QByteArray block(40000, 'z');
    bytes += block;
    std::thread writer([&] { peerWrites(bytes); });
    EXPECT_EQ(m_connection->readByte(), 1);
    EXPECT_EQ(m_connection->readInt32(), 32768);
    EXPECT_EQ(m_connection->readInt64(), 5000);
    QByteArray got(block.size(), '\0');
    m_connection->readExact(got.data(), static_cast<std::size_t>(got.size()));
    writer.join();
    EXPECT_EQ(got, block);
}

TEST_F(ConnectionTest, LineLengthLimitCountsEveryByteBeforeTheLineFeed)
{
    // 4095 code units fit; 4096 make 16384 digits plus CR, one too many.
    const QString fits(4095, u'x');
    const QString tooLong(4096, u'x');
    std::thread writer([&] {
        peerWrites(protocol::EncodeTextLine(fits) + "\r\n");
        peerWrites(protocol::EncodeTextLine(tooLong) + "\r\n");
    });
    EXPECT_EQ(protocol::readTextLine(*m_connection), fits);
    EXPECT_THROW(m_connection->readLine(), ConnectionError);
    writer.join();
}

TEST_F(ConnectionTest, LongLineWithoutLineFeedFailsBeforeTheTimeOut)
{
    m_connection->setReadTimeout(60s);
    peerWrites(QByteArray(16385, '0'));
    EXPECT_THROW(m_connection->readLine(), ConnectionError);
}

TEST_F(ConnectionTest, LineThatDoesNotArriveInTimeReadsEmpty)
{
    m_connection->setReadTimeout(100ms);
    EXPECT_EQ(m_connection->readLine(), QByteArray());
    peerWrites("0041");
    EXPECT_EQ(m_connection->readLine(), QByteArray()); // incomplete, kept for later
    peerWrites("0042\r\n");
    EXPECT_EQ(protocol::readTextLine(*m_connection), u"AB"_s);
}

TEST_F(ConnectionTest, AnythingElseThatDoesNotArriveInTimeFails)
{
    m_connection->setReadTimeout(100ms);
    EXPECT_THROW(m_connection->readByte(), ConnectionError);
    peerWrites(QByteArray("\x00\x00\x01", 3));
    EXPECT_THROW(m_connection->readInt64(), ConnectionError);
    char block[32768];
    peerWrites(QByteArray(5000, 'a'));
    EXPECT_THROW(m_connection->readExact(block, sizeof block), ConnectionError);
}

TEST_F(ConnectionTest, TimeOutBoundsEachWaitNotTheWholeField)
{
    m_connection->setReadTimeout(300ms);
    std::thread writer([&] {
        for (char c : QByteArray("12345678")) {
            peerWrites(QByteArray(1, c));
            std::this_thread::sleep_for(100ms); // a slow, steady peer
        }
    });
    char bytes[8];
    EXPECT_NO_THROW(m_connection->readExact(bytes, sizeof bytes));
    writer.join();
    EXPECT_EQ(QByteArray(bytes, 8), "12345678");
}

TEST_F(ConnectionTest, PeerThatClosedFailsTheNextReadAtOnce)
{
    m_connection->setReadTimeout(60s);
    peerWrites(QByteArray("\x00\x07", 2));
    closePeer();
    EXPECT_THROW(m_connection->readInt32(), ConnectionError);
    EXPECT_THROW(m_connection->readLine(), ConnectionError);
}

TEST_F(ConnectionTest, BytesThatArrivedBeforeTheCloseAreStillRead)
{
    peerWrites("004F004B0021\r\n");
    closePeer();
    EXPECT_EQ(protocol::readTextLine(*m_connection), u"OK!"_s);
    EXPECT_THROW(m_connection->readByte(), ConnectionError);
}

TEST_F(ConnectionTest, DisconnectFromAnotherThreadWakesABlockedRead)
{
    m_connection->setReadTimeout(60s);
    std::thread reader([&] { EXPECT_THROW(m_connection->readByte(), ConnectionError); });
    // Whether the reader is already waiting or not, its read must fail.
    m_connection->disconnect();
    reader.join();
    EXPECT_THROW(m_connection->writeByte(0), ConnectionError);
}

TEST(ConnectTo, RefusedOrUnknownHostFails)
{
    EXPECT_THROW(Connection::connectTo(u"127.0.0.1"_s, 1), ConnectionError);
    EXPECT_THROW(Connection::connectTo(u""_s, 4520), ConnectionError);
}

} // namespace
