// How amounts, dates and revenue codes are written into the files and the SQL texts.
#include "export/RecordConventions.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdlib>
#include <optional>
#include <string>

namespace lrf {
namespace {

RegionalSettings WithDecimal(char16_t decimal) {
    RegionalSettings regional;
    regional.decimalSeparator = QChar(decimal);
    return regional;
}

struct MoneyCase {
    std::int64_t units; // ten-thousandths
    char16_t decimal;
    const char* expected;
};

class MoneyTextTest : public ::testing::TestWithParam<MoneyCase> {};

TEST_P(MoneyTextTest, WritesTwoDecimalsRoundedHalfAwayFromZero) {
    const MoneyCase& c = GetParam();
    EXPECT_EQ(MoneyText(Currency::FromUnits(c.units), WithDecimal(c.decimal)), c.expected) << c.units;
}

INSTANTIATE_TEST_SUITE_P(
    Amounts, MoneyTextTest,
    ::testing::Values(MoneyCase{12345000, u',', "1234,50"},              // no thousands separator
                      MoneyCase{12345000, u'.', "1234.50"},              // the regional separator
                      MoneyCase{0, u',', "0,00"},                        // also what a NULL reads as
                      MoneyCase{50, u',', "0,01"},                       // 0.005 rounds up
                      MoneyCase{-50, u',', "-0,01"},                     // -0.005 rounds away from zero
                      MoneyCase{49, u',', "0,00"},                       // 0.0049 rounds down
                      MoneyCase{-40, u',', "0,00"},                      // rounds to zero: no sign
                      MoneyCase{-1, u',', "0,00"},                       //
                      MoneyCase{-12345, u',', "-1,23"},                  //
                      MoneyCase{-12350, u',', "-1,24"},                  //
                      MoneyCase{9999950, u',', "1000,00"},               // the carry reaches the whole part
                      MoneyCase{-9999950, u',', "-1000,00"},             //
                      MoneyCase{1000000, u',', "100,00"},                // zeros inside stay
                      MoneyCase{INT64_MAX, u',', "922337203685477,58"},  // 922337203685477.5807
                      MoneyCase{INT64_MIN, u',', "-922337203685477,58"}, // -922337203685477.5808
                      MoneyCase{INT64_MIN + 1, u',', "-922337203685477,58"}));

TEST(MoneyArithmeticTest, SumsAndSignChangesBeyondTheRangeThrowInsteadOfWrapping) {
    EXPECT_THROW(Currency::FromUnits(INT64_MAX) + Currency::FromUnits(1), CurrencyOverflow);
    EXPECT_THROW(Currency::FromUnits(INT64_MIN) + Currency::FromUnits(-1), CurrencyOverflow);
    EXPECT_THROW(-Currency::FromUnits(INT64_MIN), CurrencyOverflow);
    EXPECT_EQ((-Currency::FromUnits(INT64_MAX)).Units(), INT64_MIN + 1);
}

struct CodeCase {
    const char* code;
    const char* expected;
};

class RevenueCodeTextTest : public ::testing::TestWithParam<CodeCase> {};

TEST_P(RevenueCodeTextTest, KeepsCharacters1To4And6To7And9To10) {
    EXPECT_EQ(RevenueCodeText(GetParam().code), GetParam().expected) << GetParam().code;
}

INSTANTIATE_TEST_SUITE_P(Codes, RevenueCodeTextTest,
                         ::testing::Values(CodeCase{"1112.01.00", "1.1.1.2.01.00"},
                                           CodeCase{"9721.01.00", "9.7.2.1.01.00"},
                                           CodeCase{"1112", "1.1.1.2.."},    // dots kept past the end
                                           CodeCase{"11", "1.1...."},        //
                                           CodeCase{"97", "9.7...."},        //
                                           CodeCase{"", "....."},            //
                                           CodeCase{"1112.0", "1.1.1.2.0."}, // half a piece
                                           CodeCase{"1112.01.00.99", "1.1.1.2.01.00"}, // the rest is lost
                                           CodeCase{"1112X34Y56", "1.1.1.2.34.56"},    // 5 and 8 dropped
                                           CodeCase{"1114.\xC7"
                                                    "1.00",
                                                    "1.1.1.4.\xC7"
                                                    "1.00"})); // bytes kept

struct DateCase {
    int year, month, day;
    const char* expected;
};

class SqlDateTextTest : public ::testing::TestWithParam<DateCase> {};

TEST_P(SqlDateTextTest, MonthDayYearWithSlashes) {
    const DateCase& c = GetParam();
    EXPECT_EQ(SqlDateText(QDate(c.year, c.month, c.day)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Dates, SqlDateTextTest,
                         ::testing::Values(DateCase{2010, 3, 1, "03/01/2010"},
                                           DateCase{2010, 3, 31, "03/31/2010"},
                                           DateCase{2024, 12, 31, "12/31/2024"},
                                           DateCase{999, 1, 9, "01/09/0999"}));

TEST(LineBuilderTest, EveryFieldIsFollowedBySemicolon) {
    EXPECT_EQ(LineBuilder().Field("1.1.1.2.02.00").Field("200,00").Take(), "1.1.1.2.02.00;200,00;");
    EXPECT_EQ(LineBuilder().Field("").Field("").Take(), ";;");
}

struct LocaleCase {
    const char* locale;
    char16_t decimal;
};

class RegionalSettingsTest : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(RegionalSettingsTest, TakesTheLocalesDecimalSeparatorAndBrazilForC) {
    const LocaleCase& c = GetParam();
    const RegionalSettings regional = RegionalSettings::FromLocale(QLocale(QString::fromLatin1(c.locale)));
    EXPECT_EQ(regional.decimalSeparator, QChar(c.decimal)) << c.locale;
}

INSTANTIATE_TEST_SUITE_P(Locales, RegionalSettingsTest,
                         ::testing::Values(LocaleCase{"C", u','}, LocaleCase{"pt_BR", u','},
                                           LocaleCase{"en_US", u'.'}, LocaleCase{"de_DE", u','},
                                           LocaleCase{"sv_SE", u','}));

#ifndef _WIN32
// The locale variables of this process, set for one case and given back as they were.
class LocaleEnvironment {
public:
    static constexpr std::array<const char*, 4> kNames{"LC_ALL", "LC_NUMERIC", "LANG", "LC_MESSAGES"};

    explicit LocaleEnvironment(const std::array<const char*, 4>& values) {
        for (std::size_t i = 0; i < kNames.size(); ++i) {
            if (const char* old = std::getenv(kNames[i]))
                saved_[i] = old;
            Set(kNames[i], values[i]);
        }
    }
    ~LocaleEnvironment() {
        for (std::size_t i = 0; i < kNames.size(); ++i)
            Set(kNames[i], saved_[i] ? saved_[i]->c_str() : nullptr);
    }
    LocaleEnvironment(const LocaleEnvironment&) = delete;
    LocaleEnvironment& operator=(const LocaleEnvironment&) = delete;

private:
    static void Set(const char* name, const char* value) {
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    std::array<std::optional<std::string>, 4> saved_;
};

struct EnvironmentCase {
    const char* name;
    std::array<const char*, 4> values; // LC_ALL, LC_NUMERIC, LANG, LC_MESSAGES; nullptr: unset
    char16_t decimal;
};

class DecimalFromEnvironmentTest : public ::testing::TestWithParam<EnvironmentCase> {};

// The C library's order: LC_ALL, then LC_NUMERIC, then LANG, an empty value counting as unset; the
// messages' locale plays no part. A C, POSIX or unknown locale means Portuguese (Brazil).
TEST_P(DecimalFromEnvironmentTest, FollowsTheNumericLocaleOfTheCLibrary) {
    const EnvironmentCase& c = GetParam();
    const LocaleEnvironment environment(c.values);
    EXPECT_EQ(RegionalSettings::FromSystem().decimalSeparator, QChar(c.decimal));
}

INSTANTIATE_TEST_SUITE_P(
    Environments, DecimalFromEnvironmentTest,
    ::testing::Values(
        EnvironmentCase{"NothingSet", {nullptr, nullptr, nullptr, nullptr}, u','},
        EnvironmentCase{"LangAlone", {nullptr, nullptr, "en_US.UTF-8", nullptr}, u'.'},
        EnvironmentCase{"NumericUnderCLang", {nullptr, "en_US.UTF-8", "C", nullptr}, u'.'},
        EnvironmentCase{"NumericUnderCMessages", {nullptr, "en_US.UTF-8", "C", "C"}, u'.'},
        EnvironmentCase{"NumericOverLang", {nullptr, "de_DE.UTF-8", "en_US.UTF-8", nullptr}, u','},
        EnvironmentCase{
            "AllOverNumericAndLang", {"en_US.UTF-8", "de_DE.UTF-8", "pt_BR.UTF-8", nullptr}, u'.'},
        EnvironmentCase{"EmptyAllIsUnset", {"", "en_US.UTF-8", "pt_BR.UTF-8", nullptr}, u'.'},
        EnvironmentCase{"EmptyNumericIsUnset", {nullptr, "", "en_US.UTF-8", nullptr}, u'.'},
        EnvironmentCase{"CAllMeansBrazil", {"C", "en_US.UTF-8", "en_US.UTF-8", nullptr}, u','},
        EnvironmentCase{"PosixNumericMeansBrazil", {nullptr, "POSIX", "en_US.UTF-8", nullptr}, u','},
        EnvironmentCase{"CUtf8MeansBrazil", {nullptr, nullptr, "C.UTF-8", nullptr}, u','},
        EnvironmentCase{"UnknownLocaleMeansBrazil", {nullptr, "xx_YY.UTF-8", "en_US.UTF-8", nullptr}, u','},
        EnvironmentCase{"MessagesPlayNoPart", {nullptr, nullptr, "pt_BR.UTF-8", "en_US.UTF-8"}, u','},
        EnvironmentCase{"SwissGermanPoint", {nullptr, "de_CH.UTF-8", "C", nullptr}, u'.'},
        EnvironmentCase{
            "UnusableSeparatorKeepsTheComma", {nullptr, "ar_EG.UTF-8", "en_US.UTF-8", nullptr}, u','}),
    [](const auto& test) { return std::string(test.param.name); });
#endif

} // namespace
} // namespace lrf
