#pragma once

#include "receiver/ReceiverHost.h"
#include "support/QtPrinters.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace testing_support {

// A receiver host without a window: it keeps every row change and balloon
// in order, and lets the test wait for them.
class RecordingHost : public receiver::ReceiverHost
{
public:
    struct RowEvent
    {
        receiver::RowId row;
        receiver::TransferRow texts;
    };

    RecordingHost(QString folder, QString password);

    QString destinationFolder() const override;
    QString currentPassword() const override;
    bool terminating() const override { return m_terminating; }
    std::chrono::milliseconds readTimeout() const override { return m_readTimeout; }
    std::mutex& transferListLock() override { return m_listLock; }
    receiver::RowId addRow(const receiver::TransferRow& row) override;
    void setRow(receiver::RowId row, const receiver::TransferRow& texts) override;
    void showBalloon(const QString& title, const QString& text) override;

    void setDestinationFolder(const QString& folder);
    void setPassword(const QString& password);
    void setTerminating() { m_terminating = true; }
    void setReadTimeout(std::chrono::milliseconds timeout) { m_readTimeout = timeout; }

    std::vector<receiver::TransferRow> rows() const;
    std::vector<RowEvent> events() const;
    std::vector<std::pair<QString, QString>> balloons() const;

    // Waits until every one of Count rows shows a final outcome.
    bool waitForFinishedRows(std::size_t count);
    bool waitForBalloons(std::size_t count);
    // Waits until Count rows exist.
    bool waitForRows(std::size_t count);
    // Waits until some change of the rows satisfies the predicate.
    template <typename Predicate> bool waitForEvent(Predicate predicate);

private:
    template <typename Predicate> bool waitUntil(Predicate predicate);

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::mutex m_listLock;
    QString m_folder;
    QString m_password;
    std::atomic<bool> m_terminating = false;
    std::atomic<std::chrono::milliseconds> m_readTimeout = std::chrono::milliseconds(10000);
    std::vector<receiver::TransferRow> m_rows;
    std::vector<RowEvent> m_events;
    std::vector<std::pair<QString, QString>> m_balloons;
};

template <typename Predicate> bool RecordingHost::waitUntil(Predicate predicate)
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::seconds(30), predicate);
}

template <typename Predicate> bool RecordingHost::waitForEvent(Predicate predicate)
{
    return waitUntil([&] {
        for (const RowEvent& event : m_events) {
            if (predicate(event))
                return true;
        }
        return false;
    });
}

} // namespace testing_support
