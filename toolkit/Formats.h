#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>

namespace toolkit {

// Digit groups with the user's thousands separator; "0" for zero.
QString NumberText(std::int64_t value);
// Thousands separators, the user's decimal separator, exactly two decimals.
QString DecimalText(long double value);
// A byte count with "B", "kB", "MB", "GB" or "TB"; the unit is chosen
// before the number is rounded. Base must be at least 2 with Base^4 in 64 bits.
QString SizeText(std::int64_t value, std::int64_t base = 1024, bool wholeUnits = false);
// hours:minutes:seconds, two digits each at least; hours are not capped.
QString DurationText(std::int64_t seconds);
// Part / Whole x Scale rounded half to even; 0 for any arithmetic failure.
std::int64_t PercentOf(std::int64_t part, std::int64_t whole, std::int64_t scale);

int YearOfStamp(const QDateTime& stamp);
int MonthOfStamp(const QDateTime& stamp);
int DayOfStamp(const QDateTime& stamp);
int HourOfStamp(const QDateTime& stamp);
int MinuteOfStamp(const QDateTime& stamp);
int SecondOfStamp(const QDateTime& stamp);
QString YearText(const QDateTime& stamp);
QString MonthText(const QDateTime& stamp);
QString DayText(const QDateTime& stamp);
QString HourText(const QDateTime& stamp);
QString MinuteText(const QDateTime& stamp);
QString SecondText(const QDateTime& stamp);
// YYYY-MM-DD and HH:MM:SS of the local time.
QString DateText(const QDateTime& stamp);
QString TimeText(const QDateTime& stamp);

} // namespace toolkit
