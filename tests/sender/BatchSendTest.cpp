#include "RecordingWindow.h"

#include "RecordingHost.h"
#include "protocol/Connection.h"
#include "protocol/Fields.h"
#include "protocol/TcpServer.h"
#include "receiver/ConnectionHandler.h"
#include "sender/BatchSend.h"
#include "support/ScopedEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>

using namespace Qt::StringLiterals;
using protocol::Connection;
using sender::BatchInputs;
using testing_support::RecordingWindow;
using testing_support::ScopedArguments;

namespace {

QByteArray patterned(qsizetype size, int seed = 0)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 13 + seed + i / 511) & 0xFF);
    return bytes;
}

struct Announcement
{
    QString version;
    QString password;
    QString name;
    std::int64_t size = 0;
};

// The receiver's side, written by each test.
class ScriptedReceiver
{
public:
    using Script = std::function<void(Connection&, int attempt)>;

    explicit ScriptedReceiver(Script script)
        : m_script(std::move(script))
        , m_server([this](Connection& c) { m_script(c, m_attempts++); })
    {
        EXPECT_TRUE(m_server.start(0));
    }
    std::uint16_t port() const { return m_server.port(); }
    int attempts() const { return m_attempts; }

private:
    Script m_script;
    std::atomic<int> m_attempts = 0;
    protocol::TcpServer m_server;
};

Announcement greetAndRead(Connection& c)
{
    protocol::writeTextLine(c, protocol::kVersionText);
    Announcement a;
    a.version = protocol::readTextLine(c);
    a.password = protocol::readTextLine(c);
    a.name = protocol::readTextLine(c);
    a.size = c.readInt64();
    return a;
}

// Reads data blocks until Count bytes arrived.
QByteArray readBlocks(Connection& c, std::int64_t count, int* blocks = nullptr)
{
    QByteArray data;
    while (data.size() < count) {
        const std::int32_t length = c.readInt32();
        QByteArray block(length, '\0');
        c.readExact(block.data(), static_cast<std::size_t>(length));
        data += block;
        if (blocks != nullptr)
            ++*blocks;
    }
    return data;
}

class BatchSendTest : public testing::Test
{
protected:
    BatchSendTest()
        : m_english({u"/ENGLISH"_s})
    {}

    QString makeFile(const QString& name, const QByteArray& content) const
    {
        const QString path = m_folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }

    BatchInputs inputsFor(std::uint16_t port, const QStringList& paths, bool autoMode = true,
                          bool overwrite = false) const
    {
        BatchInputs in;
        in.remoteHost = u"127.0.0.1"_s;
        in.port = QString::number(port);
        in.password = u"pw"_s;
        for (const QString& path : paths) {
            in.names.append(QFileInfo(path).fileName());
            in.filePaths = in.filePaths.isEmpty() ? path : in.filePaths + u'|' + path;
        }
        in.autoMode = autoMode;
        in.overwrite = overwrite;
        return in;
    }

    ScopedArguments m_english;
    QTemporaryDir m_folder;
};

TEST_F(BatchSendTest, ChecksInOrderTheFirstFailureAlone)
{
    const struct
    {
        QString host, port, password;
        bool files;
        QString english;
        QString swedish;
    } cases[] = {
        {u""_s, u""_s, u""_s, false, u"Specify a remote host."_s, u"Ange en värddator."_s},
        {u" "_s, u""_s, u""_s, false, u"Specify a port."_s, u"Ange en port."_s},
        {u"h"_s, u"1"_s, u""_s, false, u"Specify a password."_s, u"Ange ett lösenord."_s},
        {u"h"_s, u"1"_s, u" "_s, false, u"Add one or more files."_s,
         u"Lägg till en eller flera filer."_s},
    };
    for (const auto& c : cases) {
        BatchInputs in;
        in.remoteHost = c.host;
        in.port = c.port;
        in.password = c.password;
        for (const bool sv : {false, true}) {
            const ScopedArguments language({sv ? u"/SWEDISH"_s : u"/ENGLISH"_s});
            RecordingWindow window(in);
            sender::btnSendClick(window);
            EXPECT_EQ(window.log(), QStringList{u"error: "_s + (sv ? c.swedish : c.english)});
        }
    }
}

TEST_F(BatchSendTest, NoAtTheQuestionChangesNothing)
{
    RecordingWindow window(inputsFor(1, {makeFile(u"a"_s, "a")}));
    window.confirmAnswer = false;
    sender::btnSendClick(window);
    EXPECT_EQ(window.log(), QStringList{u"confirm?"_s});
}

// Two files to the real receiver: one connection each, in order, whole.
TEST_F(BatchSendTest, SendsEveryFileToTheReceiverInOrder)
{
    QTemporaryDir destination;
    testing_support::RecordingHost host(destination.path(), u"pw"_s);
    protocol::TcpServer server([&](Connection& c) { receiver::tcpServerExecute(host, c); });
    ASSERT_TRUE(server.start(0));
    const QByteArray first = patterned(100000, 1);
    const QByteArray second = patterned(70000, 2);
    RecordingWindow window(inputsFor(
        server.port(), {makeFile(u"first.bin"_s, first), makeFile(u"second & co.txt"_s, second)}));
    sender::btnSendClick(window);

    QFile a(destination.filePath(u"127.0.0.1/first.bin"_s));
    QFile b(destination.filePath(u"127.0.0.1/second & co.txt"_s));
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll(), first);
    EXPECT_EQ(b.readAll(), second);
    ASSERT_TRUE(host.waitForFinishedRows(2));
    EXPECT_EQ(host.rows()[0].fileName, u"first.bin"_s);
    EXPECT_EQ(host.rows()[1].fileName, u"second & co.txt"_s);

    const QStringList statuses = window.lines(u"status: "_s);
    EXPECT_TRUE(statuses.contains(u"status: 1 of 2 | \"first.bin\" | ? | ? | ?"_s));
    EXPECT_TRUE(statuses.contains(u"status: 2 of 2 | \"second & co.txt\" | ? | ? | ?"_s));
    const QStringList log = window.log();
    EXPECT_EQ(log.first(), u"confirm?"_s);
    EXPECT_EQ(log[1], u"busy"_s);
    EXPECT_EQ(log[log.size() - 3], u"status:  |  |  |  | "_s);
    EXPECT_EQ(log[log.size() - 2], u"idle"_s);
    EXPECT_TRUE(log.last().startsWith(u"report: Done! The operation was started "_s));
    EXPECT_TRUE(window.lines(u"countdown"_s).isEmpty());
    EXPECT_TRUE(window.lines(u"bar: 100"_s).size() == 2);
}

// The write mode by the exists flag and the options, and what follows it.
struct ModeCase
{
    const char* name;
    std::uint8_t exists;
    bool autoMode;
    bool overwrite;
    std::optional<bool> answer; // the overwrite question's answer, when asked
    int expectedMode;           // -1: no write mode at all
};

class WriteModeTable : public BatchSendTest, public testing::WithParamInterface<ModeCase>
{};

TEST_P(WriteModeTable, ChoosesAndSendsTheRest)
{
    const ModeCase& c = GetParam();
    const QByteArray content = patterned(50000, 3);
    constexpr std::int64_t kHeld = 20000;
    std::atomic<int> modeSeen = -2;
    QByteArray received;
    ScriptedReceiver receiver([&](Connection& conn, int) {
        greetAndRead(conn);
        conn.writeByte(c.exists);
        std::int64_t offset = 0;
        if (c.expectedMode >= 0) {
            modeSeen = conn.readByte();
            if (modeSeen == protocol::kContinueFile) {
                offset = kHeld;
                conn.writeInt64(offset);
            }
        } else {
            modeSeen = -1;
        }
        received = readBlocks(conn, content.size() - offset);
        protocol::writeTextLine(conn, protocol::kCompletionText);
    });
    RecordingWindow window(
        inputsFor(receiver.port(), {makeFile(u"f.bin"_s, content)}, c.autoMode, c.overwrite));
    if (c.answer)
        window.overwriteAnswers.push_back(*c.answer);
    sender::btnSendClick(window);

    EXPECT_EQ(modeSeen, c.expectedMode);
    EXPECT_EQ(received, c.expectedMode == 1 ? content.mid(kHeld) : content);
    const QStringList questions = window.lines(u"overwrite? "_s);
    if (c.answer) {
        ASSERT_EQ(questions.size(), 1);
        EXPECT_EQ(questions[0],
                  u"overwrite? The file \"f.bin\" already exists on the server. Do you want to "
                  "overwrite the file? Select No to continue writing the file."_s);
    } else {
        EXPECT_TRUE(questions.isEmpty());
    }
    EXPECT_EQ(receiver.attempts(), 1);
}

INSTANTIATE_TEST_SUITE_P(Rows, WriteModeTable,
                         testing::Values(ModeCase{"absent", 0, true, false, {}, 0},
                                         ModeCase{"absent_manual", 0, false, false, {}, 0},
                                         ModeCase{"auto_overwrite", 1, true, true, {}, 0},
                                         ModeCase{"auto_resume", 1, true, false, {}, 1},
                                         ModeCase{"manual_yes", 1, false, false, true, 0},
                                         ModeCase{"manual_no", 1, false, true, false, 1},
                                         ModeCase{"unknown_flag", 7, true, false, {}, -1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BatchSendTest, SwedishOverwriteQuestion)
{
    const ScopedArguments swedish({u"/SWEDISH"_s});
    ScriptedReceiver receiver([](Connection& conn, int) {
        greetAndRead(conn);
        conn.writeByte(protocol::kFileExists);
        conn.readByte();
        readBlocks(conn, 1);
        protocol::writeTextLine(conn, protocol::kCompletionText);
    });
    RecordingWindow window(inputsFor(receiver.port(), {makeFile(u"x"_s, "1")}, false));
    window.overwriteAnswers.push_back(true);
    sender::btnSendClick(window);
    EXPECT_EQ(window.lines(u"overwrite? "_s),
              QStringList{u"overwrite? Filen \"x\" existerar redan på servern. Vill du skriva "
                          "över filen? Välj Nej för att fortsätta skriva filen."_s});
    EXPECT_TRUE(window.lines(u"report: Klart! Åtgärden påbörjades "_s).size() == 1);
}

TEST_F(BatchSendTest, BlocksOfTheFile)
{
    const struct
    {
        qsizetype size;
        int blocks;
    } cases[] = {{0, 0}, {1, 1}, {32768, 1}, {32769, 2}, {100000, 4}};
    for (const auto& c : cases) {
        int blocks = 0;
        QByteArray received;
        ScriptedReceiver receiver([&](Connection& conn, int) {
            const Announcement a = greetAndRead(conn);
            conn.writeByte(protocol::kFileAbsent);
            conn.readByte();
            received = readBlocks(conn, a.size, &blocks);
            protocol::writeTextLine(conn, protocol::kCompletionText);
        });
        const QByteArray content = patterned(c.size, 4);
        RecordingWindow window(inputsFor(receiver.port(), {makeFile(u"b"_s, content)}));
        sender::btnSendClick(window);
        EXPECT_EQ(blocks, c.blocks) << c.size;
        EXPECT_EQ(received, content) << c.size;
        if (c.size == 0) {
            EXPECT_EQ(window.lines(u"bar: "_s), QStringList{u"bar: 0"_s}); // 0 % throughout
        }
        EXPECT_EQ(window.lines(u"report"_s).size(), 1);
    }
}

TEST_F(BatchSendTest, ResumeAtTheWholeLengthSendsNoBlock)
{
    const QByteArray content = patterned(5000, 5);
    bool blockArrived = false;
    ScriptedReceiver receiver([&](Connection& conn, int) {
        greetAndRead(conn);
        conn.writeByte(protocol::kFileExists);
        conn.readByte();
        conn.writeInt64(5000);
        protocol::writeTextLine(conn, protocol::kCompletionText);
        conn.setReadTimeout(std::chrono::milliseconds(200));
        try {
            conn.readInt32();
            blockArrived = true;
        } catch (const protocol::ConnectionError&) {
        }
    });
    RecordingWindow window(inputsFor(receiver.port(), {makeFile(u"r"_s, content)}));
    sender::btnSendClick(window);
    EXPECT_FALSE(blockArrived);
    EXPECT_EQ(window.lines(u"report"_s).size(), 1);
    EXPECT_EQ(receiver.attempts(), 1);
}

TEST_F(BatchSendTest, ResumeBeyondTwoGibibytesReadsFromTheFullOffset)
{
    const QString path = m_folder.filePath(u"huge.img"_s);
    constexpr std::int64_t kSize = (std::int64_t{1} << 31) + 40;
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(kSize)); // sparse
        ASSERT_TRUE(file.seek(kSize - 40));
        file.write(patterned(40, 6));
    }
    QByteArray received;
    ScriptedReceiver receiver([&](Connection& conn, int) {
        const Announcement a = greetAndRead(conn);
        EXPECT_EQ(a.size, kSize);
        conn.writeByte(protocol::kFileExists);
        conn.readByte();
        conn.writeInt64(kSize - 40);
        received = readBlocks(conn, 40);
        protocol::writeTextLine(conn, protocol::kCompletionText);
    });
    RecordingWindow window(inputsFor(receiver.port(), {path}));
    sender::btnSendClick(window);
    EXPECT_EQ(received, patterned(40, 6));
}

TEST_F(BatchSendTest, WrongGreetingFailsTheAttemptAndTheCountdownRetries)
{
    ScriptedReceiver receiver([](Connection& conn, int attempt) {
        if (attempt == 0) {
            protocol::writeTextLine(conn, u"4.49"_s);
            return;
        }
        const Announcement a = greetAndRead(conn);
        conn.writeByte(protocol::kFileAbsent);
        conn.readByte();
        readBlocks(conn, a.size);
        protocol::writeTextLine(conn, protocol::kCompletionText);
    });
    RecordingWindow window(inputsFor(receiver.port(), {makeFile(u"c"_s, "abc")}));
    sender::btnSendClick(window);
    EXPECT_EQ(receiver.attempts(), 2);
    EXPECT_EQ(window.lines(u"countdown: "_s),
              (QStringList{u"countdown: Auto, 5 sec..."_s, u"countdown: Auto, 4 sec..."_s,
                           u"countdown: Auto, 3 sec..."_s, u"countdown: Auto, 2 sec..."_s,
                           u"countdown: Auto, 1 sec..."_s, u"countdown: "_s}));
    EXPECT_EQ(window.lines(u"wait "_s).size(), 5);
    EXPECT_EQ(window.lines(u"wait 1000"_s).size(), 5);
    EXPECT_EQ(window.lines(u"report"_s).size(), 1);
}

TEST_F(BatchSendTest, SwedishCountdown)
{
    const ScopedArguments swedish({u"/SWEDISH"_s});
    ScriptedReceiver receiver([](Connection&, int) {}); // closes every caller
    RecordingWindow window(inputsFor(receiver.port(), {makeFile(u"c"_s, "abc")}));
    int waits = 0;
    window.onWait = [&] {
        if (++waits == 2)
            window.setTerminating();
    };
    sender::btnSendClick(window);
    EXPECT_EQ(window.lines(u"countdown: "_s),
              (QStringList{u"countdown: Auto, 5 sek..."_s, u"countdown: Auto, 4 sek..."_s,
                           u"countdown: "_s}));
    EXPECT_TRUE(window.lines(u"report"_s).isEmpty()); // closed during the countdown
    EXPECT_EQ(window.log().last(), u"idle"_s);
}

TEST_F(BatchSendTest, ManualRetryOkTriesAgainCancelEndsWithTheReport)
{
    ScriptedReceiver receiver([](Connection& conn, int) { greetAndRead(conn); }); // refuses
    RecordingWindow window(
        inputsFor(receiver.port(), {makeFile(u"one"_s, "1"), makeFile(u"two"_s, "2")}, false));
    window.retryAnswers = {true, true, false};
    sender::btnSendClick(window);
    EXPECT_EQ(receiver.attempts(), 3); // the second file is never tried
    const QStringList asked = window.lines(u"retry? "_s);
    ASSERT_EQ(asked.size(), 3);
    EXPECT_EQ(asked[0], u"retry? How would you do?: An error occured while trying to send the file "
                        "\"one\". The program will try again if you select OK."_s);
    EXPECT_EQ(window.lines(u"report: "_s).size(), 1);
    EXPECT_TRUE(window.lines(u"countdown"_s).isEmpty());
}

TEST_F(BatchSendTest, ALocalFileThatCannotBeOpenedIsAFailedAttempt)
{
    ScriptedReceiver receiver([](Connection&, int) {});
    BatchInputs in = inputsFor(receiver.port(), {m_folder.filePath(u"vanished"_s)}, false);
    RecordingWindow window(in);
    window.retryAnswers = {false};
    sender::btnSendClick(window);
    EXPECT_EQ(receiver.attempts(), 0);
    EXPECT_EQ(window.lines(u"retry? "_s).size(), 1);
    EXPECT_EQ(window.lines(u"report: "_s).size(), 1);
}

TEST_F(BatchSendTest, ClosingDuringTheSendEndsTheBatchWithoutTheReport)
{
    const QByteArray content = patterned(10 * 32768, 7);
    std::atomic<int> blocksRead = 0;
    ScriptedReceiver receiver([&](Connection& conn, int) {
        greetAndRead(conn);
        conn.writeByte(protocol::kFileAbsent);
        conn.readByte();
        readBlocks(conn, 1);
        ++blocksRead;
        protocol::writeTextLine(conn, protocol::kCompletionText);
        try {
            readBlocks(conn, content.size());
        } catch (const protocol::ConnectionError&) {
        }
    });
    RecordingWindow window(
        inputsFor(receiver.port(), {makeFile(u"big"_s, content), makeFile(u"next"_s, "n")}));
    window.onProgress = [&](int percent) {
        if (percent > 0)
            window.setTerminating();
    };
    sender::btnSendClick(window);
    EXPECT_EQ(receiver.attempts(), 1);
    EXPECT_TRUE(window.lines(u"report"_s).isEmpty());
    EXPECT_EQ(window.log().last(), u"idle"_s);
    // The data block in hand went; nothing after it.
    EXPECT_EQ(window.lines(u"bar: "_s), (QStringList{u"bar: 10"_s, u"bar: 0"_s}));
}

TEST_F(BatchSendTest, LabelsOncePerSecondWithSpeedAndRemainingTime)
{
    const QByteArray content = patterned(4 * 32768, 8);
    ScriptedReceiver receiver([&](Connection& conn, int) {
        greetAndRead(conn);
        conn.writeByte(protocol::kFileAbsent);
        conn.readByte();
        readBlocks(conn, content.size());
        protocol::writeTextLine(conn, protocol::kCompletionText);
    });
    RecordingWindow window(inputsFor(receiver.port(), {makeFile(u"t"_s, content)}));
    window.tickStep = 400; // every look at the clock moves it 400 ms on
    sender::btnSendClick(window);
    const QStringList statuses = window.lines(u"status: 1 of 1"_s);
    // start at 400 (+1000 = 1400); ticks 800, 1200, then 1600 after the
    // third block: 3 blocks, 96 kB in the interval, one block left.
    EXPECT_TRUE(statuses.contains(u"status: 1 of 1 | \"t\" | 75 % | 96.00 kB/sec | 00:00:00"_s))
        << statuses.join(u'\n').toStdString();
}

TEST(ReportText, StartAndEndInBothLanguages)
{
    const QDateTime start(QDate(2026, 1, 2), QTime(3, 4, 5), Qt::LocalTime);
    const QDateTime end(QDate(2026, 1, 3), QTime(23, 59, 59), Qt::LocalTime);
    {
        const ScopedArguments english({u"/ENGLISH"_s});
        EXPECT_EQ(sender::ReportText(start, end),
                  u"Done! The operation was started 2026-01-02 (03:04:05) and ended 2026-01-03 "
                  "(23:59:59)."_s);
    }
    const ScopedArguments swedish({u"/SWEDISH"_s});
    EXPECT_EQ(sender::ReportText(start, end),
              u"Klart! Åtgärden påbörjades 2026-01-02 (03:04:05) och avslutades 2026-01-03 "
              "(23:59:59)."_s);
}

} // namespace

namespace {

TEST_F(BatchSendTest, RetriesUsedUpEndTheBatchAndTheOutcomeSaysSo)
{
    std::atomic<int> attempts = 0;
    ScriptedReceiver receiver([&](Connection&, int) { ++attempts; });
    BatchInputs in =
        inputsFor(receiver.port(), {makeFile(u"a"_s, "a"), makeFile(u"b"_s, "b")}, true);
    in.retries = 2;
    RecordingWindow window(in);
    EXPECT_EQ(sender::btnSendClick(window), sender::BatchOutcome::Ended);
    EXPECT_EQ(attempts, 3); // the first and two more, then the batch ends
    EXPECT_EQ(window.lines(u"wait "_s).size(), 10);
    EXPECT_EQ(window.lines(u"report"_s).size(), 1);

    RecordingWindow empty(BatchInputs{});
    EXPECT_EQ(sender::btnSendClick(empty), sender::BatchOutcome::CheckFailed);
    RecordingWindow declined(inputsFor(1, {makeFile(u"c"_s, "c")}));
    declined.confirmAnswer = false;
    EXPECT_EQ(sender::btnSendClick(declined), sender::BatchOutcome::Declined);
}

} // namespace
