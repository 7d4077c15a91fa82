#include "ConnectionHandler.h"

#include "ReceiverHost.h"

#include "protocol/Connection.h"
#include "protocol/Fields.h"
#include "toolkit/ExclusiveFile.h"
#include "toolkit/Formats.h"
#include "toolkit/Language.h"
#include "toolkit/SystemClock.h"
#include "toolkit/TextFunctions.h"

#include <QDir>
#include <QFileInfo>

#include <memory>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;
using protocol::Connection;
using toolkit::ExclusiveFile;

namespace receiver {
namespace {

// A running transfer's row is rewritten at most this often.
constexpr std::uint32_t kRowUpdateIntervalMs = 1000;

// A failure of the handler's own (file, disk, protocol values) rather than
// of the connection layer: it ends inside the handler.
struct TransferFailure
{};

struct Transfer
{
    QString peerAddress;
    QString fileName;
    std::int64_t announcedSize = 0;
    std::int64_t receivedCount = 0;
    std::int64_t intervalCount = 0;
    std::uint32_t nextUpdate = 0;
    std::optional<RowId> row;
    std::unique_ptr<ExclusiveFile> file;
};

bool isForbiddenName(const QString& name)
{
    return toolkit::TextContains(name, u".."_s, true) ||
           toolkit::TextContains(name, u":"_s, true) || toolkit::TextContains(name, u"\\"_s, true);
}

// Joined as texts, so that a name can never replace the folder.
QString senderFolderPath(const ReceiverHost& host, const Transfer& transfer)
{
    return toolkit::AddBackslash(toolkit::AddBackslash(host.destinationFolder()) +
                                 transfer.peerAddress);
}

QString filePath(const ReceiverHost& host, const Transfer& transfer)
{
    return senderFolderPath(host, transfer) + transfer.fileName;
}

// Only the last level is made: the destination folder itself must exist.
// An IPv6 caller's address holds ":", which is no folder name anywhere.
bool makeSenderFolder(const ReceiverHost& host, const Transfer& transfer)
{
    if (transfer.peerAddress.isEmpty() || transfer.peerAddress.contains(u':'))
        return false;
    const QString folder = senderFolderPath(host, transfer);
    // Another connection from the same caller may make it at the same moment.
    QDir().mkdir(folder);
    return QFileInfo(folder).isDir();
}

QString sizeText(const Transfer& transfer)
{
    return toolkit::SizeText(transfer.announcedSize, 1024, false);
}

TransferRow rowWith(const Transfer& transfer, QString progress, QString speed, QString remaining)
{
    return TransferRow{transfer.peerAddress, transfer.fileName, sizeText(transfer),
                       std::move(progress),  std::move(speed),  std::move(remaining)};
}

TransferRow addedRow(const Transfer& transfer)
{
    return rowWith(transfer, u"?"_s, u"?"_s, u"?"_s);
}

TransferRow progressRow(const Transfer& transfer)
{
    using namespace toolkit;
    const QString percent =
        IntToText(PercentOf(transfer.receivedCount, transfer.announcedSize, 100)) + u" %"_s;
    const QString speed = SizeText(transfer.intervalCount, 1024, false) + u'/' +
                          LangText(IsSwedish(), u"sek"_s, u"sec"_s);
    const QString remaining =
        DurationText((transfer.announcedSize - transfer.receivedCount) / transfer.intervalCount);
    return rowWith(transfer, percent, speed, remaining);
}

TransferRow completedRow(const Transfer& transfer)
{
    return rowWith(transfer, toolkit::LangText(toolkit::IsSwedish(), u"Klar!"_s, u"Done!"_s), {},
                   {});
}

TransferRow failedRow(const Transfer& transfer)
{
    return rowWith(transfer, u"N/A"_s, {}, {});
}

QString balloonText(const Transfer& transfer)
{
    return toolkit::LangText(toolkit::IsSwedish(),
                             u"Filen \""_s + transfer.fileName + u"\" är nu överförd."_s,
                             u"The file \""_s + transfer.fileName + u"\" is now transferred."_s);
}

// Runs a change of the transfer list under its lock. Nothing is touched
// once the program is terminating; errors of the list are ignored.
template <typename Change> void underListLock(ReceiverHost& host, Change change)
{
    if (host.terminating())
        return;
    const std::lock_guard lock(host.transferListLock());
    if (host.terminating())
        return;
    try {
        change();
    } catch (...) {
    }
}

std::unique_ptr<ExclusiveFile> openTarget(const QString& path, std::uint8_t writeMode)
{
    switch (writeMode) {
    case protocol::kWriteFromStart:
        // An existing file is emptied: new bytes must never sit in front of
        // old ones that a later resume would count as received.
        return ExclusiveFile::open(path, ExclusiveFile::Mode::Overwrite);
    case protocol::kContinueFile:
        return ExclusiveFile::open(path, ExclusiveFile::Mode::Continue);
    default:
        return nullptr;
    }
}

void updateProgressIfDue(ReceiverHost& host, Transfer& transfer)
{
    if (!toolkit::TickReached(toolkit::TickNow(), transfer.nextUpdate))
        return;
    underListLock(host, [&] { host.setRow(*transfer.row, progressRow(transfer)); });
    transfer.intervalCount = 0;
    transfer.nextUpdate = toolkit::TickNow() + kRowUpdateIntervalMs;
}

// The dialogue from the greeting to the completion line. Returns early,
// having touched nothing, for every refusal.
void receiveFile(ReceiverHost& host, Connection& connection, Transfer& transfer)
{
    protocol::writeTextLine(connection, protocol::kVersionText);
    if (protocol::readTextLine(connection) != protocol::kVersionText)
        return;
    if (host.currentPassword().isEmpty())
        return;
    if (host.destinationFolder().isEmpty())
        return;
    if (!ConstantTimeEquals(protocol::readTextLine(connection), host.currentPassword()))
        return;
    transfer.fileName = protocol::readTextLine(connection);
    transfer.announcedSize = connection.readInt64();
    if (isForbiddenName(transfer.fileName))
        return;
    if (!makeSenderFolder(host, transfer))
        return;

    const bool exists = QFileInfo(filePath(host, transfer)).isFile();
    connection.writeByte(exists ? protocol::kFileExists : protocol::kFileAbsent);
    underListLock(host, [&] { transfer.row = host.addRow(addedRow(transfer)); });

    const std::uint8_t writeMode = connection.readByte();
    const bool opens =
        writeMode == protocol::kWriteFromStart || writeMode == protocol::kContinueFile;
    if (opens) {
        transfer.file = openTarget(filePath(host, transfer), writeMode);
        if (!transfer.file)
            throw TransferFailure{};
    }
    if (writeMode == protocol::kContinueFile) {
        transfer.receivedCount = transfer.file->size();
        connection.writeInt64(transfer.receivedCount);
    }

    transfer.intervalCount = 0;
    transfer.nextUpdate = toolkit::TickNow() + kRowUpdateIntervalMs;
    std::vector<char> block(protocol::kPieceSize);
    while (transfer.receivedCount < transfer.announcedSize) {
        const std::int32_t length = connection.readInt32();
        if (length < 0 || static_cast<std::size_t>(length) > protocol::kPieceSize)
            throw protocol::ConnectionError("data block length out of range");
        connection.readExact(block.data(), static_cast<std::size_t>(length));
        if (length != 0) {
            if (!transfer.file || !transfer.file->writeAll(block.data(), length))
                throw TransferFailure{};
            transfer.receivedCount += length;
            transfer.intervalCount += length;
            if (transfer.row)
                updateProgressIfDue(host, transfer);
        }
        if (host.terminating())
            break;
    }
    if (host.terminating())
        return;

    // The file is closed before the sender hears that it has arrived, so
    // that an error on close is never reported as a delivered file.
    if (transfer.file && !transfer.file->close())
        throw TransferFailure{};
    protocol::writeTextLine(connection, protocol::kCompletionText);
    connection.disconnect();
    underListLock(host, [&] {
        if (transfer.row)
            host.setRow(*transfer.row, completedRow(transfer));
        host.showBalloon(u"Information"_s, balloonText(transfer));
    });
}

} // namespace

void tcpServerExecute(ReceiverHost& host, Connection& connection)
{
    Transfer transfer;
    transfer.peerAddress = connection.peerAddress();
    connection.setReadTimeout(host.readTimeout());

    const auto failed = [&] {
        transfer.file.reset();
        connection.disconnect();
        if (transfer.row)
            underListLock(host, [&] { host.setRow(*transfer.row, failedRow(transfer)); });
    };
    try {
        receiveFile(host, connection, transfer);
    } catch (const protocol::ConnectionError&) {
        failed();
        throw;
    } catch (...) {
        failed();
        return;
    }
    transfer.file.reset();
    connection.disconnect();
}

bool ConstantTimeEquals(const QString& left, const QString& right)
{
    const qsizetype length = std::max(left.size(), right.size());
    unsigned difference = left.size() == right.size() ? 0u : 1u;
    for (qsizetype i = 0; i < length; ++i) {
        const unsigned a = i < left.size() ? left[i].unicode() : 0u;
        const unsigned b = i < right.size() ? right[i].unicode() : 0u;
        difference |= a ^ b;
    }
    return difference == 0;
}

} // namespace receiver
