#include "database/FieldConversion.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>

namespace {

using lrf::Currency;
using lrf::CurrencyOverflow;

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

struct FixedTextCase {
    std::int64_t unscaled;
    int scale;
    const char* text;
};

TEST(FixedText, DropsTrailingZerosAndKeepsEveryDigit) {
    const FixedTextCase cases[] = {
        {1230, -2, "12.3"},
        {1200, -2, "12"},
        {-5, -2, "-0.05"},
        {0, -2, "0"},
        {-1, -4, "-0.0001"},
        {42, 0, "42"},
        {kMax, -4, "922337203685477.5807"},
        {kMin, -4, "-922337203685477.5808"},
        {kMin, 0, "-9223372036854775808"},
        {1, -18, "0.000000000000000001"},
    };
    for (const FixedTextCase& c : cases)
        EXPECT_EQ(lrf::FixedText(c.unscaled, c.scale), c.text) << c.unscaled << " scale " << c.scale;
}

struct CurrencyCase {
    std::int64_t unscaled;
    int scale;
    std::int64_t units;
};

TEST(FixedToCurrency, ExactAtFourDecimalsAndRoundsFinerScalesHalfAwayFromZero) {
    const CurrencyCase cases[] = {
        {1, -4, 1},
        {kMax, -4, kMax},
        {kMin, -4, kMin},
        {123, -2, 12300},
        {-32768, 0, -327680000},
        {922337203685477, 0, 922337203685477 * 10000},
        {1000050, -6, 10001},
        {-1000050, -6, -10001},
        {1000049, -6, 10000},
        {-1000049, -6, -10000},
        {kMax, -18, 92234}, // 9.223372036854775807 -> 9.2234
        {kMin, -18, -92234},
        {kMax, -30, 0},
        // Nineteen places dropped: 0.00006 still rounds up to one unit.
        {6000000000000000000, -23, 1},
        {-6000000000000000000, -23, -1},
        {5000000000000000000, -23, 1},
        {4999999999999999999, -23, 0},
        {kMax, -23, 1},
        {kMin, -23, -1},
        {kMax, -24, 0},
        {5, -5, 1},
        {-5, -5, -1},
        {4, -5, 0},
    };
    for (const CurrencyCase& c : cases)
        EXPECT_EQ(lrf::FixedToCurrency(c.unscaled, c.scale).Units(), c.units)
            << c.unscaled << " scale " << c.scale;
}

TEST(FixedToCurrency, OutOfRangeThrowsInsteadOfWrapping) {
    const std::pair<std::int64_t, int> cases[] = {
        {922337203685478, 0}, {-922337203685478, 0}, {999999999999999999, -2}, {kMin, -3}, {1, 20},
    };
    for (const auto& [unscaled, scale] : cases)
        EXPECT_THROW(lrf::FixedToCurrency(unscaled, scale), CurrencyOverflow)
            << unscaled << " scale " << scale;
}

struct ParseCase {
    const char* text;
    std::optional<std::int64_t> units; // nullopt: not a number
};

TEST(ParseCurrency, ReadsDecimalTextExactly) {
    const ParseCase cases[] = {
        {"12", 120000},
        {" -12.5 ", -125000},
        {"0,0001", 1},
        {"+.5", 5000},
        {"7.", 70000},
        {"1.00005", 10001},
        {"-1.00005", -10001},
        {"1.000049999", 10000},
        {"922337203685477.5807", kMax},
        {"-922337203685477.5808", kMin},
        {"000000000000000000001", 10000},
        {"", std::nullopt},
        {"-", std::nullopt},
        {".", std::nullopt},
        {"abc", std::nullopt},
        {"1.234,56", std::nullopt},
        {"1e3", std::nullopt},
        {"12 3", std::nullopt},
    };
    for (const ParseCase& c : cases) {
        const std::optional<Currency> money = lrf::ParseCurrency(c.text);
        ASSERT_EQ(money.has_value(), c.units.has_value()) << '"' << c.text << '"';
        if (money) {
            EXPECT_EQ(money->Units(), *c.units) << '"' << c.text << '"';
        }
    }
}

TEST(ParseCurrency, OutOfRangeThrows) {
    for (const char* text : {"922337203685477.5808", "-922337203685477.5809", "1000000000000000"})
        EXPECT_THROW(lrf::ParseCurrency(text), CurrencyOverflow) << text;
}

TEST(FloatToCurrency, RoundsToFourDecimalsAndRefusesWhatDoesNotFit) {
    EXPECT_EQ(lrf::FloatToCurrency(0.1)->Units(), 1000);
    EXPECT_EQ(lrf::FloatToCurrency(-1.25)->Units(), -12500);
    EXPECT_EQ(lrf::FloatToCurrency(0.145)->Units(), 1450);
    EXPECT_FALSE(lrf::FloatToCurrency(1e300));
    EXPECT_FALSE(lrf::FloatToCurrency(-1e300));
    EXPECT_FALSE(lrf::FloatToCurrency(922337203685477.6));
    EXPECT_FALSE(lrf::FloatToCurrency(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(lrf::FloatToCurrency(std::numeric_limits<double>::infinity()));
}

TEST(DateText, DayFirstFromFirebirdDayNumbers) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, "17/11/1858"},     {60369, "29/02/2024"}, {60370, "01/03/2024"},
        {15020, "01/01/1900"}, {51909, "31/12/2000"},
    };
    for (const auto& [day, text] : cases)
        EXPECT_EQ(lrf::DateText(day), text) << day;
}

TEST(ParseInteger, WholeNumbersWithBlanksOnly) {
    EXPECT_EQ(lrf::ParseInteger(" 42  "), 42);
    EXPECT_EQ(lrf::ParseInteger("-9223372036854775808"), kMin);
    EXPECT_FALSE(lrf::ParseInteger("9223372036854775808"));
    EXPECT_FALSE(lrf::ParseInteger("12.0"));
    EXPECT_FALSE(lrf::ParseInteger(""));
    EXPECT_FALSE(lrf::ParseInteger("4 2"));
    // One sign only.
    for (const char* text : {"+-5", "-+5", "++5", "--5", "+", "-", "+ 5"})
        EXPECT_FALSE(lrf::ParseInteger(text)) << text;
    EXPECT_EQ(lrf::ParseInteger("+5"), 5);
}

} // namespace
