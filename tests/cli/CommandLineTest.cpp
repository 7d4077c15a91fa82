// The two programs without a window, as real processes: korvalla --send and
// qrv --headless against each other and against scripted peers.
#include "RecordingHost.h"
#include "ScriptedSender.h"

#include "protocol/Connection.h"
#include "protocol/Fields.h"
#include "protocol/TcpServer.h"
#include "support/QtPrinters.h"
#include "support/WaitFor.h"
#include "toolkit/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <thread>

using namespace Qt::StringLiterals;
using protocol::Connection;

namespace {

constexpr int kLimitMs = 60000;

QByteArray patterned(qsizetype size, int seed)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 11 + seed + i / 997) & 0xFF);
    return bytes;
}

struct Finished
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Copies of both programs in a folder of their own, so that their settings
// files are this test's.
class CommandLineTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFile::copy(QStringLiteral(QRV_PATH), path(u"qrv"_s)));
        ASSERT_TRUE(QFile::copy(QStringLiteral(KORVALLA_PATH), path(u"korvalla"_s)));
        writeFile(u"password"_s, "sesam\n");
        QDir().mkpath(path(u"in"_s));
    }

    void TearDown() override
    {
        if (m_qrv.state() != QProcess::NotRunning) {
            m_qrv.kill();
            m_qrv.waitForFinished();
        }
    }

    QString path(const QString& name) const { return m_folder.filePath(name); }
    QString writeFile(const QString& name, const QByteArray& content) const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path(name);
    }
    QByteArray received(const QString& name) const
    {
        QFile file(path(u"in/127.0.0.1/"_s + name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // Starts qrv --headless and waits for its first line, which names the port.
    void startReceiver(const QStringList& extra = {})
    {
        m_qrv.start(path(u"qrv"_s), QStringList{u"--headless"_s, u"0"_s, u"/ALLOWSLEEP"_s,
                                                u"/ENGLISH"_s, u"--dest="_s + path(u"in"_s),
                                                u"--password-file="_s + path(u"password"_s)} +
                                        extra);
        ASSERT_TRUE(m_qrv.waitForStarted());
        while (!m_qrv.canReadLine())
            ASSERT_TRUE(m_qrv.waitForReadyRead(kLimitMs));
        const QString first = QString::fromLocal8Bit(m_qrv.readLine());
        ASSERT_TRUE(first.startsWith(u"qrv: listening on port "_s)) << first.toStdString();
        m_port = static_cast<std::uint16_t>(first.section(u' ', 4, 4).remove(u',').toUInt());
    }

    QProcess* startSender(const QStringList& arguments, const QByteArray& answers = {})
    {
        auto* process = new QProcess;
        m_senders.emplace_back(process);
        process->start(path(u"korvalla"_s),
                       QStringList{u"--send"_s, u"/ENGLISH"_s, u"/ALLOWSLEEP"_s} + arguments);
        EXPECT_TRUE(process->waitForStarted());
        process->write(answers);
        process->closeWriteChannel();
        return process;
    }

    static Finished finish(QProcess& process)
    {
        EXPECT_TRUE(process.waitForFinished(kLimitMs));
        return Finished{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                        QString::fromLocal8Bit(process.readAllStandardOutput()),
                        QString::fromLocal8Bit(process.readAllStandardError())};
    }

    Finished send(const QStringList& arguments, const QByteArray& answers = {})
    {
        return finish(*startSender(arguments, answers));
    }

    QStringList to(std::uint16_t port) const
    {
        return {u"--host=127.0.0.1"_s, u"--port="_s + QString::number(port),
                u"--password-file="_s + path(u"password"_s)};
    }

    QTemporaryDir m_folder;
    QProcess m_qrv;
    std::uint16_t m_port = 0;
    std::vector<std::unique_ptr<QProcess>> m_senders;
};

TEST_F(CommandLineTest, DeliversSeveralFilesAndSaysSoInTheExitStatus)
{
    startReceiver();
    const QByteArray big = patterned(3 * 1024 * 1024 + 5, 1);
    const Finished sent =
        send(to(m_port) + QStringList{writeFile(u"big.bin"_s, big), writeFile(u"empty"_s, {}),
                                      writeFile(u"note.txt"_s, "note")});
    EXPECT_EQ(sent.exitCode, 0) << sent.err.toStdString();
    EXPECT_TRUE(sent.out.startsWith(u"Done! The operation was started "_s));
    EXPECT_TRUE(sent.err.contains(u"3 of 3  \"note.txt\""_s)) << sent.err.toStdString();
    EXPECT_EQ(received(u"big.bin"_s), big);
    EXPECT_EQ(received(u"empty"_s), QByteArray());
    EXPECT_EQ(received(u"note.txt"_s), "note");

    ::kill(static_cast<pid_t>(m_qrv.processId()), SIGTERM);
    const Finished receiver = finish(m_qrv);
    EXPECT_EQ(receiver.exitCode, 0);
    const QStringList lines = receiver.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 7) << receiver.out.toStdString(); // 3 x (receiving, done), stopped
    EXPECT_TRUE(lines[0].endsWith(u"  127.0.0.1  \"big.bin\"  3.00 MB  receiving"_s))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith(u"\"big.bin\"  3.00 MB  done"_s)) << lines[1].toStdString();
    EXPECT_EQ(lines[6], u"qrv: stopped"_s);
}

TEST_F(CommandLineTest, WrongPasswordWithOneRetryEndsAfterTwoAttempts)
{
    std::atomic<int> attempts = 0;
    protocol::TcpServer refusing([&](Connection& c) {
        ++attempts;
        protocol::writeTextLine(c, protocol::kVersionText);
        protocol::readTextLine(c); // version, then the wrong password: closed
        protocol::readTextLine(c);
    });
    ASSERT_TRUE(refusing.start(0));
    const Finished sent = send(to(refusing.port()) +
                               QStringList{u"--retries=1"_s, u"--auto"_s, writeFile(u"f"_s, "f")});
    EXPECT_EQ(sent.exitCode, 1);
    EXPECT_EQ(attempts, 2);
    EXPECT_TRUE(sent.err.contains(u"Auto, 5 sec..."_s));
    EXPECT_TRUE(sent.err.contains(u"Auto, 1 sec..."_s));
    EXPECT_TRUE(sent.out.startsWith(u"Done! The operation was started"_s)); // the report still
}

TEST_F(CommandLineTest, ResumeAndOverwriteByOption)
{
    startReceiver();
    const QByteArray content = patterned(500000, 2);
    QDir().mkpath(path(u"in/127.0.0.1"_s));
    writeFile(u"in/127.0.0.1/r.bin"_s, content.left(123456));
    writeFile(u"in/127.0.0.1/o.bin"_s, QByteArray(900000, 'x'));
    EXPECT_EQ(
        send(to(m_port) + QStringList{u"--resume"_s, writeFile(u"r.bin"_s, content)}).exitCode, 0);
    EXPECT_EQ(received(u"r.bin"_s), content);
    EXPECT_EQ(
        send(to(m_port) + QStringList{u"--overwrite"_s, writeFile(u"o.bin"_s, content)}).exitCode,
        0);
    EXPECT_EQ(received(u"o.bin"_s), content);
}

TEST_F(CommandLineTest, ManualModeAnsweredFromAPipe)
{
    startReceiver();
    const QByteArray content = patterned(300000, 3);
    QDir().mkpath(path(u"in/127.0.0.1"_s));
    writeFile(u"in/127.0.0.1/yes.bin"_s, QByteArray(400000, 'y'));
    writeFile(u"in/127.0.0.1/no.bin"_s, content.left(1000));
    const Finished sent =
        send(to(m_port) + QStringList{u"--manual"_s, writeFile(u"yes.bin"_s, content),
                                      writeFile(u"no.bin"_s, content)},
             "y\nn\n");
    EXPECT_EQ(sent.exitCode, 0) << sent.err.toStdString();
    EXPECT_EQ(received(u"yes.bin"_s), content); // overwritten
    EXPECT_EQ(received(u"no.bin"_s), content);  // continued
    EXPECT_EQ(sent.err.count(u"already exists on the server"_s), 2);

    // Retry: OK once, then Cancel; the batch ends with the report.
    std::atomic<int> attempts = 0;
    protocol::TcpServer refusing([&](Connection&) { ++attempts; });
    ASSERT_TRUE(refusing.start(0));
    const Finished retried =
        send(to(refusing.port()) + QStringList{u"--manual"_s, writeFile(u"r"_s, "r")}, "y\nn\n");
    EXPECT_EQ(retried.exitCode, 1);
    EXPECT_EQ(attempts, 2);
    EXPECT_EQ(retried.err.count(u"How would you do? An error occured"_s), 2);
    EXPECT_TRUE(retried.out.startsWith(u"Done!"_s));
}

TEST_F(CommandLineTest, MissingOrWrongArgumentsExitWithTwo)
{
    const QString file = writeFile(u"f"_s, "f");
    const struct
    {
        QStringList arguments;
        QString message;
    } cases[] = {
        {to(1), u"Add one or more files."_s},
        {QStringList{u"--host="_s, u"--port=1"_s, file}, u"Specify a remote host."_s},
        {QStringList{u"--host=h"_s, u"--port="_s, file}, u"Specify a port."_s},
        {QStringList{u"--host=h"_s, u"--port=1"_s, file}, u"Specify a password."_s},
        {to(1) + QStringList{u"--retries=many"_s, file}, u"--retries"_s},
        {to(1) + QStringList{u"--colour"_s, file}, u"unknown option --colour"_s},
        {QStringList{u"--password-file=/no/such/file"_s, file}, u"cannot read the password"_s},
    };
    for (const auto& c : cases) {
        const Finished sent = send(c.arguments);
        EXPECT_EQ(sent.exitCode, 2) << c.message.toStdString();
        EXPECT_TRUE(sent.err.contains(c.message)) << sent.err.toStdString();
    }

    QProcess qrv;
    qrv.start(path(u"qrv"_s), {u"--headless"_s, u"0"_s, u"--dest=/tmp"_s});
    const Finished noPassword = finish(qrv);
    EXPECT_EQ(noPassword.exitCode, 2);
    EXPECT_TRUE(noPassword.err.contains(u"no password"_s));

    protocol::TcpServer occupant([](Connection&) {});
    ASSERT_TRUE(occupant.start(0));
    qrv.start(path(u"qrv"_s), {u"--headless"_s, u"/ENGLISH"_s, QString::number(occupant.port()),
                               u"--password-file="_s + path(u"password"_s)});
    const Finished inUse = finish(qrv);
    EXPECT_EQ(inUse.exitCode, 2);
    EXPECT_EQ(inUse.err.trimmed(), u"Unable to use the specified port number ("_s +
                                       QString::number(occupant.port()) + u")."_s);
}

TEST_F(CommandLineTest, SigtermStopsTheReceiverInAnOrderlyWay)
{
    startReceiver();
    testing_support::ScriptedSender caller(m_port);
    caller.readGreeting();
    caller.announce(u"sesam"_s, u"part.bin"_s, 10'000'000);
    caller.chooseWriteMode(protocol::kWriteFromStart);
    caller.sendData(patterned(70000, 4), 0, 70000);
    ASSERT_TRUE(
        testing_support::pollUntil([&] { return received(u"part.bin"_s).size() == 70000; }));

    ::kill(static_cast<pid_t>(m_qrv.processId()), SIGTERM);
    const Finished stopped = finish(m_qrv);
    EXPECT_EQ(stopped.exitCode, 0);
    EXPECT_TRUE(stopped.out.endsWith(u"qrv: stopped\n"_s)) << stopped.out.toStdString();
    EXPECT_THROW(caller.readCompletion(), protocol::ConnectionError); // cut, no "OK!"
    EXPECT_EQ(received(u"part.bin"_s).size(), 70000);                 // kept for a resume
}

TEST_F(CommandLineTest, SigtermWindsTheSenderDown)
{
    // A receiver that takes the first block, answers at once and then
    // reads slowly: the sender is mid-file when the signal comes.
    std::mutex mutex;
    std::condition_variable arrived;
    bool blockArrived = false;
    protocol::TcpServer receiver([&](Connection& c) {
        protocol::writeTextLine(c, protocol::kVersionText);
        for (int i = 0; i < 3; ++i)
            protocol::readTextLine(c);
        c.readInt64();
        c.writeByte(protocol::kFileAbsent);
        c.readByte();
        QByteArray block(c.readInt32(), '\0');
        c.readExact(block.data(), static_cast<std::size_t>(block.size()));
        protocol::writeTextLine(c, protocol::kCompletionText);
        {
            const std::lock_guard lock(mutex);
            blockArrived = true;
        }
        arrived.notify_all();
        c.setReadTimeout(std::chrono::seconds(30));
        char sink[4096];
        for (;;) {
            c.readExact(sink, sizeof sink);                            // until the sender goes
            std::this_thread::sleep_for(std::chrono::milliseconds(5)); // a slow receiver
        }
    });
    ASSERT_TRUE(receiver.start(0));
    QProcess* sender = startSender(
        to(receiver.port()) + QStringList{writeFile(u"big"_s, patterned(64 * 1024 * 1024, 5))});
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(testing_support::waitFor(arrived, lock, [&] { return blockArrived; }));
    }
    ::kill(static_cast<pid_t>(sender->processId()), SIGTERM);
    const Finished ended = finish(*sender);
    EXPECT_EQ(ended.exitCode, 1);
    EXPECT_EQ(ended.out, u""_s); // no report after an interruption
}

} // namespace
