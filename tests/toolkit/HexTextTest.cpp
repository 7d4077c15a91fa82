#include "toolkit/HexText.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace toolkit;

namespace {

struct HexCase
{
    QString text;
    QString alphabet;
    bool plain;
    QString hex;
};

class TextToHexTable : public testing::TestWithParam<HexCase>
{};

TEST_P(TextToHexTable, EncodesAndDecodesBack)
{
    const HexCase& c = GetParam();
    EXPECT_EQ(TextToHex(c.text, c.alphabet, c.plain), c.hex);
    EXPECT_EQ(HexToText(c.hex, c.alphabet, c.plain), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, TextToHexTable,
    testing::Values(HexCase{u""_s, kStandardHexAlphabet, true, u""_s},
                    HexCase{u"abc"_s, kStandardHexAlphabet, true, u"006100620063"_s},
                    HexCase{u"abc"_s, kStandardHexAlphabet, false, u"FF9EFF9DFF9C"_s},
                    HexCase{u"4.50"_s, kStandardHexAlphabet, true, u"0034002E00350030"_s},
                    HexCase{u"åäö€"_s, kStandardHexAlphabet, true, u"00E500E400F620AC"_s},
                    HexCase{u"\U0001F600"_s, kStandardHexAlphabet, true, u"D83DDE00"_s},
                    HexCase{u"abc"_s, u"0123456789abcdef"_s, true, u"006100620063"_s},
                    HexCase{u"\u00FE"_s, u"0123456789abcdef"_s, true, u"00fe"_s},
                    HexCase{u"Zz"_s, u"qrstuvwxyzghijkl"_s, true, u"qqvgqqxg"_s}));

TEST(HexToText, ChainedPassesOfAnAlphabetWithHexLetters)
{
    // The passes for "A".."F" run over what the digit passes wrote.
    EXPECT_EQ(TextToHex(u"a"_s, u"ABCDEFGHIJKLMNOP"_s, true), u"KKGL"_s);
}

TEST(HexToText, GroupsThatAreNotHexReadAsZero)
{
    const struct
    {
        QString hex;
        QString text;
    } cases[] = {
        {u"00410042"_s, u"AB"_s},           {u"0041004"_s, u"A\u0004"_s},
        {u"ZZZZ"_s, QString(QChar(u'\0'))}, {u"00410"_s, u"A"_s + QChar(u'\0')},
        {u"00G1"_s, QString(QChar(u'\0'))}, {u" 041"_s, QString(QChar(u'\0'))},
        {u"-001"_s, QString(QChar(u'\0'))}, {u"00410042"_s.toLower(), u"AB"_s},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HexToText(c.hex), c.text) << c.hex.toStdString();
    EXPECT_EQ(HexToText(u"ZZZZ"_s, kStandardHexAlphabet, false), QString(QChar(u'\xFFFF')));
}

TEST(HexToInt, DigitsAloneWithinThirtyTwoBits)
{
    EXPECT_EQ(HexToInt(u"FF"_s, -1), 255);
    EXPECT_EQ(HexToInt(u"ff"_s, -1), 255);
    EXPECT_EQ(HexToInt(u"FFFFFFFF"_s, 7), -1);
    EXPECT_EQ(HexToInt(u"100000000"_s, 7), 7);
    EXPECT_EQ(HexToInt(u""_s, 7), 7);
    EXPECT_EQ(HexToInt(u"$10"_s, 7), 7);
    EXPECT_EQ(HexToInt(u"0x10"_s, 7), 7);
}

TEST(IntToHexText, PadsToTheDigitsAsked)
{
    EXPECT_EQ(IntToHexText(0x2E, 4), u"002E"_s);
    EXPECT_EQ(IntToHexText(0x12345, 4), u"12345"_s);
}

} // namespace
