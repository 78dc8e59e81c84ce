#pragma once
// How a fetched value reads as text, as a whole number and as currency, exactly and without a float
// for fixed-point numbers. The texts are locale-free: money reaches the output files through
// Currency and the export's own formatting, never through these texts.
#include "database/Currency.h"
#include "database/DriverApi.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lrf {

// Decimal text of an unscaled number: "." before the decimals, trailing zeros dropped, no
// separator for whole numbers (1230 at scale -2 is "12.3", 1200 at scale -2 is "12").
std::string FixedText(std::int64_t unscaled, int scale);
// "dd/mm/yyyy" of a Firebird day number (days since 17 November 1858).
std::string DateText(std::int64_t day);
// "hh:mm:ss" of a Firebird time (ten-thousandths of a second since midnight).
std::string TimeText(std::int64_t time);

// Exact at scale -4 and above; finer scales round half away from zero. Throws CurrencyOverflow.
Currency FixedToCurrency(std::int64_t unscaled, int scale);
// Rounded to four decimals, half away from zero. nullopt for a value outside the range or not finite.
std::optional<Currency> FloatToCurrency(double value);
// A decimal number ("-12", "12.5", "0,0001"; blanks around it allowed), exact, rounded half away
// from zero past four decimals. nullopt when the text is not such a number; CurrencyOverflow when
// it is out of range.
std::optional<Currency> ParseCurrency(std::string_view text);
// A whole number, blanks around it allowed; nullopt when the text is not one or is out of range.
std::optional<std::int64_t> ParseInteger(std::string_view text);

// The value's text as the dataset's TField::AsString gives it.
std::string ValueText(const driver::Value& value);

} // namespace lrf
