#include "toolkit/Language.h"

#include "support/ScopedEnvironment.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace toolkit;
using testing_support::ScopedArguments;
using testing_support::ScopedLocale;

namespace {

const QLocale kSweden(QLocale::Swedish, QLocale::Sweden);
const QLocale kFinlandSwedish(QLocale::Swedish, QLocale::Finland);
const QLocale kUnitedStates(QLocale::English, QLocale::UnitedStates);

struct LanguageCase
{
    QStringList arguments;
    QLocale locale;
    bool swedish;
};

class IsSwedishTable : public testing::TestWithParam<LanguageCase>
{};

TEST_P(IsSwedishTable, SwitchesFirstThenLocale)
{
    const LanguageCase& c = GetParam();
    const ScopedArguments arguments(c.arguments);
    const ScopedLocale locale(c.locale);
    EXPECT_EQ(IsSwedish(), c.swedish);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IsSwedishTable,
    testing::Values(LanguageCase{{}, kSweden, true}, LanguageCase{{}, kFinlandSwedish, false},
                    LanguageCase{{}, kUnitedStates, false},
                    LanguageCase{{u"/swedish"_s}, kUnitedStates, true},
                    LanguageCase{{u"/ENGLISH"_s}, kSweden, false},
                    LanguageCase{{u"/SWEDISH"_s, u"/ENGLISH"_s}, kUnitedStates, false},
                    LanguageCase{{u"/ENGLISH"_s, u"/swedish"_s}, kSweden, true},
                    LanguageCase{{u"-SWEDISH"_s}, kUnitedStates, false},
                    LanguageCase{{u"/SWEDISHX"_s}, kUnitedStates, false},
                    LanguageCase{{u"4520"_s, u"/Swedish"_s}, kUnitedStates, true}));

TEST(HasSwitch, WholeArgumentsOnly)
{
    const ScopedArguments arguments({u"/lines"_s, u"/ALLOWSLEEP now"_s});
    EXPECT_TRUE(HasSwitch(u"/LINES"_s, false));
    EXPECT_FALSE(HasSwitch(u"/LINES"_s, true));
    EXPECT_TRUE(HasSwitch(u"/lines"_s, true));
    EXPECT_FALSE(HasSwitch(u"/ALLOWSLEEP"_s, false));
    EXPECT_FALSE(HasSwitch(u"LINES"_s, false));
}

TEST(LangText, PicksByFlag)
{
    EXPECT_EQ(LangText(true, u"sek"_s, u"sec"_s), u"sek"_s);
    EXPECT_EQ(LangText(false, u"sek"_s, u"sec"_s), u"sec"_s);
}

} // namespace
