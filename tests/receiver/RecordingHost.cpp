#include "RecordingHost.h"

using namespace Qt::StringLiterals;

namespace testing_support {

RecordingHost::RecordingHost(QString folder, QString password)
    : m_folder(std::move(folder))
    , m_password(std::move(password))
{}

QString RecordingHost::destinationFolder() const
{
    const std::lock_guard lock(m_mutex);
    return m_folder;
}

QString RecordingHost::currentPassword() const
{
    const std::lock_guard lock(m_mutex);
    return m_password;
}

void RecordingHost::setDestinationFolder(const QString& folder)
{
    const std::lock_guard lock(m_mutex);
    m_folder = folder;
}

void RecordingHost::setPassword(const QString& password)
{
    const std::lock_guard lock(m_mutex);
    m_password = password;
}

receiver::RowId RecordingHost::addRow(const receiver::TransferRow& row)
{
    const std::lock_guard lock(m_mutex);
    m_rows.push_back(row);
    const auto id = static_cast<receiver::RowId>(m_rows.size() - 1);
    m_events.push_back({id, row});
    m_changed.notify_all();
    return id;
}

void RecordingHost::setRow(receiver::RowId row, const receiver::TransferRow& texts)
{
    const std::lock_guard lock(m_mutex);
    m_rows.at(static_cast<std::size_t>(row)) = texts;
    m_events.push_back({row, texts});
    m_changed.notify_all();
}

void RecordingHost::showBalloon(const QString& title, const QString& text)
{
    const std::lock_guard lock(m_mutex);
    m_balloons.emplace_back(title, text);
    m_changed.notify_all();
}

std::vector<receiver::TransferRow> RecordingHost::rows() const
{
    const std::lock_guard lock(m_mutex);
    return m_rows;
}

std::vector<RecordingHost::RowEvent> RecordingHost::events() const
{
    const std::lock_guard lock(m_mutex);
    return m_events;
}

std::vector<std::pair<QString, QString>> RecordingHost::balloons() const
{
    const std::lock_guard lock(m_mutex);
    return m_balloons;
}

bool RecordingHost::waitForRows(std::size_t count)
{
    return waitUntil([&] { return m_rows.size() >= count; });
}

bool RecordingHost::waitForFinishedRows(std::size_t count)
{
    return waitUntil([&] {
        if (m_rows.size() < count)
            return false;
        for (const auto& row : m_rows) {
            if (row.progress != u"N/A"_s && row.progress != u"Done!"_s &&
                row.progress != u"Klar!"_s)
                return false;
        }
        return true;
    });
}

} // namespace testing_support

namespace testing_support {

bool RecordingHost::waitForBalloons(std::size_t count)
{
    return waitUntil([&] { return m_balloons.size() >= count; });
}

} // namespace testing_support
