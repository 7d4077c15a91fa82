// The real qrv executable, started without a display beside a settings file
// of its own, receiving files from a scripted sender over loopback.
#include "ScriptedSender.h"

#include "protocol/Connection.h"
#include "protocol/Fields.h"
#include "support/FreePort.h"
#include "support/QtPrinters.h"
#include "support/WaitFor.h"
#include "toolkit/Settings.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using protocol::ConnectionError;
using testing_support::deliver;
using testing_support::ScriptedSender;

namespace {

const QString kPassword = u"e2e-lösen"_s;

QByteArray patterned(qsizetype size, int seed)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + seed + i / 257) & 0xFF);
    return bytes;
}

class QrvEndToEnd : public testing::Test
{
protected:
    void SetUp() override
    {
        // A copy of the program, so that its settings file is this test's own.
        const QString program = m_folder.filePath(u"qrv"_s);
        ASSERT_TRUE(QFile::copy(QStringLiteral(QRV_PATH), program));
        const QString settings = toolkit::SettingsPathFor(program);
        toolkit::WriteSetting(u"Main"_s, u"DestinationFolder"_s, destination(), settings);
        toolkit::WriteSetting(u"Main"_s, u"Password"_s, kPassword, settings);
        QDir().mkpath(destination());

        m_port = testing_support::FreeLoopbackPort();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        m_qrv.setProcessEnvironment(environment);
        m_qrv.setProcessChannelMode(QProcess::ForwardedChannels);
        m_qrv.start(program, {u"/ENGLISH"_s, u"/ALLOWSLEEP"_s, QString::number(m_port)});
        ASSERT_TRUE(m_qrv.waitForStarted());
        // Listening is not announced anywhere: try until a connection is taken.
        ASSERT_TRUE(testing_support::pollUntil([this] {
            try {
                protocol::Connection::connectTo(u"127.0.0.1"_s, m_port);
                return true;
            } catch (const ConnectionError&) {
                return false;
            }
        }));
    }

    void TearDown() override
    {
        m_qrv.kill();
        m_qrv.waitForFinished();
    }

    QString destination() const { return m_folder.path() + u"/in/"_s; }
    QByteArray received(const QString& name) const
    {
        QFile file(destination() + u"127.0.0.1/"_s + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir m_folder;
    QProcess m_qrv;
    std::uint16_t m_port = 0;
};

TEST_F(QrvEndToEnd, ReceivesFilesAndResumesAnInterruptedOne)
{
    const QByteArray small = patterned(1, 1);
    const QByteArray empty;
    const QByteArray large = patterned(3 * 1024 * 1024 + 17, 2);
    EXPECT_EQ(deliver(m_port, kPassword, u"one.bin"_s, small).completion, u"OK!"_s);
    EXPECT_EQ(deliver(m_port, kPassword, u"empty.bin"_s, empty).completion, u"OK!"_s);
    EXPECT_THROW(deliver(m_port, u"wrong"_s, u"refused.bin"_s, small), ConnectionError);

    {
        ScriptedSender sender(m_port);
        sender.readGreeting();
        sender.announce(kPassword, u"large.bin"_s, large.size());
        sender.chooseWriteMode(protocol::kWriteFromStart);
        sender.sendData(large, 0, 1024 * 1024);
    } // the connection breaks off after 1 MiB
    ASSERT_TRUE(
        testing_support::pollUntil([&] { return received(u"large.bin"_s).size() == 1024 * 1024; }));

    const auto resumed = deliver(m_port, kPassword, u"large.bin"_s, large);
    EXPECT_EQ(resumed.exists, protocol::kFileExists);
    EXPECT_EQ(resumed.offset, 1024 * 1024);
    EXPECT_EQ(resumed.completion, u"OK!"_s);

    EXPECT_EQ(received(u"one.bin"_s), small);
    EXPECT_EQ(received(u"empty.bin"_s), empty);
    EXPECT_EQ(received(u"large.bin"_s), large);
    EXPECT_FALSE(QFile::exists(destination() + u"127.0.0.1/refused.bin"_s));
    EXPECT_EQ(m_qrv.state(), QProcess::Running);
}

} // namespace
