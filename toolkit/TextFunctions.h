#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace toolkit {

// The separator that ends a folder path on this platform.
#ifdef Q_OS_WIN
inline constexpr QChar kPathSeparator = u'\\';
#else
inline constexpr QChar kPathSeparator = u'/';
#endif

// Positions are 1-based and lengths count UTF-16 code units throughout.
QString UpperText(const QString& text);
QString MidText(const QString& text, int index, int count);
QString LeftText(const QString& text, int n);
QString RightText(const QString& text, int n);

// Empty stays empty; otherwise the path ends in exactly the separator it
// had, or gets one.
QString AddBackslash(const QString& path);

QString JoinText(const QString& list, const QString& item, const QString& separator);
// The non-empty pieces between separators, in order.
QStringList SplitText(const QString& text, const QString& separator);
// One left-to-right pass; inserted text is not scanned again. Empty when
// Text or Old is empty.
QString SubstituteText(const QString& text, const QString& oldText, const QString& newText,
                       bool caseSensitive);
bool TextContains(const QString& text, const QString& part, bool caseSensitive);

// Optional leading blanks, an optional sign, then decimal digits or hex
// digits after "$", "x" or "0x". Default for anything else or a value
// outside 32 bits.
int TextToInt(const QString& text, int defaultValue);
QString IntToText(std::int64_t value);
QString PadLeftText(const QString& text, QChar character, int width);
QString ZeroPad(std::int64_t value, int width);
QString RepeatChar(QChar character, int n);
bool IsAllDigits(const QString& text);
QString TextBeforeNul(const QString& text);
bool NotFlag(bool flag);
std::int64_t LimitRange(std::int64_t value, std::int64_t min, std::int64_t max);

} // namespace toolkit
