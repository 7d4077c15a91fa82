#include "toolkit/Formats.h"

#include "support/ScopedEnvironment.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::StringLiterals;
using namespace toolkit;
using testing_support::ScopedLocale;

namespace {

const QLocale kUnitedStates(QLocale::English, QLocale::UnitedStates);
const QLocale kSweden(QLocale::Swedish, QLocale::Sweden);

TEST(SizeText, UnitsWithUnitedStatesSeparators)
{
    const ScopedLocale locale(kUnitedStates);
    const struct
    {
        std::int64_t value;
        bool whole;
        QString text;
    } cases[] = {
        {-1, false, u"0 B"_s},
        {0, false, u"0 B"_s},
        {1023, false, u"1,023 B"_s},
        {1024, false, u"1.00 kB"_s},
        {1536, false, u"1.50 kB"_s},
        {1536, true, u"1 kB"_s},
        {1048575, false, u"1,024.00 kB"_s},
        {1048576, false, u"1.00 MB"_s},
        {1073741824, false, u"1.00 GB"_s},
        {1099511627776, false, u"1.00 TB"_s},
        {std::int64_t{5} * 1099511627776 * 1024, false, u"5,120.00 TB"_s},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SizeText(c.value, 1024, c.whole), c.text) << c.value;
}

TEST(SizeText, RegionalSeparatorsFollowTheUserLocale)
{
    const ScopedLocale locale(kSweden);
    const QString group = kSweden.groupSeparator();
    EXPECT_EQ(SizeText(1536, 1024, false), u"1,50 kB"_s);
    EXPECT_EQ(SizeText(1048575, 1024, false), u"1"_s + group + u"024,00 kB"_s);
    EXPECT_EQ(NumberText(1234567), u"1"_s + group + u"234"_s + group + u"567"_s);
}

TEST(NumberText, GroupsAndSign)
{
    const ScopedLocale locale(kUnitedStates);
    EXPECT_EQ(NumberText(0), u"0"_s);
    EXPECT_EQ(NumberText(999), u"999"_s);
    EXPECT_EQ(NumberText(1000), u"1,000"_s);
    EXPECT_EQ(NumberText(-1234567), u"-1,234,567"_s);
    EXPECT_EQ(DecimalText(0.005L), u"0.01"_s);
    EXPECT_EQ(DecimalText(1234.5L), u"1,234.50"_s);
}

TEST(DurationText, HoursMinutesSeconds)
{
    const struct
    {
        std::int64_t seconds;
        QString text;
    } cases[] = {
        {0, u"00:00:00"_s},    {59, u"00:00:59"_s},    {3599, u"00:59:59"_s},
        {3600, u"01:00:00"_s}, {86399, u"23:59:59"_s}, {360000, u"100:00:00"_s},
        {-5, u"00:00:-5"_s},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DurationText(c.seconds), c.text) << c.seconds;
}

TEST(PercentOf, RoundsHalfToEvenAndAbsorbsFailures)
{
    const struct
    {
        std::int64_t part, whole, scale, result;
    } cases[] = {
        {1, 8, 100, 12},
        {3, 8, 100, 38},
        {5, 0, 100, 0},
        {0, 0, 100, 0},
        {25, 100, 214, 54},
        {50, 100, 214, 107},
        {75, 100, 214, 160},
        {1, 2, 1, 0},
        {3, 2, 1, 2},
        {-1, 8, 100, -12},
        {std::numeric_limits<std::int64_t>::max(), 1, 100, 0},
        {std::int64_t{3} << 40, std::int64_t{4} << 40, 100, 75},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PercentOf(c.part, c.whole, c.scale), c.result)
            << c.part << "/" << c.whole << "*" << c.scale;
}

TEST(DateAndTimeText, LocalTimeZeroPadded)
{
    const QDateTime stamp(QDate(2026, 3, 7), QTime(9, 5, 2, 999), Qt::LocalTime);
    EXPECT_EQ(DateText(stamp), u"2026-03-07"_s);
    EXPECT_EQ(TimeText(stamp), u"09:05:02"_s);
    EXPECT_EQ(YearText(QDateTime(QDate(812, 1, 1), QTime(0, 0), Qt::LocalTime)), u"0812"_s);
}

} // namespace
