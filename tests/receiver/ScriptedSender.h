#pragma once

#include "protocol/Connection.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

namespace testing_support {

// The sender's half of the dialogue, step by step, so that a test can stop
// or misbehave anywhere.
class ScriptedSender
{
public:
    explicit ScriptedSender(std::uint16_t port, const QString& host = QStringLiteral("127.0.0.1"));

    QString readGreeting();
    // Sends version, password, name and size; reads the exists flag.
    std::uint8_t announce(const QString& password, const QString& name, std::int64_t size);
    // Sends the write mode; after "continue" returns the resume offset, else 0.
    std::int64_t chooseWriteMode(std::uint8_t mode);
    // Sends Bytes[From, To) in blocks of at most 32768 bytes.
    void sendData(const QByteArray& bytes, std::int64_t from, std::int64_t to);
    QString readCompletion();

    protocol::Connection& connection() { return *m_connection; }

private:
    std::unique_ptr<protocol::Connection> m_connection;
};

struct Delivery
{
    std::uint8_t exists = 0;
    std::int64_t offset = 0;
    QString completion;
};

// One whole file: overwrite when absent, otherwise the given mode (default
// continue). Throws protocol::ConnectionError when the receiver closes.
Delivery deliver(std::uint16_t port, const QString& password, const QString& name,
                 const QByteArray& content, std::optional<std::uint8_t> modeWhenExists = {});

} // namespace testing_support
