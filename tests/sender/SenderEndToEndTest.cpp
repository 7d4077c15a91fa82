// The sender's real window (offscreen, in this process) delivering files to
// the real qrv executable, which is killed mid-file and started again: the
// automatic retry resumes the file.
#include "protocol/Connection.h"
#include "sender/TfrmMain.h"
#include "support/FreePort.h"
#include "support/GuiTest.h"
#include "support/QtPrinters.h"
#include "support/ScopedEnvironment.h"
#include "support/ScriptedPrompter.h"
#include "support/WaitFor.h"
#include "toolkit/Settings.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using testing_support::processEventsUntil;
using testing_support::ScriptedPrompter;
using toolkit::MessageAnswer;

static void initResources()
{
    Q_INIT_RESOURCE(sender);
}

namespace {

QByteArray patterned(qsizetype size, int seed)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 5 + seed + i / 1021) & 0xFF);
    return bytes;
}

class SenderEndToEnd : public testing::Test
{
protected:
    void SetUp() override
    {
        initResources();
        m_program = m_folder.filePath(u"qrv"_s);
        ASSERT_TRUE(QFile::copy(QStringLiteral(QRV_PATH), m_program));
        const QString settings = toolkit::SettingsPathFor(m_program);
        toolkit::WriteSetting(u"Main"_s, u"DestinationFolder"_s, destination(), settings);
        toolkit::WriteSetting(u"Main"_s, u"Password"_s, u"pw"_s, settings);
        QDir().mkpath(destination());
        m_port = testing_support::FreeLoopbackPort();
        startReceiver();
    }

    void TearDown() override
    {
        m_qrv.kill();
        m_qrv.waitForFinished();
    }

    void startReceiver()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        m_qrv.setProcessEnvironment(environment);
        m_qrv.setProcessChannelMode(QProcess::ForwardedChannels);
        m_qrv.start(m_program, {u"/ALLOWSLEEP"_s, QString::number(m_port)});
        ASSERT_TRUE(m_qrv.waitForStarted());
        ASSERT_TRUE(testing_support::pollUntil([this] {
            try {
                protocol::Connection::connectTo(u"127.0.0.1"_s, m_port);
                return true;
            } catch (const protocol::ConnectionError&) {
                return false;
            }
        }));
    }

    QString destination() const { return m_folder.path() + u"/in/"_s; }
    QString received(const QString& name) const { return destination() + u"127.0.0.1/"_s + name; }
    QString source(const QString& name, const QByteArray& content) const
    {
        const QString path = m_folder.filePath(u"out/"_s + name);
        QDir().mkpath(m_folder.filePath(u"out"_s));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }
    QByteArray contents(const QString& path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir m_folder;
    QString m_program;
    QProcess m_qrv;
    std::uint16_t m_port = 0;
};

TEST_F(SenderEndToEnd, DeliversFilesAndResumesAfterTheReceiverRestarts)
{
    const testing_support::ScopedArguments english({u"/ENGLISH"_s, u"/ALLOWSLEEP"_s});
    ScriptedPrompter prompter;
    sender::TfrmMain window(m_folder.filePath(u"korvalla.INI"_s));
    window.txtPort->setText(QString::number(m_port));
    window.txtPassword->setText(u"pw"_s);
    bool finished = false;
    QObject::connect(&window, &sender::TfrmMain::batchFinished, &window, [&] { finished = true; });

    const QByteArray empty;
    const QByteArray one = patterned(1, 1);
    const QByteArray five = patterned(5 * 1024 * 1024, 2);
    window.files().append(source(u"empty"_s, empty));
    window.files().append(source(u"one"_s, one));
    window.files().append(source(u"five"_s, five));
    prompter.answerMessage(MessageAnswer::Yes);
    prompter.answerMessage(MessageAnswer::Ok);
    window.btnSend->click();
    ASSERT_TRUE(processEventsUntil([&] { return finished; }));
    EXPECT_EQ(contents(received(u"empty"_s)), empty);
    EXPECT_EQ(contents(received(u"one"_s)), one);
    EXPECT_EQ(contents(received(u"five"_s)), five);

    // A large file; the receiver dies once the first bytes have landed.
    const QByteArray large = patterned(256 * 1024 * 1024, 3);
    const QString largeSource = source(u"large"_s, large);
    finished = false;
    prompter.answerMessage(MessageAnswer::Ok);  // Clear all?
    prompter.answerMessage(MessageAnswer::Yes); // Continue?
    prompter.answerMessage(MessageAnswer::Ok);  // the report
    sender::TfrmMain& w = window;
    w.btnClearAll->click();
    w.files().append(largeSource);
    w.btnSend->click();
    ASSERT_TRUE(processEventsUntil([&] { return QFileInfo(received(u"large"_s)).size() > 0; }));
    m_qrv.kill();
    m_qrv.waitForFinished();
    const qint64 partial = QFileInfo(received(u"large"_s)).size();
    EXPECT_LT(partial, large.size());

    ASSERT_TRUE(processEventsUntil([&] { return w.lblAuto->text().startsWith(u"Auto, "_s); }));
    startReceiver();
    ASSERT_TRUE(processEventsUntil([&] { return finished; }, std::chrono::seconds(60)));
    EXPECT_EQ(contents(received(u"large"_s)), large);
    ASSERT_EQ(prompter.messages.size(), 5u);
    EXPECT_TRUE(prompter.messages[4].text.startsWith(u"Done!"_s));
}

} // namespace
