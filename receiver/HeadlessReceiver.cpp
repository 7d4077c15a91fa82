#include "HeadlessReceiver.h"

#include "ConnectionHandler.h"
#include "PortArgument.h"
#include "ReceiverHost.h"

#include "protocol/TcpServer.h"
#include "toolkit/CommandLine.h"
#include "toolkit/Folders.h"
#include "toolkit/Formats.h"
#include "toolkit/Language.h"
#include "toolkit/Power.h"
#include "toolkit/Settings.h"
#include "toolkit/TerminationSignals.h"
#include "toolkit/TextFunctions.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <mutex>

using namespace Qt::StringLiterals;
using toolkit::LangText;

namespace receiver {
namespace {

const char* const kUsage =
    "Usage: qrv --headless [PORT] [options]\n"
    "Receives files without a window, into <folder>/<sender's address>/.\n"
    "\n"
    "  PORT                  the first all-digit argument; 4520 without one\n"
    "  --dest=FOLDER         the destination folder\n"
    "  --password-file=FILE  the password: the first line of FILE\n"
    "  --verbose             also a progress line per transfer about once a second\n"
    "  --help, --version\n"
    "\n"
    "What is not given comes from the settings file beside the program.\n"
    "Stops on SIGINT or SIGTERM. Exit status: 0 after an orderly stop, 2 when it\n"
    "cannot start.\n";

// Rows become lines: one when a transfer starts, one when it ends, and
// with Verbose one for each progress update.
class ConsoleHost : public ReceiverHost
{
public:
    ConsoleHost(QString folder, QString password, bool verbose)
        : m_folder(std::move(folder))
        , m_password(std::move(password))
        , m_verbose(verbose)
    {}

    QString destinationFolder() const override { return m_folder; }
    QString currentPassword() const override { return m_password; }
    bool terminating() const override { return m_terminating; }
    std::mutex& transferListLock() override { return m_lock; }
    void setTerminating() { m_terminating = true; }

    // Called under the transfer list lock, so lines never interleave.
    RowId addRow(const TransferRow& row) override
    {
        print(row, LangText(toolkit::IsSwedish(), u"tar emot"_s, u"receiving"_s));
        return m_nextRow++;
    }

    void setRow(RowId, const TransferRow& row) override
    {
        if (row.progress == u"N/A"_s)
            print(row, LangText(toolkit::IsSwedish(), u"misslyckades"_s, u"failed"_s));
        else if (row.speed.isEmpty())
            print(row, LangText(toolkit::IsSwedish(), u"klar"_s, u"done"_s));
        else if (m_verbose)
            print(row, row.progress + u"  "_s + row.speed + u"  "_s + row.remainingTime);
    }

    void showBalloon(const QString&, const QString&) override {}

private:
    static void print(const TransferRow& row, const QString& outcome)
    {
        const QDateTime now = QDateTime::currentDateTime();
        toolkit::PrintLine(stdout, toolkit::DateText(now) + u' ' + toolkit::TimeText(now) +
                                       u"  "_s + row.address + u"  \""_s + row.fileName +
                                       u"\"  "_s + row.size + u"  "_s + outcome);
    }

    const QString m_folder;
    const QString m_password;
    const bool m_verbose;
    std::atomic<bool> m_terminating = false;
    std::mutex m_lock;
    RowId m_nextRow = 0;
};

struct Settings
{
    QString folder;
    QString password;
    bool verbose = false;
    bool help = false;
    bool version = false;
    QString error;
};

Settings parse(const QStringList& arguments, const QString& settingsFile)
{
    Settings settings;
    bool folderGiven = false;
    bool passwordGiven = false;
    for (const QString& argument : arguments) {
        const QString value = argument.mid(argument.indexOf(u'=') + 1);
        if (argument == u"--headless"_s || toolkit::IsProgramSwitch(argument) ||
            toolkit::IsAllDigits(argument))
            continue;
        if (argument == u"--help"_s) {
            settings.help = true;
        } else if (argument == u"--version"_s) {
            settings.version = true;
        } else if (argument == u"--verbose"_s) {
            settings.verbose = true;
        } else if (argument.startsWith(u"--dest="_s)) {
            settings.folder = toolkit::AddBackslash(QDir(value).absolutePath());
            folderGiven = true;
        } else if (argument.startsWith(u"--password-file="_s)) {
            const auto password = toolkit::FirstLineOf(value);
            if (!password) {
                settings.error = u"qrv: cannot read the password file "_s + value;
                return settings;
            }
            settings.password = *password;
            passwordGiven = true;
        } else {
            settings.error = u"qrv: unknown argument "_s + argument;
            return settings;
        }
    }
    if (!folderGiven) {
        const QString documents =
            toolkit::SpecialFolderPath(toolkit::SpecialFolder::Documents, QDir::homePath());
        settings.folder =
            toolkit::ReadSetting(u"Main"_s, u"DestinationFolder"_s, documents, settingsFile);
    }
    if (!passwordGiven)
        settings.password = toolkit::ReadSetting(u"Main"_s, u"Password"_s, {}, settingsFile);
    if (settings.password.isEmpty())
        settings.error = u"qrv: no password; give one with --password-file=FILE or set it in "
                         "the window"_s;
    return settings;
}

} // namespace

bool WantsHeadlessReceiver(const QStringList& arguments)
{
    return arguments.contains(u"--headless"_s);
}

int RunHeadlessReceiver(const QStringList& arguments, const QString& settingsFile)
{
    const Settings settings = parse(arguments, settingsFile);
    if (settings.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (settings.version) {
        std::puts("qrv 4.50");
        return 0;
    }
    if (!settings.error.isEmpty()) {
        toolkit::PrintLine(stderr, settings.error);
        return 2;
    }

    // Signals are taken before the server's threads exist.
    std::mutex mutex;
    std::condition_variable stopRequested;
    bool stopping = false;
    const toolkit::TerminationSignals terminationSignals([&](int) {
        {
            const std::lock_guard lock(mutex);
            stopping = true;
        }
        stopRequested.notify_all();
    });

    ConsoleHost host(settings.folder, settings.password, settings.verbose);
    protocol::TcpServer server([&host](protocol::Connection& c) { tcpServerExecute(host, c); });
    const std::uint16_t port = PortFromArguments(arguments);
    if (!server.start(port)) {
        toolkit::PrintLine(stderr, LangText(toolkit::IsSwedish(),
                                            u"Det gick inte att använda det angivna portnumret ("_s,
                                            u"Unable to use the specified port number ("_s) +
                                       toolkit::IntToText(port) + u")."_s);
        return 2;
    }
    const bool keepAwake = !toolkit::HasSwitch(u"/ALLOWSLEEP"_s);
    if (keepAwake)
        toolkit::KeepAwake();
    toolkit::PrintLine(stdout, u"qrv: listening on port "_s + QString::number(server.port()) +
                                   u", receiving into "_s + settings.folder);

    {
        std::unique_lock lock(mutex);
        stopRequested.wait(lock, [&] { return stopping; });
    }
    // As when the window closes: cut every connection, then wait for all.
    server.disconnectAll();
    host.setTerminating();
    server.stop();
    if (keepAwake)
        toolkit::AllowSleep();
    toolkit::PrintLine(stdout, u"qrv: stopped"_s);
    return 0;
}

} // namespace receiver
