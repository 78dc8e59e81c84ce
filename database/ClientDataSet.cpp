#include "database/ClientDataSet.h"

#include "database/Connection.h"
#include "database/DatabaseError.h"
#include "database/FieldConversion.h"
#include "settings/AsciiText.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>

namespace lrf {

namespace {

const driver::Value kNull{};

const char* KindName(driver::Value::Kind kind) {
    switch (kind) {
    case driver::Value::Kind::Date:
        return "a date";
    case driver::Value::Kind::Time:
        return "a time";
    case driver::Value::Kind::Timestamp:
        return "a timestamp";
    default:
        return "this value";
    }
}

// The whole number an unscaled value stands for, if it is one.
std::optional<std::int64_t> WholeNumber(std::int64_t unscaled, int scale) {
    if (scale == 0 || unscaled == 0)
        return unscaled;
    if (scale > 0) {
        std::int64_t whole = unscaled;
        for (int i = 0; i < scale; ++i) {
            if (whole > INT64_MAX / 10 || whole < INT64_MIN / 10)
                return std::nullopt;
            whole *= 10;
        }
        return whole;
    }
    if (scale < -18) // every nonzero int64 is below 10^19
        return std::nullopt;
    std::int64_t divisor = 1;
    for (int i = 0; i > scale; --i)
        divisor *= 10;
    if (unscaled % divisor != 0)
        return std::nullopt;
    return unscaled / divisor;
}

} // namespace

// The current record; an empty result reads as NULLs, and past the end the last record stays
// current, as a dataset at its end does.
const driver::Value& TField::Current() const {
    const driver::ResultSet& result = owner_->result_;
    if (!owner_->active_ || column_ >= result.columns.size())
        throw DatabaseError("Dataset not open");
    const std::size_t rows = result.RowCount();
    if (rows == 0)
        return kNull;
    return result.At(std::min(owner_->row_, rows - 1), column_);
}

bool TField::IsNull() const {
    return Current().kind == driver::Value::Kind::Null;
}

std::string TField::AsString() const {
    return ValueText(Current());
}

std::int64_t TField::AsInteger() const {
    const driver::Value& value = Current();
    const std::string& name = owner_->result_.columns[column_].name;
    using Kind = driver::Value::Kind;
    switch (value.kind) {
    case Kind::Null:
        return 0;
    case Kind::Fixed:
        if (const auto whole = WholeNumber(value.fixed, value.scale))
            return *whole;
        throw DatabaseError("Field '" + name + "': " + FixedText(value.fixed, value.scale) +
                            " is not an integer");
    case Kind::Float: {
        if (std::isfinite(value.real) && value.real == std::trunc(value.real) &&
            value.real >= -9223372036854775808.0 && value.real < 9223372036854775808.0)
            return static_cast<std::int64_t>(value.real);
        throw DatabaseError("Field '" + name + "': " + ValueText(value) + " is not an integer");
    }
    case Kind::Text:
    case Kind::Other:
        if (const auto whole = ParseInteger(value.text))
            return *whole;
        throw DatabaseError("Field '" + name + "': '" + value.text + "' is not a valid integer value");
    default:
        throw DatabaseError("Field '" + name + "': " + KindName(value.kind) + " is not an integer");
    }
}

Currency TField::AsCurrency() const {
    const driver::Value& value = Current();
    const std::string& name = owner_->result_.columns[column_].name;
    using Kind = driver::Value::Kind;
    switch (value.kind) {
    case Kind::Null:
        return Currency();
    case Kind::Fixed:
        try {
            return FixedToCurrency(value.fixed, value.scale);
        } catch (const CurrencyOverflow&) {
            throw CurrencyOverflow("Field '" + name + "': " + FixedText(value.fixed, value.scale) +
                                   " is out of the currency range");
        }
    case Kind::Float:
        if (const auto money = FloatToCurrency(value.real))
            return *money;
        throw CurrencyOverflow("Field '" + name + "': " + ValueText(value) + " is out of the currency range");
    case Kind::Text:
    case Kind::Other: {
        std::optional<Currency> money;
        try {
            money = ParseCurrency(value.text);
        } catch (const CurrencyOverflow&) {
            throw CurrencyOverflow("Field '" + name + "': '" + value.text + "' is out of the currency range");
        }
        if (money)
            return *money;
        throw DatabaseError("Field '" + name + "': '" + value.text + "' is not a valid currency value");
    }
    default:
        throw DatabaseError("Field '" + name + "': " + KindName(value.kind) + " is not a currency value");
    }
}

void TSQLClientDataSet::Open() {
    if (!connection_ || !connection_->Connected())
        throw DatabaseError("Connection not open");
    // Reopening runs the command again: a result kept from an earlier text would be a wrong one.
    Close();
    if (Trimmed(CommandText, " \t\r\n").empty())
        throw DatabaseError("No command text given");
    result_ = connection_->Query(CommandText);
    row_ = 0;
    active_ = true;
}

void TSQLClientDataSet::Close() noexcept {
    active_ = false;
    result_ = driver::ResultSet();
    row_ = 0;
}

void TSQLClientDataSet::Next() {
    if (row_ < RecordCount())
        ++row_;
}

TField TSQLClientDataSet::FieldByName(std::string_view name) const {
    for (std::size_t i = 0; active_ && i < result_.columns.size(); ++i) {
        if (EqualNoCase(result_.columns[i].name, name))
            return TField(*this, i);
    }
    throw DatabaseError("Field '" + std::string(name) + "' not found");
}

} // namespace lrf
