#include "RecordingHost.h"
#include "ScriptedSender.h"

#include "protocol/Connection.h"
#include "protocol/Fields.h"
#include "protocol/TcpServer.h"
#include "receiver/ConnectionHandler.h"
#include "support/ScopedEnvironment.h"
#include "support/WaitFor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <future>
#include <thread>

#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using protocol::ConnectionError;
using protocol::kContinueFile;
using protocol::kFileAbsent;
using protocol::kFileExists;
using protocol::kWriteFromStart;
using receiver::TransferRow;
using testing_support::deliver;
using testing_support::RecordingHost;
using testing_support::ScopedArguments;
using testing_support::ScriptedSender;

namespace {

const QString kPassword = u"sesam öppna"_s;

QByteArray patterned(qsizetype size, int seed = 0)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 131 + seed * 7 + i / 4099) & 0xFF);
    return bytes;
}

// A real server on a free loopback port running the handler against a
// recording host, with English texts.
class ConnectionHandlerTest : public testing::Test
{
protected:
    ConnectionHandlerTest()
        : m_arguments({u"/ENGLISH"_s})
        , m_host(QDir(m_destination.path()).absolutePath(), kPassword)
        , m_server([this](protocol::Connection& c) { receiver::tcpServerExecute(m_host, c); })
    {}

    void SetUp() override { ASSERT_TRUE(m_server.start(0)); }

    std::uint16_t port() const { return m_server.port(); }
    QString senderFolder() const { return m_destination.filePath(u"127.0.0.1"_s); }
    QString received(const QString& name) const { return senderFolder() + u'/' + name; }

    QByteArray contents(const QString& name) const
    {
        QFile file(received(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    void plant(const QString& name, const QByteArray& bytes) const
    {
        QDir().mkpath(senderFolder());
        QFile file(received(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    TransferRow finalRow(const QString& name, const QString& size, const QString& outcome) const
    {
        return TransferRow{u"127.0.0.1"_s, name, size, outcome, {}, {}};
    }

    ScopedArguments m_arguments;
    QTemporaryDir m_destination;
    RecordingHost m_host;
    protocol::TcpServer m_server;
};

TEST_F(ConnectionHandlerTest, ReceivesAFileIntoTheCallersFolder)
{
    const QByteArray content = patterned(100000);
    const auto delivery = deliver(port(), kPassword, u"report.pdf"_s, content);
    EXPECT_EQ(delivery.exists, kFileAbsent);
    EXPECT_EQ(delivery.completion, u"OK!"_s);
    ASSERT_TRUE(m_host.waitForBalloons(1));

    EXPECT_EQ(contents(u"report.pdf"_s), content);
    const auto events = m_host.events();
    ASSERT_EQ(events.size(), 2u); // added, then done: no progress within a second
    EXPECT_EQ(events[0].texts, (TransferRow{u"127.0.0.1"_s, u"report.pdf"_s, u"97.66 kB"_s, u"?"_s,
                                            u"?"_s, u"?"_s}));
    EXPECT_EQ(events[1].texts, finalRow(u"report.pdf"_s, u"97.66 kB"_s, u"Done!"_s));
    EXPECT_EQ(m_host.balloons(),
              (std::vector<std::pair<QString, QString>>{
                  {u"Information"_s, u"The file \"report.pdf\" is now transferred."_s}}));
}

TEST_F(ConnectionHandlerTest, SwedishTexts)
{
    const ScopedArguments swedish({u"/SWEDISH"_s});
    deliver(port(), kPassword, u"rapport.txt"_s, "hej");
    ASSERT_TRUE(m_host.waitForBalloons(1));
    EXPECT_EQ(m_host.rows()[0].progress, u"Klar!"_s);
    ASSERT_EQ(m_host.balloons().size(), 1u);
    EXPECT_EQ(m_host.balloons()[0].second, u"Filen \"rapport.txt\" är nu överförd."_s);
}

TEST_F(ConnectionHandlerTest, ZeroLengthFileIsCreatedAndCompletesAtOnce)
{
    const auto delivery = deliver(port(), kPassword, u"empty"_s, {});
    EXPECT_EQ(delivery.completion, u"OK!"_s);
    ASSERT_TRUE(m_host.waitForFinishedRows(1));
    EXPECT_TRUE(QFile::exists(received(u"empty"_s)));
    EXPECT_EQ(contents(u"empty"_s), QByteArray());
    EXPECT_EQ(m_host.rows()[0], finalRow(u"empty"_s, u"0 B"_s, u"Done!"_s));
}

// Every refusal closes the connection before the exists flag: no row, no
// folder, no file.
struct Refusal
{
    const char* why;
    QString version;
    QString hostPassword;
    bool hostHasFolder;
    QString password;
    QString name;
};

class RefusalTable : public ConnectionHandlerTest, public testing::WithParamInterface<Refusal>
{};

TEST_P(RefusalTable, ClosesWithoutARowOrAFile)
{
    const Refusal& r = GetParam();
    m_host.setPassword(r.hostPassword);
    if (!r.hostHasFolder)
        m_host.setDestinationFolder({});

    ScriptedSender sender(port());
    EXPECT_EQ(sender.readGreeting(), u"4.50"_s);
    // The receiver may close while the fields are still being written.
    EXPECT_THROW(
        {
            protocol::writeTextLine(sender.connection(), r.version);
            protocol::writeTextLine(sender.connection(), r.password);
            protocol::writeTextLine(sender.connection(), r.name);
            sender.connection().writeInt64(3);
            sender.connection().readByte();
        },
        ConnectionError);

    m_server.stop(); // every handler has ended
    EXPECT_TRUE(m_host.rows().empty());
    EXPECT_TRUE(QDir(m_destination.path()).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Checks, RefusalTable,
    testing::Values(Refusal{"other version", u"4.51"_s, kPassword, true, kPassword, u"a"_s},
                    Refusal{"trailing blank", u"4.50 "_s, kPassword, true, kPassword, u"a"_s},
                    Refusal{"empty version", u""_s, kPassword, true, kPassword, u"a"_s},
                    Refusal{"no password set", u"4.50"_s, u""_s, true, u""_s, u"a"_s},
                    Refusal{"no folder set", u"4.50"_s, kPassword, false, kPassword, u"a"_s},
                    Refusal{"wrong password", u"4.50"_s, kPassword, true, u"sesam"_s, u"a"_s},
                    Refusal{"password case", u"4.50"_s, u"abc"_s, true, u"ABC"_s, u"a"_s},
                    Refusal{"dot dot", u"4.50"_s, kPassword, true, kPassword, u"..x"_s},
                    Refusal{"parent", u"4.50"_s, kPassword, true, kPassword, u"a/../../b"_s},
                    Refusal{"colon", u"4.50"_s, kPassword, true, kPassword, u"c:x"_s},
                    Refusal{"backslash", u"4.50"_s, kPassword, true, kPassword, u"a\\b"_s}),
    [](const auto& info) {
        std::string name = info.param.why;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST_F(ConnectionHandlerTest, RemovedDestinationFolderRefusesEveryCaller)
{
    m_host.setDestinationFolder(m_destination.path() + u"/gone"_s);
    EXPECT_THROW(deliver(port(), kPassword, u"a"_s, "abc"), ConnectionError);
    m_server.stop();
    EXPECT_TRUE(m_host.rows().empty());
    EXPECT_TRUE(QDir(m_destination.path()).isEmpty());
}

TEST_F(ConnectionHandlerTest, ResumeContinuesAtTheExistingLength)
{
    const QByteArray content = patterned(150000, 1);
    plant(u"big.iso"_s, content.left(40000));
    const auto delivery = deliver(port(), kPassword, u"big.iso"_s, content, kContinueFile);
    EXPECT_EQ(delivery.exists, kFileExists);
    EXPECT_EQ(delivery.offset, 40000);
    EXPECT_EQ(delivery.completion, u"OK!"_s);
    ASSERT_TRUE(m_host.waitForFinishedRows(1));
    EXPECT_EQ(contents(u"big.iso"_s), content);
}

TEST_F(ConnectionHandlerTest, ResumeOfAFileAlreadyWholeOrLongerChangesNothing)
{
    const QByteArray whole = patterned(5000, 2);
    for (const QByteArray& existing : {whole, QByteArray(whole + "trailing bytes")}) {
        plant(u"done.bin"_s, existing);
        const auto delivery = deliver(port(), kPassword, u"done.bin"_s, whole, kContinueFile);
        EXPECT_EQ(delivery.offset, existing.size());
        EXPECT_EQ(delivery.completion, u"OK!"_s);
        EXPECT_EQ(contents(u"done.bin"_s), existing);
    }
    ASSERT_TRUE(m_host.waitForFinishedRows(2));
    EXPECT_EQ(m_host.rows()[1], finalRow(u"done.bin"_s, u"4.88 kB"_s, u"Done!"_s));
}

TEST_F(ConnectionHandlerTest, OverwriteOfALongerFileLeavesExactlyTheNewContent)
{
    plant(u"notes.txt"_s, QByteArray(100000, 'o'));
    const auto delivery = deliver(port(), kPassword, u"notes.txt"_s, "new", kWriteFromStart);
    EXPECT_EQ(delivery.exists, kFileExists);
    EXPECT_EQ(delivery.completion, u"OK!"_s);
    EXPECT_EQ(contents(u"notes.txt"_s), "new");
}

TEST_F(ConnectionHandlerTest, OverwriteBrokenOffThenResumedGivesTheNewFile)
{
    plant(u"movie.mkv"_s, QByteArray(200000, 'o'));
    const QByteArray content = patterned(120000, 3);
    {
        ScriptedSender sender(port());
        sender.readGreeting();
        EXPECT_EQ(sender.announce(kPassword, u"movie.mkv"_s, content.size()), kFileExists);
        sender.chooseWriteMode(kWriteFromStart);
        sender.sendData(content, 0, 50000);
    } // the sender goes away midway
    ASSERT_TRUE(m_host.waitForFinishedRows(1));
    EXPECT_EQ(m_host.rows()[0].progress, u"N/A"_s);
    EXPECT_EQ(contents(u"movie.mkv"_s), content.left(50000));

    const auto delivery = deliver(port(), kPassword, u"movie.mkv"_s, content, kContinueFile);
    EXPECT_EQ(delivery.offset, 50000);
    EXPECT_EQ(contents(u"movie.mkv"_s), content);
}

TEST_F(ConnectionHandlerTest, EmptyBlocksAreSkipped)
{
    ScriptedSender sender(port());
    sender.readGreeting();
    sender.announce(kPassword, u"gaps"_s, 6);
    sender.chooseWriteMode(kWriteFromStart);
    sender.connection().writeBlock(nullptr, 0);
    sender.connection().writeBlock("abc", 3);
    sender.connection().writeBlock(nullptr, 0);
    sender.connection().writeBlock("def", 3);
    EXPECT_EQ(sender.readCompletion(), u"OK!"_s);
    EXPECT_EQ(contents(u"gaps"_s), "abcdef");
}

TEST_F(ConnectionHandlerTest, BlockLengthsOutsideTheBufferCloseTheConnection)
{
    for (const std::int32_t length : {32769, -1, std::numeric_limits<std::int32_t>::min()}) {
        ScriptedSender sender(port());
        sender.readGreeting();
        sender.announce(kPassword, u"bad"_s + QString::number(length), 100000);
        sender.chooseWriteMode(kWriteFromStart);
        sender.connection().writeInt32(length);
        EXPECT_THROW(sender.readCompletion(), ConnectionError) << length;
    }
    ASSERT_TRUE(m_host.waitForFinishedRows(3));
    for (const auto& row : m_host.rows())
        EXPECT_EQ(row.progress, u"N/A"_s);
}

TEST_F(ConnectionHandlerTest, UnknownWriteModeOpensNoFile)
{
    {
        ScriptedSender sender(port());
        sender.readGreeting();
        sender.announce(kPassword, u"nothing"_s, 0);
        sender.chooseWriteMode(7);
        EXPECT_EQ(sender.readCompletion(), u"OK!"_s); // nothing was announced
    }
    ScriptedSender sender(port());
    sender.readGreeting();
    sender.announce(kPassword, u"something"_s, 3);
    sender.chooseWriteMode(7);
    sender.connection().writeBlock("abc", 3);
    EXPECT_THROW(sender.readCompletion(), ConnectionError);
    ASSERT_TRUE(m_host.waitForFinishedRows(2));
    EXPECT_EQ(m_host.rows()[1].progress, u"N/A"_s);
    EXPECT_FALSE(QFile::exists(received(u"nothing"_s)));
    EXPECT_FALSE(QFile::exists(received(u"something"_s)));
}

TEST_F(ConnectionHandlerTest, NamesThatTheFileSystemRefusesFailAfterTheRow)
{
    for (const QString& name : {u""_s, u"sub/file.txt"_s}) {
        EXPECT_THROW(deliver(port(), kPassword, name, "abc"), ConnectionError);
    }
    ASSERT_TRUE(m_host.waitForFinishedRows(2));
    for (const auto& row : m_host.rows())
        EXPECT_EQ(row.progress, u"N/A"_s);
}

TEST_F(ConnectionHandlerTest, AnAbsoluteLookingNameStaysInsideTheCallersFolder)
{
    const QString name = u"/korvalla-absolute-"_s + QString::number(::getpid());
    const auto delivery = deliver(port(), kPassword, name, "inside");
    EXPECT_EQ(delivery.completion, u"OK!"_s);
    EXPECT_FALSE(QFile::exists(name));
    EXPECT_EQ(contents(name.mid(1)), "inside");
}

TEST_F(ConnectionHandlerTest, ALinkAtTheTargetIsNeverFollowed)
{
    QTemporaryDir elsewhere;
    const QString outside = elsewhere.filePath(u"outside"_s);
    {
        QFile file(outside);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("precious");
    }
    QDir().mkpath(senderFolder());
    ASSERT_TRUE(QFile::link(outside, received(u"link"_s)));

    EXPECT_THROW(deliver(port(), kPassword, u"link"_s, "evil", kWriteFromStart), ConnectionError);
    EXPECT_THROW(deliver(port(), kPassword, u"link"_s, "evil", kContinueFile), ConnectionError);
    ASSERT_TRUE(m_host.waitForFinishedRows(2));
    QFile file(outside);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "precious");
}

TEST_F(ConnectionHandlerTest, SamePathTwiceAtOnceFailsTheSecond)
{
    const QByteArray first = patterned(70000, 4);
    ScriptedSender holder(port());
    holder.readGreeting();
    EXPECT_EQ(holder.announce(kPassword, u"shared.dat"_s, first.size()), kFileAbsent);
    holder.chooseWriteMode(kWriteFromStart);
    holder.sendData(first, 0, 32768);
    ASSERT_TRUE(m_host.waitForRows(1));

    // The holder's file is open: the second caller's open fails.
    for (const std::uint8_t mode : {kWriteFromStart, kContinueFile}) {
        ScriptedSender second(port());
        second.readGreeting();
        second.announce(kPassword, u"shared.dat"_s, 5);
        second.connection().writeByte(mode);
        EXPECT_THROW(second.connection().readByte(), ConnectionError);
    }

    holder.sendData(first, 32768, first.size());
    EXPECT_EQ(holder.readCompletion(), u"OK!"_s);
    ASSERT_TRUE(m_host.waitForFinishedRows(3));
    const auto rows = m_host.rows();
    EXPECT_EQ(rows[0].progress, u"Done!"_s);
    EXPECT_EQ(rows[1].progress, u"N/A"_s);
    EXPECT_EQ(rows[2].progress, u"N/A"_s);
    EXPECT_EQ(contents(u"shared.dat"_s), first);
}

TEST_F(ConnectionHandlerTest, FiftyTransfersAtOnce)
{
    constexpr int kCallers = 50;
    std::vector<std::future<testing_support::Delivery>> deliveries;
    for (int i = 0; i < kCallers; ++i) {
        deliveries.push_back(std::async(std::launch::async, [this, i] {
            return deliver(port(), kPassword, u"file"_s + QString::number(i),
                           patterned(60000 + i * 1000, i));
        }));
    }
    for (auto& delivery : deliveries)
        EXPECT_EQ(delivery.get().completion, u"OK!"_s);
    ASSERT_TRUE(m_host.waitForFinishedRows(kCallers));
    for (int i = 0; i < kCallers; ++i) {
        EXPECT_EQ(contents(u"file"_s + QString::number(i)), patterned(60000 + i * 1000, i)) << i;
    }
    for (const auto& row : m_host.rows())
        EXPECT_EQ(row.progress, u"Done!"_s);
}

TEST_F(ConnectionHandlerTest, ProgressRowAtTheFirstBlockAfterASecond)
{
    const QByteArray content = patterned(3 * 32768, 5);
    ScriptedSender sender(port());
    sender.readGreeting();
    sender.announce(kPassword, u"slow.bin"_s, content.size());
    sender.chooseWriteMode(kWriteFromStart);
    sender.sendData(content, 0, 32768);
    std::this_thread::sleep_for(1100ms); // a sender that pauses for longer than the interval
    sender.sendData(content, 32768, 2 * 32768);
    ASSERT_TRUE(m_host.waitForEvent([](const RecordingHost::RowEvent& event) {
        return event.texts.progress.endsWith(u" %"_s);
    }));
    sender.sendData(content, 2 * 32768, content.size());
    EXPECT_EQ(sender.readCompletion(), u"OK!"_s);
    ASSERT_TRUE(m_host.waitForFinishedRows(1));

    const auto events = m_host.events();
    ASSERT_EQ(events.size(), 3u);
    // Two blocks in the interval, counted as bytes per second; one block left.
    EXPECT_EQ(events[1].texts, (TransferRow{u"127.0.0.1"_s, u"slow.bin"_s, u"96.00 kB"_s, u"67 %"_s,
                                            u"64.00 kB/sec"_s, u"00:00:00"_s}));
}

TEST_F(ConnectionHandlerTest, ASilentCallerIsClosedAfterTheReadTimeOut)
{
    m_host.setReadTimeout(200ms);
    ScriptedSender sender(port());
    EXPECT_EQ(sender.readGreeting(), u"4.50"_s);
    sender.connection().setReadTimeout(60s);
    EXPECT_THROW(sender.connection().readByte(), ConnectionError);
    EXPECT_TRUE(m_host.rows().empty());
}

TEST_F(ConnectionHandlerTest, ASenderThatStallsMidFileFailsItsRow)
{
    m_host.setReadTimeout(200ms);
    ScriptedSender sender(port());
    sender.readGreeting();
    sender.announce(kPassword, u"stalled"_s, 100000);
    sender.chooseWriteMode(kWriteFromStart);
    sender.sendData(patterned(1000), 0, 1000);
    ASSERT_TRUE(m_host.waitForFinishedRows(1));
    EXPECT_EQ(m_host.rows()[0].progress, u"N/A"_s);
    EXPECT_EQ(contents(u"stalled"_s).size(), 1000); // kept for a resume
}

// A file system that takes only part of a block: the transfer fails, and
// what was written stays for a resume.
TEST_F(ConnectionHandlerTest, AShortWriteFailsTheTransfer)
{
    struct FileSizeLimit
    {
        rlimit saved{};
        explicit FileSizeLimit(rlim_t bytes)
        {
            ::getrlimit(RLIMIT_FSIZE, &saved);
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{bytes, saved.rlim_max};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &saved); }
    };

    const QByteArray content = patterned(200000, 6);
    {
        const FileSizeLimit limit(50000);
        EXPECT_THROW(deliver(port(), kPassword, u"full.bin"_s, content), ConnectionError);
        ASSERT_TRUE(m_host.waitForFinishedRows(1));
    }
    EXPECT_EQ(m_host.rows()[0].progress, u"N/A"_s);
    EXPECT_EQ(m_host.balloons().size(), 0u);
    EXPECT_EQ(contents(u"full.bin"_s), content.left(50000));

    const auto delivery = deliver(port(), kPassword, u"full.bin"_s, content, kContinueFile);
    EXPECT_EQ(delivery.offset, 50000);
    EXPECT_EQ(contents(u"full.bin"_s), content);
}

TEST_F(ConnectionHandlerTest, AnIpv6CallerIsRefusedAtTheFolderStep)
{
    const int s = ::socket(AF_INET6, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in6 address{};
    address.sin6_family = AF_INET6;
    address.sin6_addr = in6addr_loopback;
    address.sin6_port = htons(port());
    if (s < 0 || ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        if (s >= 0)
            ::close(s);
        GTEST_SKIP() << "no IPv6 loopback here";
    }
    protocol::Connection caller(s);
    EXPECT_EQ(protocol::readTextLine(caller), u"4.50"_s);
    protocol::sendAnnouncement(caller, kPassword, u"v6.txt"_s, 3);
    EXPECT_THROW(caller.readByte(), ConnectionError);
    m_server.stop();
    EXPECT_TRUE(m_host.rows().empty());
    EXPECT_TRUE(QDir(m_destination.path()).isEmpty());
}

TEST(ConstantTimeEquals, EqualOnlyForTheSameUnits)
{
    using receiver::ConstantTimeEquals;
    EXPECT_TRUE(ConstantTimeEquals(u""_s, u""_s));
    EXPECT_TRUE(ConstantTimeEquals(u"sesam"_s, u"sesam"_s));
    EXPECT_FALSE(ConstantTimeEquals(u"sesam"_s, u"Sesam"_s));
    EXPECT_FALSE(ConstantTimeEquals(u"sesam"_s, u"sesa"_s));
    EXPECT_FALSE(ConstantTimeEquals(u"sesa"_s, u"sesam"_s));
    EXPECT_FALSE(ConstantTimeEquals(u""_s, u"x"_s));
    EXPECT_FALSE(ConstantTimeEquals(u"a"_s + QChar(u'\0'), u"a"_s));
}

// Closing the receiver while transfers run: the flag is set first, then
// every connection is cut and every thread joined; no row changes after the
// flag, and the partial files stay.
TEST(ReceiverShutdown, JoinsEveryThreadWithTransfersRunning)
{
    const ScopedArguments english({u"/ENGLISH"_s});
    for (int round = 0; round < 5; ++round) {
        QTemporaryDir destination;
        RecordingHost host(destination.path(), kPassword);
        protocol::TcpServer server(
            [&host](protocol::Connection& c) { receiver::tcpServerExecute(host, c); });
        ASSERT_TRUE(server.start(0));

        constexpr int kCallers = 10;
        std::vector<std::unique_ptr<ScriptedSender>> senders;
        for (int i = 0; i < kCallers; ++i) {
            auto sender = std::make_unique<ScriptedSender>(server.port());
            sender->readGreeting();
            sender->announce(kPassword, u"part"_s + QString::number(i), 1 << 20);
            sender->chooseWriteMode(kWriteFromStart);
            sender->sendData(patterned(4096, i), 0, 4096);
            senders.push_back(std::move(sender));
        }
        ASSERT_TRUE(host.waitForRows(kCallers));
        const auto partPath = [&](int i) {
            return destination.filePath(u"127.0.0.1/part"_s + QString::number(i));
        };
        for (int i = 0; i < kCallers; ++i) {
            ASSERT_TRUE(
                testing_support::pollUntil([&] { return QFileInfo(partPath(i)).size() == 4096; }));
        }

        host.setTerminating();
        const std::size_t eventsAtClose = host.events().size();
        server.disconnectAll();
        server.stop();
        EXPECT_EQ(server.activeConnections(), 0u);
        EXPECT_EQ(host.events().size(), eventsAtClose);
        for (int i = 0; i < kCallers; ++i)
            EXPECT_EQ(QFileInfo(partPath(i)).size(), 4096) << "partial file kept";
    }
}

} // namespace
