#pragma once

#include <QByteArray>
#include <QString>

#include <ostream>

// Readable Qt values in GoogleTest's failure messages.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* out)
{
    if (bytes.size() > 64)
        *out << bytes.size() << " bytes, starting " << bytes.left(32).toHex(' ').toStdString();
    else
        *out << '"' << bytes.toStdString() << '"';
}
