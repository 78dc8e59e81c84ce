#include "export/RecordConventions.h"

#include "export/Windows1252.h"

#include <cstdint>

namespace lrf {

namespace {

// The separator as the single byte a file holds.
std::string SeparatorBytes(QChar separator) {
    if (separator.unicode() < 0x80)
        return std::string(1, static_cast<char>(separator.unicode()));
    return ToWindows1252(QString(separator));
}

void AppendTwoDigits(std::string& text, unsigned value) {
    text.push_back(static_cast<char>('0' + value / 10 % 10));
    text.push_back(static_cast<char>('0' + value % 10));
}

} // namespace

std::string MoneyText(Currency value, const RegionalSettings& regional) {
    const std::int64_t units = value.Units();
    const bool negative = units < 0;
    // The magnitude in unsigned arithmetic, so INT64_MIN has one too.
    const std::uint64_t magnitude =
        negative ? static_cast<std::uint64_t>(-(units + 1)) + 1 : static_cast<std::uint64_t>(units);
    constexpr std::uint64_t kUnitsPerCent = Currency::kUnitsPerWhole / 100;
    const std::uint64_t cents =
        magnitude / kUnitsPerCent + (magnitude % kUnitsPerCent >= kUnitsPerCent / 2 ? 1 : 0);

    std::string text;
    if (negative && cents != 0)
        text.push_back('-');
    text += std::to_string(cents / 100);
    text += SeparatorBytes(regional.decimalSeparator);
    AppendTwoDigits(text, static_cast<unsigned>(cents % 100));
    return text;
}

std::string SqlDateText(QDate date) {
    std::string text;
    AppendTwoDigits(text, static_cast<unsigned>(date.month()));
    text.push_back('/');
    AppendTwoDigits(text, static_cast<unsigned>(date.day()));
    text.push_back('/');
    const int year = date.year();
    AppendTwoDigits(text, static_cast<unsigned>(year / 100));
    AppendTwoDigits(text, static_cast<unsigned>(year % 100));
    return text;
}

PeriodTexts::PeriodTexts(const Period& period)
    : month1Start(SqlDateText(period.month1Start)), month1End(SqlDateText(period.month1End)),
      month2Start(SqlDateText(period.month2Start)), month2End(SqlDateText(period.month2End)) {}

std::string RevenueCodeText(std::string_view code) {
    // Positions counted from 0: characters 5 and 8 (counted from 1) are dropped, as is all after 10.
    const auto piece = [code](std::size_t start, std::size_t length) {
        return start < code.size() ? code.substr(start, length) : std::string_view();
    };
    std::string text;
    text.reserve(15);
    for (std::size_t i = 0; i < 4; ++i) {
        text.append(piece(i, 1));
        text.push_back('.');
    }
    text.append(piece(5, 2));
    text.push_back('.');
    text.append(piece(8, 2));
    return text;
}

} // namespace lrf
