#pragma once
// Exact money: a signed 64-bit count of ten-thousandths, as the accounting database stores it.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace lrf {

class CurrencyOverflow : public std::overflow_error {
public:
    using std::overflow_error::overflow_error;
};

class Currency {
public:
    static constexpr std::int64_t kUnitsPerWhole = 10000;

    constexpr Currency() = default;
    static constexpr Currency FromUnits(std::int64_t units) { return Currency(units); }
    constexpr std::int64_t Units() const { return units_; }

    // Exact; a result outside the 64-bit range throws CurrencyOverflow rather than wrapping.
    Currency operator+(Currency other) const {
        const std::int64_t b = other.units_;
        if ((b > 0 && units_ > INT64_MAX - b) || (b < 0 && units_ < INT64_MIN - b))
            throw CurrencyOverflow("Currency overflow");
        return Currency(units_ + b);
    }
    Currency operator-() const {
        if (units_ == INT64_MIN)
            throw CurrencyOverflow("Currency overflow");
        return Currency(-units_);
    }
    constexpr bool operator==(const Currency&) const = default;

private:
    constexpr explicit Currency(std::int64_t units) : units_(units) {}
    std::int64_t units_ = 0;
};

} // namespace lrf
