#pragma once

#include <QString>

#include <cstdint>

namespace protocol {

class Connection;

inline const QString kVersionText = QStringLiteral("4.50");
inline const QString kCompletionText = QStringLiteral("OK!");
inline constexpr std::uint16_t kDefaultPort = 4520;

// Exists flag, receiver to sender.
inline constexpr std::uint8_t kFileAbsent = 0x00;
inline constexpr std::uint8_t kFileExists = 0x01;
// Write mode, sender to receiver.
inline constexpr std::uint8_t kWriteFromStart = 0x00;
inline constexpr std::uint8_t kContinueFile = 0x01;

// A text line's bytes without CR LF: four hex digits per UTF-16 unit, each
// digit one 8-bit character.
QByteArray EncodeTextLine(const QString& text);
// Upper- or lower-case digits; every byte is taken as the code unit of the
// same value before decoding.
QString DecodeTextLine(const QByteArray& line);

void writeTextLine(Connection& connection, const QString& text);
// Empty when the line did not arrive in time.
QString readTextLine(Connection& connection);

// The sender's fields after a greeting of the right version: its version,
// the password, the file name and the file size, in one go.
void sendAnnouncement(Connection& connection, const QString& password, const QString& fileName,
                      std::int64_t fileSize);

} // namespace protocol
