#include "HexText.h"

#include "TextFunctions.h"

namespace toolkit {

QString TextToHex(const QString& text, const QString& alphabet, bool plain)
{
    QString hex;
    hex.reserve(text.size() * 4);
    for (const QChar c : text) {
        const std::uint32_t value = plain ? c.unicode() : (c.unicode() ^ 0xFFFFu);
        hex += IntToHexText(value, 4);
    }
    if (alphabet != kStandardHexAlphabet) {
        for (int k = 0; k < 16; ++k)
            hex =
                SubstituteText(hex, QString(kStandardHexAlphabet[k]), QString(alphabet[k]), false);
    }
    return hex;
}

QString HexToText(const QString& hexText, const QString& alphabet, bool plain)
{
    QString hex = hexText;
    if (alphabet != kStandardHexAlphabet) {
        for (int k = 0; k < 16; ++k)
            hex =
                SubstituteText(hex, QString(alphabet[k]), QString(kStandardHexAlphabet[k]), false);
    }
    QString text;
    text.reserve(hex.size() / 4 + 1);
    for (qsizetype at = 0; at < hex.size(); at += 4) {
        std::uint32_t value = static_cast<std::uint32_t>(HexToInt(hex.mid(at, 4).toUpper(), 0));
        if (!plain)
            value ^= 0xFFFFu;
        text += QChar(static_cast<char16_t>(value & 0xFFFFu));
    }
    return text;
}

QString IntToHexText(std::uint32_t value, int digits)
{
    return QString::number(value, 16).toUpper().rightJustified(digits, u'0');
}

int HexToInt(const QString& text, int defaultValue)
{
    if (text.isEmpty())
        return defaultValue;
    std::uint64_t value = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        int digit = -1;
        if (u >= u'0' && u <= u'9')
            digit = u - u'0';
        else if (u >= u'A' && u <= u'F')
            digit = u - u'A' + 10;
        else if (u >= u'a' && u <= u'f')
            digit = u - u'a' + 10;
        if (digit < 0)
            return defaultValue;
        value = value * 16 + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFu)
            return defaultValue;
    }
    return static_cast<int>(static_cast<std::uint32_t>(value));
}

} // namespace toolkit
