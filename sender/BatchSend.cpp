#include "BatchSend.h"

#include "SendWindow.h"

#include "protocol/Connection.h"
#include "protocol/Fields.h"
#include "toolkit/ExclusiveFile.h"
#include "toolkit/Formats.h"
#include "toolkit/Language.h"
#include "toolkit/SystemClock.h"
#include "toolkit/TextFunctions.h"

#include <QFileInfo>

#include <memory>
#include <vector>

using namespace Qt::StringLiterals;
using protocol::Connection;
using toolkit::ExclusiveFile;
using toolkit::LangText;

namespace sender {
namespace {

constexpr std::uint32_t kLabelIntervalMs = 1000;
constexpr int kCountdownSeconds = 5;

// Why an attempt failed is never shown; only that it did.
struct AttemptFailed
{};

bool swedish()
{
    return toolkit::IsSwedish();
}

QString quoted(const QString& text)
{
    return u'"' + text + u'"';
}

// The first failing check's message, or nothing when all pass.
QString firstFailedCheck(const BatchInputs& inputs)
{
    if (inputs.remoteHost.isEmpty())
        return LangText(swedish(), u"Ange en värddator."_s, u"Specify a remote host."_s);
    if (inputs.port.isEmpty())
        return LangText(swedish(), u"Ange en port."_s, u"Specify a port."_s);
    if (inputs.password.isEmpty())
        return LangText(swedish(), u"Ange ett lösenord."_s, u"Specify a password."_s);
    if (inputs.names.isEmpty())
        return LangText(swedish(), u"Lägg till en eller flera filer."_s,
                        u"Add one or more files."_s);
    return {};
}

QString overwriteQuestion(const QString& name)
{
    return LangText(swedish(),
                    u"Filen "_s + quoted(name) +
                        u" existerar redan på servern. Vill du skriva över filen? Välj Nej för "
                        u"att fortsätta skriva filen."_s,
                    u"The file "_s + quoted(name) +
                        u" already exists on the server. Do you want to overwrite the file? "
                        u"Select No to continue writing the file."_s);
}

QString retryQuestion(const QString& name)
{
    return LangText(swedish(),
                    u"Ett fel uppstod vid försök att skicka filen "_s + quoted(name) +
                        u". Programmet försöker igen om du väljer OK."_s,
                    u"An error occured while trying to send the file "_s + quoted(name) +
                        u". The program will try again if you select OK."_s);
}

class Batch
{
public:
    Batch(SendWindow& window, BatchInputs inputs)
        : m_window(window)
        , m_inputs(std::move(inputs))
        , m_paths(toolkit::SplitText(m_inputs.filePaths, u"|"_s))
    {}

    // True when every file arrived.
    bool run()
    {
        const QDateTime start = QDateTime::currentDateTime();
        qsizetype delivered = 0;
        for (qsizetype i = 0; i < m_paths.size(); ++i) {
            m_fileFinished = false;
            m_delivered = false;
            m_failures = 0;
            while (!m_fileFinished && !m_batchEnded)
                attemptWithRetry(i);
            delivered += m_delivered ? 1 : 0;
            if (m_stop || m_batchEnded)
                break;
        }
        m_window.showStatus({});
        m_window.setBusy(false);
        const QDateTime end = QDateTime::currentDateTime();
        if (!m_window.terminating())
            m_window.showReport(ReportText(start, end));
        return delivered == m_paths.size() && !m_paths.isEmpty();
    }

private:
    QString nameAt(qsizetype i) const
    {
        return i < m_inputs.names.size() ? m_inputs.names[i] : QFileInfo(m_paths[i]).fileName();
    }

    void attemptWithRetry(qsizetype i)
    {
        try {
            attempt(i);
        } catch (...) {
            // A failure of the connection, the file or the receiver.
            retryAfterFailure(i);
        }
    }

    void attempt(qsizetype i)
    {
        const QString path = m_paths[i];
        const QString name = QFileInfo(path).fileName();
        auto file = ExclusiveFile::open(path, ExclusiveFile::Mode::Read);
        if (!file)
            throw AttemptFailed{};
        const std::int64_t size = file->size();

        StatusTexts status;
        status.fileNumber = toolkit::NumberText(i + 1) + u' ' +
                            LangText(swedish(), u"av"_s, u"of"_s) + u' ' +
                            toolkit::NumberText(m_inputs.names.size());
        status.fileName = quoted(name);
        status.percent = status.speed = status.remainingTime = u"?"_s;
        m_window.showStatus(status);

        const auto port =
            static_cast<std::uint16_t>(toolkit::TextToInt(m_inputs.port, protocol::kDefaultPort));
        const auto connection =
            Connection::connectTo(m_inputs.remoteHost, port, m_window.connectTimeout());
        connection->setReadTimeout(m_window.readTimeout());

        if (protocol::readTextLine(*connection) != protocol::kVersionText)
            throw AttemptFailed{}; // "Wrong version."
        protocol::sendAnnouncement(*connection, m_inputs.password, name, size);
        std::int64_t done = 0;
        const std::uint8_t exists = connection->readByte();

        chooseWriteMode(*connection, *file, exists, nameAt(i), done);

        status.percent = status.speed = status.remainingTime = u"?"_s;
        m_window.showStatus(status);
        sendData(*connection, *file, size, done, status);

        m_window.showProgress(0);
        m_lastProgress = 0;
        protocol::readTextLine(*connection); // its content is not examined
        connection->disconnect();
        file->close();
        m_delivered = !m_stop;
        if (m_window.terminating()) {
            m_stop = true;
            m_batchEnded = true;
            return;
        }
        m_fileFinished = true;
    }

    void chooseWriteMode(Connection& connection, ExclusiveFile& file, std::uint8_t exists,
                         const QString& listName, std::int64_t& done)
    {
        if (exists != protocol::kFileAbsent && exists != protocol::kFileExists)
            return; // not the protocol's: no write mode, send from the start
        bool resume = false;
        if (exists == protocol::kFileExists) {
            if (m_inputs.autoMode)
                resume = !m_inputs.overwrite;
            else
                resume = !m_window.askOverwrite(overwriteQuestion(listName));
        }
        connection.writeByte(resume ? protocol::kContinueFile : protocol::kWriteFromStart);
        if (!resume)
            return;
        const std::int64_t offset = connection.readInt64();
        if (!file.seek(offset))
            throw AttemptFailed{};
        done = offset;
    }

    void sendData(Connection& connection, ExclusiveFile& file, std::int64_t size,
                  std::int64_t& done, StatusTexts& status)
    {
        std::int64_t intervalBytes = 0;
        std::uint32_t nextUpdate = m_window.tickNow() + kLabelIntervalMs;
        std::vector<char> buffer(protocol::kPieceSize);
        for (;;) {
            const std::int64_t n =
                file.read(buffer.data(), static_cast<std::int64_t>(buffer.size()));
            if (n < 0)
                throw AttemptFailed{};
            intervalBytes += n;
            done += n;
            if (n > 0) {
                connection.writeBlock(buffer.data(), static_cast<std::int32_t>(n));
                if (toolkit::TickReached(m_window.tickNow(), nextUpdate)) {
                    status.percent =
                        toolkit::IntToText(toolkit::PercentOf(done, size, 100)) + u" %"_s;
                    status.speed = toolkit::SizeText(intervalBytes, 1024, false) + u'/' +
                                   LangText(swedish(), u"sek"_s, u"sec"_s);
                    status.remainingTime = toolkit::DurationText((size - done) / intervalBytes);
                    m_window.showStatus(status);
                    intervalBytes = 0;
                    nextUpdate = m_window.tickNow() + kLabelIntervalMs;
                }
            }
            if (m_window.terminating()) {
                m_stop = true;
                break;
            }
            // The bar changes only when the percentage does.
            const auto percent = static_cast<int>(toolkit::PercentOf(done, size, 100));
            if (percent != m_lastProgress) {
                m_window.showProgress(percent);
                m_lastProgress = percent;
            }
            if (n == 0)
                break;
        }
    }

    void retryAfterFailure(qsizetype i)
    {
        ++m_failures;
        if (m_inputs.retries && m_failures > *m_inputs.retries) {
            m_stop = true; // the attempts allowed are used up
            m_fileFinished = true;
            return;
        }
        if (m_inputs.autoMode) {
            for (int n = kCountdownSeconds; n >= 1; --n) {
                m_window.showCountdown(u"Auto, "_s + toolkit::IntToText(n) +
                                       LangText(swedish(), u" sek..."_s, u" sec..."_s));
                if (!m_window.waitUnlessTerminating(std::chrono::milliseconds(1000)) ||
                    m_window.terminating()) {
                    m_stop = true;
                    m_fileFinished = true;
                    break;
                }
            }
            m_window.showCountdown({});
            return;
        }
        if (!m_window.askRetry(retryQuestion(nameAt(i)), LangText(swedish(), u"Hur vill du göra?"_s,
                                                                  u"How would you do?"_s))) {
            m_stop = true;
            m_fileFinished = true;
        }
    }

    SendWindow& m_window;
    const BatchInputs m_inputs;
    const QStringList m_paths;
    bool m_stop = false;
    bool m_fileFinished = false;
    bool m_batchEnded = false;
    bool m_delivered = false;
    int m_failures = 0;
    int m_lastProgress = 0;
};

} // namespace

QString ReportText(const QDateTime& start, const QDateTime& end)
{
    using namespace toolkit;
    return LangText(IsSwedish(), u"Klart! Åtgärden påbörjades "_s,
                    u"Done! The operation was started "_s) +
           DateText(start) + u" ("_s + TimeText(start) +
           LangText(IsSwedish(), u") och avslutades "_s, u") and ended "_s) + DateText(end) +
           u" ("_s + TimeText(end) + u")."_s;
}

BatchOutcome btnSendClick(SendWindow& window)
{
    const BatchInputs inputs = window.inputs();
    if (const QString failed = firstFailedCheck(inputs); !failed.isEmpty()) {
        window.showError(failed);
        return BatchOutcome::CheckFailed;
    }
    if (!window.confirmStart())
        return BatchOutcome::Declined;
    window.setBusy(true);
    return Batch(window, inputs).run() ? BatchOutcome::Delivered : BatchOutcome::Ended;
}

} // namespace sender
