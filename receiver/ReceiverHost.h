#pragma once

#include <QString>

#include <chrono>
#include <mutex>

namespace receiver {

// The texts of one transfer row: the caller's address is the row's own
// text, then the five columns.
struct TransferRow
{
    QString address;
    QString fileName;
    QString size;
    QString progress;
    QString speed;
    QString remainingTime;

    friend bool operator==(const TransferRow&, const TransferRow&) = default;
};

using RowId = int;

// What a connection handler needs from the program that hosts it. Called
// from connection threads: the folder, the password and the terminating
// flag are read without the transfer list lock and must each give a whole
// value; the row and balloon calls are made only while the handler holds
// transferListLock(), and must not wait for the user-interface thread.
class ReceiverHost
{
public:
    virtual ~ReceiverHost() = default;

    virtual QString destinationFolder() const = 0;
    virtual QString currentPassword() const = 0;
    virtual bool terminating() const = 0;
    virtual std::chrono::milliseconds readTimeout() const;

    virtual std::mutex& transferListLock() = 0;
    // Adds the row at the bottom of the list and scrolls it into view.
    virtual RowId addRow(const TransferRow& row) = 0;
    virtual void setRow(RowId row, const TransferRow& texts) = 0;
    virtual void showBalloon(const QString& title, const QString& text) = 0;
};

} // namespace receiver
