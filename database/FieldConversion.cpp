#include "database/FieldConversion.h"

#include "settings/AsciiText.h"

#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>

namespace lrf {

namespace {

constexpr std::int64_t kMjdOfUnixEpoch = 40587;      // 1 January 1970
constexpr std::int64_t kTimeUnitsPerDay = 864000000; // ten-thousandths of a second
constexpr std::uint64_t kInt64MinMagnitude = 9223372036854775808ull;

constexpr std::array<std::int64_t, 19> kPowersOfTen = {
    1LL,
    10LL,
    100LL,
    1000LL,
    10000LL,
    100000LL,
    1000000LL,
    10000000LL,
    100000000LL,
    1000000000LL,
    10000000000LL,
    100000000000LL,
    1000000000000LL,
    10000000000000LL,
    100000000000000LL,
    1000000000000000LL,
    10000000000000000LL,
    100000000000000000LL,
    1000000000000000000LL,
};

std::uint64_t Magnitude(std::int64_t value) {
    return value < 0 ? std::uint64_t(0) - static_cast<std::uint64_t>(value)
                     : static_cast<std::uint64_t>(value);
}

constexpr std::string_view kBlanks = " \t\r\n";

} // namespace

std::string FixedText(std::int64_t unscaled, int scale) {
    if (scale >= 0) {
        std::string text = std::to_string(unscaled);
        if (unscaled != 0)
            text.append(static_cast<std::size_t>(scale), '0');
        return text;
    }
    std::string digits = std::to_string(Magnitude(unscaled));
    const auto decimals = static_cast<std::size_t>(-scale);
    if (digits.size() <= decimals)
        digits.insert(0, decimals - digits.size() + 1, '0');
    std::string whole = digits.substr(0, digits.size() - decimals);
    std::string fraction = digits.substr(digits.size() - decimals);
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    std::string text = unscaled < 0 ? "-" + whole : whole;
    if (!fraction.empty())
        text += "." + fraction;
    return text;
}

std::string DateText(std::int64_t day) {
    const std::chrono::year_month_day date{
        std::chrono::sys_days(std::chrono::days(static_cast<int>(day - kMjdOfUnixEpoch)))};
    char text[32];
    std::snprintf(text, sizeof text, "%02u/%02u/%04d", static_cast<unsigned>(date.day()),
                  static_cast<unsigned>(date.month()), static_cast<int>(date.year()));
    return text;
}

std::string TimeText(std::int64_t time) {
    const std::int64_t seconds = time / 10000;
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return text;
}

Currency FixedToCurrency(std::int64_t unscaled, int scale) {
    const int shift = scale + 4; // decimal places to add (positive) or to drop (negative)
    if (shift >= 0) {
        if (unscaled == 0)
            return Currency();
        if (shift >= static_cast<int>(kPowersOfTen.size()))
            throw CurrencyOverflow("Currency overflow");
        const std::int64_t factor = kPowersOfTen[static_cast<std::size_t>(shift)];
        if (unscaled > std::numeric_limits<std::int64_t>::max() / factor ||
            unscaled < std::numeric_limits<std::int64_t>::min() / factor)
            throw CurrencyOverflow("Currency overflow");
        return Currency::FromUnits(unscaled * factor);
    }
    // Dropping 19 places leaves at most one unit (int64 reaches 0.92 * 10^19); 20 or more leave zero.
    if (-shift == static_cast<int>(kPowersOfTen.size())) {
        if (Magnitude(unscaled) < 5000000000000000000ull)
            return Currency();
        return Currency::FromUnits(unscaled < 0 ? -1 : 1);
    }
    if (-shift > static_cast<int>(kPowersOfTen.size()))
        return Currency();
    const std::int64_t divisor = kPowersOfTen[static_cast<std::size_t>(-shift)];
    std::int64_t quotient = unscaled / divisor;
    const std::int64_t remainder = unscaled % divisor;
    if (Magnitude(remainder) * 2 >= static_cast<std::uint64_t>(divisor))
        quotient += unscaled < 0 ? -1 : 1;
    return Currency::FromUnits(quotient);
}

std::optional<Currency> FloatToCurrency(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    const double units = std::round(value * 10000.0);
    // 2^63 is exact in a double; the largest double below it fits in an int64.
    if (units < -9223372036854775808.0 || units >= 9223372036854775808.0)
        return std::nullopt;
    return Currency::FromUnits(static_cast<std::int64_t>(units));
}

std::optional<Currency> ParseCurrency(std::string_view text) {
    text = Trimmed(text, kBlanks);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::size_t separator = text.find_first_of(".,");
    std::string_view whole = text.substr(0, separator);
    const std::string_view fraction =
        separator == std::string_view::npos ? std::string_view() : text.substr(separator + 1);
    const auto allDigits = [](std::string_view digits) {
        return digits.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (whole.empty() && fraction.empty())
        return std::nullopt;
    if (!allDigits(whole) || !allDigits(fraction))
        return std::nullopt;

    while (!whole.empty() && whole.front() == '0')
        whole.remove_prefix(1);
    // The largest currency has 15 whole digits (922337203685477).
    if (whole.size() > 15)
        throw CurrencyOverflow("Currency overflow");
    std::uint64_t units = 0;
    for (const char c : whole)
        units = units * 10 + static_cast<unsigned>(c - '0');
    for (std::size_t i = 0; i < 4; ++i)
        units = units * 10 + (i < fraction.size() ? static_cast<unsigned>(fraction[i] - '0') : 0);
    if (fraction.size() > 4 && fraction[4] >= '5')
        ++units; // half away from zero: the fifth decimal decides
    if (units > (negative ? kInt64MinMagnitude : kInt64MinMagnitude - 1))
        throw CurrencyOverflow("Currency overflow");
    return Currency::FromUnits(negative ? static_cast<std::int64_t>(std::uint64_t(0) - units)
                                        : static_cast<std::int64_t>(units));
}

std::optional<std::int64_t> ParseInteger(std::string_view text) {
    return ParseWholeNumber<std::int64_t>(Trimmed(text, kBlanks));
}

std::string ValueText(const driver::Value& value) {
    using Kind = driver::Value::Kind;
    switch (value.kind) {
    case Kind::Null:
        return {};
    case Kind::Fixed:
        return FixedText(value.fixed, value.scale);
    case Kind::Float: {
        char text[64];
        const auto result = std::to_chars(text, text + sizeof text, value.real);
        return std::string(text, result.ptr);
    }
    case Kind::Text:
    case Kind::Other:
        return value.text;
    case Kind::Date:
        return DateText(value.fixed);
    case Kind::Time:
        return TimeText(value.fixed);
    case Kind::Timestamp: {
        // Floor division: the day part of a stamp before 1858 is negative.
        std::int64_t day = value.fixed / kTimeUnitsPerDay;
        std::int64_t time = value.fixed % kTimeUnitsPerDay;
        if (time < 0) {
            time += kTimeUnitsPerDay;
            --day;
        }
        return time == 0 ? DateText(day) : DateText(day) + " " + TimeText(time);
    }
    }
    return {};
}

} // namespace lrf
