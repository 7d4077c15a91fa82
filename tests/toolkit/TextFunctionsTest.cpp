#include "toolkit/TextFunctions.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <limits>

using namespace Qt::StringLiterals;
using namespace toolkit;

namespace {

TEST(SplitText, NonEmptyPiecesInOrder)
{
    const struct
    {
        QString text;
        QString separator;
        QStringList pieces;
    } cases[] = {
        {u""_s, u"|"_s, {}},
        {u"a"_s, u""_s, {}},
        {u"|"_s, u"|"_s, {}},
        {u"a|b"_s, u"|"_s, {u"a"_s, u"b"_s}},
        {u"a||b|"_s, u"|"_s, {u"a"_s, u"b"_s}},
        {u"|a"_s, u"|"_s, {u"a"_s}},
        {u"/x/y.bin|/z"_s, u"|"_s, {u"/x/y.bin"_s, u"/z"_s}},
        {u"aXYbXY"_s, u"XY"_s, {u"a"_s, u"b"_s}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitText(c.text, c.separator), c.pieces) << c.text.toStdString();
}

TEST(JoinText, ItemAloneOnAnEmptyList)
{
    EXPECT_EQ(JoinText(u""_s, u"x"_s, u"|"_s), u"x"_s);
    EXPECT_EQ(JoinText(u"a"_s, u"x"_s, u"|"_s), u"a|x"_s);
    EXPECT_EQ(JoinText(u"a"_s, u""_s, u"|"_s), u"a|"_s);
}

TEST(SubstituteText, OnePassLeftToRight)
{
    EXPECT_EQ(SubstituteText(u"abc"_s, u""_s, u"x"_s, true), u""_s);
    EXPECT_EQ(SubstituteText(u""_s, u"a"_s, u"x"_s, true), u""_s);
    EXPECT_EQ(SubstituteText(u"aAa"_s, u"a"_s, u"b"_s, false), u"bbb"_s);
    EXPECT_EQ(SubstituteText(u"aAa"_s, u"a"_s, u"b"_s, true), u"bAb"_s);
    // The inserted text is not scanned again.
    EXPECT_EQ(SubstituteText(u"aa"_s, u"a"_s, u"aa"_s, true), u"aaaa"_s);
    EXPECT_EQ(SubstituteText(u"aaa"_s, u"aa"_s, u"b"_s, true), u"ba"_s);
}

TEST(TextContains, CaseAndEmptyPart)
{
    EXPECT_TRUE(TextContains(u"report..pdf"_s, u".."_s, true));
    EXPECT_FALSE(TextContains(u"Report"_s, u"rep"_s, true));
    EXPECT_TRUE(TextContains(u"Report"_s, u"rep"_s, false));
    EXPECT_TRUE(TextContains(u"Ärende"_s, u"ä"_s, false));
    EXPECT_FALSE(TextContains(u"abc"_s, u""_s, false));
}

TEST(TextToInt, PrefixesSignsAndRange)
{
    const struct
    {
        QString text;
        int expected;
    } cases[] = {
        {u"4520"_s, 4520},
        {u"  -12"_s, -12},
        {u"+7"_s, 7},
        {u"$1F"_s, 31},
        {u"x1f"_s, 31},
        {u"0x10"_s, 16},
        {u"0X10"_s, 16},
        {u"-$10"_s, -16},
        {u"2147483647"_s, 2147483647},
        {u"-2147483648"_s, std::numeric_limits<int>::min()},
        {u"2147483648"_s, -1},
        {u"99999999999"_s, -1},
        {u"0x80000000"_s, -1},
        {u""_s, -1},
        {u"  "_s, -1},
        {u"12a"_s, -1},
        {u"yes"_s, -1},
        {u"0x"_s, -1},
        {u"12 "_s, -1},
        {u"1 2"_s, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextToInt(c.text, -1), c.expected) << c.text.toStdString();
}

TEST(PadLeftText, NeverCuts)
{
    EXPECT_EQ(PadLeftText(u"12345"_s, u'0', 2), u"12345"_s);
    EXPECT_EQ(PadLeftText(u"5"_s, u'0', 3), u"005"_s);
    EXPECT_EQ(ZeroPad(-5, 2), u"-5"_s);
    EXPECT_EQ(ZeroPad(7, 4), u"0007"_s);
    EXPECT_EQ(RepeatChar(u'x', 0), u""_s);
    EXPECT_EQ(RepeatChar(u'x', -3), u""_s);
}

TEST(MidText, OneBasedAndClipped)
{
    EXPECT_EQ(MidText(u"abcdef"_s, 2, 3), u"bcd"_s);
    EXPECT_EQ(MidText(u"abcdef"_s, 0, 2), u"ab"_s);
    EXPECT_EQ(MidText(u"abcdef"_s, 5, 10), u"ef"_s);
    EXPECT_EQ(MidText(u"abcdef"_s, 9, 1), u""_s);
    EXPECT_EQ(LeftText(u"abcdef"_s, 2), u"ab"_s);
    EXPECT_EQ(RightText(u"abcdef"_s, 2), u"ef"_s);
    EXPECT_EQ(RightText(u"ab"_s, 5), u"ab"_s);
}

TEST(AddBackslash, OneSeparatorAtTheEnd)
{
    const QString sep(kPathSeparator);
    EXPECT_EQ(AddBackslash(u""_s), u""_s);
    EXPECT_EQ(AddBackslash(u"folder"_s), u"folder"_s + sep);
    EXPECT_EQ(AddBackslash(u"folder"_s + sep), u"folder"_s + sep);
}

TEST(IsAllDigits, AsciiDigitsOnly)
{
    EXPECT_FALSE(IsAllDigits(u""_s));
    EXPECT_TRUE(IsAllDigits(u"4520"_s));
    EXPECT_FALSE(IsAllDigits(u"45 20"_s));
    EXPECT_FALSE(IsAllDigits(u"-1"_s));
    EXPECT_FALSE(IsAllDigits(u"\u0664\u0665"_s)); // Arabic-Indic digits are not ASCII
}

TEST(SmallHelpers, NulLimitAndFlag)
{
    EXPECT_EQ(TextBeforeNul(u"abc"_s + QChar(u'\0') + u"def"_s), u"abc"_s);
    EXPECT_EQ(TextBeforeNul(u"abc"_s), u"abc"_s);
    EXPECT_EQ(LimitRange(-5, 0, 255), 0);
    EXPECT_EQ(LimitRange(300, 0, 255), 255);
    EXPECT_EQ(LimitRange(17, 0, 255), 17);
    EXPECT_TRUE(NotFlag(false));
    EXPECT_FALSE(NotFlag(true));
    EXPECT_EQ(IntToText(-42), u"-42"_s);
}

} // namespace
