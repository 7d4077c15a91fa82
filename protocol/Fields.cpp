#include "Fields.h"

#include "Connection.h"

#include "toolkit/HexText.h"

namespace protocol {

QByteArray EncodeTextLine(const QString& text)
{
    return toolkit::TextToHex(text, toolkit::kStandardHexAlphabet, true).toLatin1();
}

QString DecodeTextLine(const QByteArray& line)
{
    return toolkit::HexToText(QString::fromLatin1(line), toolkit::kStandardHexAlphabet, true);
}

void writeTextLine(Connection& connection, const QString& text)
{
    connection.writeLine(EncodeTextLine(text));
}

QString readTextLine(Connection& connection)
{
    return DecodeTextLine(connection.readLine());
}

void sendAnnouncement(Connection& connection, const QString& password, const QString& fileName,
                      std::int64_t fileSize)
{
    writeTextLine(connection, kVersionText);
    writeTextLine(connection, password);
    writeTextLine(connection, fileName);
    connection.writeInt64(fileSize);
}

} // namespace protocol
