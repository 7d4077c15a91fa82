#include "Formats.h"

#include "Environment.h"
#include "TextFunctions.h"

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace toolkit {
namespace {

QLocale formatLocale()
{
    QLocale locale = UserLocale();
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return locale;
}

QDateTime localTime(const QDateTime& stamp)
{
    return stamp.toLocalTime();
}

} // namespace

QString NumberText(std::int64_t value)
{
    return formatLocale().toString(static_cast<qlonglong>(value));
}

QString DecimalText(long double value)
{
    return formatLocale().toString(static_cast<double>(value), 'f', 2);
}

QString SizeText(std::int64_t value, std::int64_t base, bool wholeUnits)
{
    if (value < 0)
        value = 0;
    const std::int64_t b1 = base;
    const std::int64_t b2 = b1 * base;
    const std::int64_t b3 = b2 * base;
    const std::int64_t b4 = b3 * base;
    if (value < b1)
        return NumberText(value) + u" B"_s;

    std::int64_t divisor = b4;
    QString unit = u"TB"_s;
    if (value < b2) {
        divisor = b1;
        unit = u"kB"_s;
    } else if (value < b3) {
        divisor = b2;
        unit = u"MB"_s;
    } else if (value < b4) {
        divisor = b3;
        unit = u"GB"_s;
    }
    const QString number =
        wholeUnits
            ? NumberText(value / divisor)
            : DecimalText(static_cast<long double>(value) / static_cast<long double>(divisor));
    return number + u' ' + unit;
}

QString DurationText(std::int64_t seconds)
{
    const std::int64_t hours = seconds / 3600;
    const std::int64_t minutes = (seconds % 3600) / 60;
    const std::int64_t rest = (seconds % 3600) % 60;
    return ZeroPad(hours, 2) + u':' + ZeroPad(minutes, 2) + u':' + ZeroPad(rest, 2);
}

std::int64_t PercentOf(std::int64_t part, std::int64_t whole, std::int64_t scale)
{
    if (whole == 0)
        return 0;
    const long double exact = static_cast<long double>(part) / static_cast<long double>(whole) *
                              static_cast<long double>(scale);
    if (!std::isfinite(exact))
        return 0;
    // The default rounding mode, to nearest, rounds halves to the even neighbour.
    const long double rounded = std::nearbyintl(exact);
    constexpr long double limit = 9223372036854775808.0L; // 2^63
    if (rounded >= limit || rounded < -limit)
        return 0;
    return static_cast<std::int64_t>(rounded);
}

int YearOfStamp(const QDateTime& stamp)
{
    return localTime(stamp).date().year();
}
int MonthOfStamp(const QDateTime& stamp)
{
    return localTime(stamp).date().month();
}
int DayOfStamp(const QDateTime& stamp)
{
    return localTime(stamp).date().day();
}
int HourOfStamp(const QDateTime& stamp)
{
    return localTime(stamp).time().hour();
}
int MinuteOfStamp(const QDateTime& stamp)
{
    return localTime(stamp).time().minute();
}
int SecondOfStamp(const QDateTime& stamp)
{
    return localTime(stamp).time().second();
}

QString YearText(const QDateTime& stamp)
{
    return ZeroPad(YearOfStamp(stamp), 4);
}
QString MonthText(const QDateTime& stamp)
{
    return ZeroPad(MonthOfStamp(stamp), 2);
}
QString DayText(const QDateTime& stamp)
{
    return ZeroPad(DayOfStamp(stamp), 2);
}
QString HourText(const QDateTime& stamp)
{
    return ZeroPad(HourOfStamp(stamp), 2);
}
QString MinuteText(const QDateTime& stamp)
{
    return ZeroPad(MinuteOfStamp(stamp), 2);
}
QString SecondText(const QDateTime& stamp)
{
    return ZeroPad(SecondOfStamp(stamp), 2);
}

QString DateText(const QDateTime& stamp)
{
    return YearText(stamp) + u'-' + MonthText(stamp) + u'-' + DayText(stamp);
}

QString TimeText(const QDateTime& stamp)
{
    return HourText(stamp) + u':' + MinuteText(stamp) + u':' + SecondText(stamp);
}

} // namespace toolkit
