#include "ScriptedSender.h"

#include "protocol/Fields.h"

#include <algorithm>

namespace testing_support {

ScriptedSender::ScriptedSender(std::uint16_t port, const QString& host)
    : m_connection(protocol::Connection::connectTo(host, port))
{}

QString ScriptedSender::readGreeting()
{
    return protocol::readTextLine(*m_connection);
}

std::uint8_t ScriptedSender::announce(const QString& password, const QString& name,
                                      std::int64_t size)
{
    protocol::sendAnnouncement(*m_connection, password, name, size);
    return m_connection->readByte();
}

std::int64_t ScriptedSender::chooseWriteMode(std::uint8_t mode)
{
    m_connection->writeByte(mode);
    return mode == protocol::kContinueFile ? m_connection->readInt64() : 0;
}

void ScriptedSender::sendData(const QByteArray& bytes, std::int64_t from, std::int64_t to)
{
    while (from < to) {
        const auto length =
            static_cast<std::int32_t>(std::min<std::int64_t>(to - from, protocol::kPieceSize));
        m_connection->writeBlock(bytes.constData() + from, length);
        from += length;
    }
}

QString ScriptedSender::readCompletion()
{
    return protocol::readTextLine(*m_connection);
}

Delivery deliver(std::uint16_t port, const QString& password, const QString& name,
                 const QByteArray& content, std::optional<std::uint8_t> modeWhenExists)
{
    ScriptedSender sender(port);
    Delivery delivery;
    if (sender.readGreeting() != protocol::kVersionText)
        throw protocol::ConnectionError("wrong version");
    delivery.exists = sender.announce(password, name, content.size());
    const std::uint8_t mode = delivery.exists == protocol::kFileExists
                                  ? modeWhenExists.value_or(protocol::kContinueFile)
                                  : protocol::kWriteFromStart;
    delivery.offset = sender.chooseWriteMode(mode);
    sender.sendData(content, std::min<std::int64_t>(delivery.offset, content.size()),
                    content.size());
    delivery.completion = sender.readCompletion();
    return delivery;
}

} // namespace testing_support
