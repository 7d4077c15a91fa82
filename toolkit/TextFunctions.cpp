#include "TextFunctions.h"

#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;

namespace toolkit {

QString UpperText(const QString& text)
{
    return text.toUpper();
}

QString MidText(const QString& text, int index, int count)
{
    const qsizetype start = std::max(index, 1) - 1;
    if (count <= 0 || start >= text.size())
        return {};
    return text.mid(start, count);
}

QString LeftText(const QString& text, int n)
{
    return MidText(text, 1, n);
}

QString RightText(const QString& text, int n)
{
    return MidText(text, static_cast<int>(text.size()) - n + 1, n);
}

QString AddBackslash(const QString& path)
{
    if (path.isEmpty() || path.endsWith(kPathSeparator))
        return path;
    return path + kPathSeparator;
}

QString JoinText(const QString& list, const QString& item, const QString& separator)
{
    if (list.isEmpty())
        return item;
    return list + separator + item;
}

QStringList SplitText(const QString& text, const QString& separator)
{
    QStringList pieces;
    if (text.isEmpty() || separator.isEmpty())
        return pieces;
    qsizetype from = 0;
    while (from < text.size()) {
        const qsizetype at = text.indexOf(separator, from, Qt::CaseSensitive);
        if (at < 0) {
            pieces.append(text.mid(from));
            break;
        }
        if (at > from)
            pieces.append(text.mid(from, at - from));
        from = at + separator.size();
    }
    return pieces;
}

QString SubstituteText(const QString& text, const QString& oldText, const QString& newText,
                       bool caseSensitive)
{
    if (text.isEmpty() || oldText.isEmpty())
        return {};
    const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    QString result;
    result.reserve(text.size());
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = text.indexOf(oldText, from, cs);
        if (at < 0)
            break;
        result += QStringView(text).mid(from, at - from);
        result += newText;
        from = at + oldText.size();
    }
    result += QStringView(text).mid(from);
    return result;
}

bool TextContains(const QString& text, const QString& part, bool caseSensitive)
{
    if (part.isEmpty())
        return false;
    if (caseSensitive)
        return text.contains(part, Qt::CaseSensitive);
    return UpperText(text).contains(UpperText(part), Qt::CaseSensitive);
}

namespace {

int hexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

} // namespace

int TextToInt(const QString& text, int defaultValue)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    int base = 10;
    if (i < n && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i < n && (text[i] == u'x' || text[i] == u'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= n)
        return defaultValue;

    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<int>::max()} + 1;
    std::int64_t value = 0;
    for (; i < n; ++i) {
        const int digit = hexDigitValue(text[i]);
        if (digit < 0 || digit >= base)
            return defaultValue;
        value = value * base + digit;
        if (value > limit)
            return defaultValue;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max())
        return defaultValue;
    return static_cast<int>(value);
}

QString IntToText(std::int64_t value)
{
    return QString::number(value);
}

QString PadLeftText(const QString& text, QChar character, int width)
{
    return RepeatChar(character, width - static_cast<int>(text.size())) + text;
}

QString ZeroPad(std::int64_t value, int width)
{
    return PadLeftText(IntToText(value), u'0', width);
}

QString RepeatChar(QChar character, int n)
{
    if (n <= 0)
        return {};
    return QString(n, character);
}

bool IsAllDigits(const QString& text)
{
    if (text.isEmpty())
        return false;
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() >= u'0' && c.unicode() <= u'9'; });
}

QString TextBeforeNul(const QString& text)
{
    const qsizetype at = text.indexOf(QChar(u'\0'));
    return at < 0 ? text : text.left(at);
}

bool NotFlag(bool flag)
{
    return !flag;
}

std::int64_t LimitRange(std::int64_t value, std::int64_t min, std::int64_t max)
{
    if (value < min)
        return min;
    if (value > max)
        return max;
    return value;
}

} // namespace toolkit
