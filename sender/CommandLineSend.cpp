#include "CommandLineSend.h"

#include "BatchSend.h"
#include "SendWindow.h"

#include "toolkit/CommandLine.h"
#include "toolkit/Formats.h"
#include "toolkit/Language.h"
#include "toolkit/Power.h"
#include "toolkit/Settings.h"
#include "toolkit/TerminationSignals.h"
#include "toolkit/TextFunctions.h"

#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace sender {
namespace {

constexpr int kBarWidth = 24;

const char* const kUsage =
    "Usage: korvalla --send [options] FILE...\n"
    "Sends the files to a receiver (qrv), one connection per file.\n"
    "\n"
    "  --host=HOST           the receiver's host name or address\n"
    "  --port=PORT           the receiver's port\n"
    "  --password-file=FILE  the password: the first line of FILE\n"
    "  --auto                retry a failed file after a five-second countdown\n"
    "  --manual              ask on standard input (y/n) before overwriting or retrying\n"
    "  --overwrite           overwrite a file the receiver already has (automatic mode)\n"
    "  --resume              continue a file the receiver already has (automatic mode)\n"
    "  --retries=N           at most N further attempts at one file\n"
    "  --help, --version\n"
    "\n"
    "What is not given comes from the settings file beside the program.\n"
    "Exit status: 0 all files delivered, 1 the batch ended otherwise, 2 bad arguments.\n";

struct ParsedArguments
{
    BatchInputs inputs;
    QString error; // a message for standard error, exit status 2
    bool help = false;
    bool version = false;
};

ParsedArguments parse(const QStringList& arguments, const QString& settingsFile)
{
    ParsedArguments parsed;
    BatchInputs& in = parsed.inputs;
    const QString section = u"Main"_s;
    in.remoteHost = toolkit::ReadSetting(section, u"RemoteHost"_s, u"127.0.0.1"_s, settingsFile);
    in.port = toolkit::ReadSetting(section, u"Port"_s, u"4520"_s, settingsFile);
    in.password = toolkit::ReadSetting(section, u"Password"_s, {}, settingsFile);
    in.autoMode = toolkit::ReadBoolSetting(section, u"AutoMode"_s, true, settingsFile);
    in.overwrite = toolkit::ReadBoolSetting(section, u"Overwrite"_s, false, settingsFile);

    const auto valueOf = [](const QString& argument) {
        return argument.mid(argument.indexOf(u'=') + 1);
    };
    for (const QString& argument : arguments) {
        if (argument == u"--send"_s || toolkit::IsProgramSwitch(argument))
            continue;
        if (argument == u"--help"_s) {
            parsed.help = true;
        } else if (argument == u"--version"_s) {
            parsed.version = true;
        } else if (argument.startsWith(u"--host="_s)) {
            in.remoteHost = valueOf(argument);
        } else if (argument.startsWith(u"--port="_s)) {
            in.port = valueOf(argument);
        } else if (argument.startsWith(u"--password-file="_s)) {
            const auto password = toolkit::FirstLineOf(valueOf(argument));
            if (!password) {
                parsed.error = u"korvalla: cannot read the password file "_s + valueOf(argument);
                return parsed;
            }
            in.password = *password;
        } else if (argument == u"--auto"_s || argument == u"--manual"_s) {
            in.autoMode = argument == u"--auto"_s;
        } else if (argument == u"--overwrite"_s || argument == u"--resume"_s) {
            in.overwrite = argument == u"--overwrite"_s;
        } else if (argument.startsWith(u"--retries="_s)) {
            bool ok = false;
            const int retries = valueOf(argument).toInt(&ok);
            if (!ok || retries < 0) {
                parsed.error = u"korvalla: --retries needs a whole number of 0 or more"_s;
                return parsed;
            }
            in.retries = retries;
        } else if (argument.startsWith(u"--"_s)) {
            parsed.error = u"korvalla: unknown option "_s + argument;
            return parsed;
        } else {
            const QString path = QFileInfo(argument).absoluteFilePath();
            if (path.contains(u'|')) {
                parsed.error = u"korvalla: a file path may not hold \"|\": "_s + path;
                return parsed;
            }
            in.names.append(QFileInfo(path).fileName());
            in.filePaths = toolkit::JoinText(in.filePaths, path, u"|"_s);
        }
    }
    return parsed;
}

// The batch's window in a terminal: status and progress on standard error,
// questions answered on standard input, the report on standard output.
class TerminalWindow : public SendWindow
{
public:
    TerminalWindow(BatchInputs inputs, std::FILE* answers)
        : m_inputs(std::move(inputs))
        , m_answers(answers)
        , m_interactive(::isatty(::fileno(stderr)) == 1)
    {}

    void terminate()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_terminating = true;
        }
        m_changed.notify_all();
    }

    BatchInputs inputs() override { return m_inputs; }
    bool terminating() const override { return m_terminating; }
    void showError(const QString& text) override { toolkit::PrintLine(stderr, text); }
    bool confirmStart() override { return true; } // the command is the confirmation
    void setBusy(bool busy) override
    {
        if (!busy)
            endProgressLine();
    }

    void showStatus(const StatusTexts& status) override
    {
        if (status.fileNumber.isEmpty())
            return;
        m_status = status;
        if (m_interactive) {
            drawBar();
        } else if (statusLine() != m_lastLine) {
            m_lastLine = statusLine();
            toolkit::PrintLine(stderr, m_lastLine);
        }
    }

    void showProgress(int percent) override
    {
        m_percent = percent;
        if (m_interactive)
            drawBar();
    }

    void showCountdown(const QString& text) override
    {
        if (text.isEmpty())
            return;
        endProgressLine();
        toolkit::PrintLine(stderr, text);
    }

    bool askOverwrite(const QString& question) override { return ask(question); }
    bool askRetry(const QString& question, const QString& caption) override
    {
        return ask(caption + u' ' + question);
    }
    void showReport(const QString& text) override
    {
        endProgressLine();
        toolkit::PrintLine(stdout, text);
    }

    bool waitUnlessTerminating(std::chrono::milliseconds duration) override
    {
        std::unique_lock lock(m_mutex);
        return !m_changed.wait_for(lock, duration, [this] { return m_terminating.load(); });
    }

private:
    QString statusLine() const
    {
        return m_status.fileNumber + u"  "_s + m_status.fileName + u"  "_s + m_status.percent +
               u"  "_s + m_status.speed + u"  "_s + m_status.remainingTime;
    }

    void drawBar()
    {
        const int filled = std::clamp(m_percent, 0, 100) * kBarWidth / 100;
        const QString bar = u'[' + QString(filled, u'#') + QString(kBarWidth - filled, u'.') + u']';
        std::fputs(
            QByteArray("\r\033[K" + (bar + u"  "_s + statusLine()).toLocal8Bit()).constData(),
            stderr);
        std::fflush(stderr);
        m_barShown = true;
    }

    void endProgressLine()
    {
        if (m_barShown)
            std::fputc('\n', stderr);
        m_barShown = false;
    }

    // A y/n line on standard input; anything else, or none, means no.
    bool ask(const QString& question)
    {
        endProgressLine();
        std::fputs((question + u" [y/n] "_s).toLocal8Bit().constData(), stderr);
        std::fflush(stderr);
        char line[256] = {};
        if (std::fgets(line, sizeof line, m_answers) == nullptr) {
            std::fputc('\n', stderr);
            return false;
        }
        if (::isatty(::fileno(m_answers)) != 1)
            std::fputs(line, stderr); // the answer from a pipe, for the record
        const QString answer = QString::fromLocal8Bit(line).trimmed().toLower();
        return answer == u"y"_s || answer == u"yes"_s || answer == u"j"_s || answer == u"ja"_s;
    }

    const BatchInputs m_inputs;
    std::FILE* const m_answers;
    const bool m_interactive;
    StatusTexts m_status;
    QString m_lastLine;
    int m_percent = 0;
    bool m_barShown = false;
    std::atomic<bool> m_terminating = false;
    std::mutex m_mutex;
    std::condition_variable m_changed;
};

} // namespace

bool WantsCommandLineSend(const QStringList& arguments)
{
    return arguments.contains(u"--send"_s);
}

int RunCommandLineSend(const QStringList& arguments, const QString& settingsFile,
                       std::FILE* answers)
{
    const ParsedArguments parsed = parse(arguments, settingsFile);
    if (parsed.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (parsed.version) {
        std::puts("korvalla 4.50");
        return 0;
    }
    if (!parsed.error.isEmpty()) {
        toolkit::PrintLine(stderr, parsed.error);
        return 2;
    }

    TerminalWindow window(parsed.inputs, answers);
    // SIGINT and SIGTERM wind the batch down like closing the window.
    const toolkit::TerminationSignals terminationSignals([&window](int) { window.terminate(); });
    const bool keepAwake = !toolkit::HasSwitch(u"/ALLOWSLEEP"_s);
    if (keepAwake)
        toolkit::KeepAwake();
    const BatchOutcome outcome = btnSendClick(window);
    if (keepAwake)
        toolkit::AllowSleep();
    switch (outcome) {
    case BatchOutcome::CheckFailed:
        return 2;
    case BatchOutcome::Delivered:
        return 0;
    case BatchOutcome::Declined:
    case BatchOutcome::Ended:
        break;
    }
    return 1;
}

} // namespace sender
