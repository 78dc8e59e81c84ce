#pragma once
// How values are written into the files and into the SQL texts.
#include "database/Currency.h"
#include "export/Period.h"
#include "export/Regional.h"

#include <QDate>
#include <string>
#include <string_view>

namespace lrf {

// Two decimals, half away from zero, no thousands separator, "-" only when it does not round to zero.
std::string MoneyText(Currency value, const RegionalSettings& regional);
// "mm/dd/yyyy". Always "/", whatever the regional settings: Firebird reads "." as day.month.year and
// would take another date, or none.
std::string SqlDateText(QDate date);
// The four dates of a period as the statements quote them, each written once with SqlDateText.
struct PeriodTexts {
    explicit PeriodTexts(const Period& period);
    std::string month1Start, month1End, month2Start, month2End;
};
// Characters 1, 2, 3, 4, 6-7 and 9-10 of the code, joined by ".".
std::string RevenueCodeText(std::string_view code);

// A file line: every field followed by ";". The line end is added by the frame.
class LineBuilder {
public:
    LineBuilder& Field(std::string_view text) {
        line_.append(text);
        line_.push_back(';');
        return *this;
    }
    std::string Take() { return std::move(line_); }

private:
    std::string line_;
};

} // namespace lrf
