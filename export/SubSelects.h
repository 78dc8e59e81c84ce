#pragma once
// The correlated sub-selects that the expense files share: what each one sums, through which joins, and
// which date column places it in a month. The item joined inside is aliased E, the summed row D.
#include "export/RecordConventions.h"

#include <string>
#include <string_view>

namespace lrf::expense {

enum class Source { Commitments, Liquidations, AllocationChanges };

// "    (SELECT SUM(...) FROM ... " and its joins down to the item E.
constexpr std::string_view SubSelectOpening(Source source) {
    switch (source) {
    case Source::Commitments:
        return "    (SELECT SUM(D.VADEM) FROM DESPES D "
               "     INNER JOIN DESDIS E ON E.FICHA=D.FICHA ";
    case Source::Liquidations:
        return "    (SELECT SUM(D.VADEM) FROM VIEWLIQ D "
               "     INNER JOIN DESPES G ON G.PKEMP = D.PKEMP "
               "     INNER JOIN DESDIS E ON E.FICHA=G.FICHA ";
    case Source::AllocationChanges:
        return "    (SELECT SUM(D.VALOR) FROM DESALD D "
               "     INNER JOIN DESDIS E ON E.FICHA=D.FICHA ";
    }
    return {};
}

constexpr std::string_view DateColumn(Source source) {
    return source == Source::AllocationChanges ? "D.DTLAN" : "D.DATAE";
}

enum class Month { First, Second };

// One result column of a sub-select: its name, what it sums and over which month.
struct SubSelectColumn {
    std::string_view name;
    Source source;
    Month month;
};

// The six columns in the order both RZDA statements ask for them.
inline constexpr SubSelectColumn kMonthColumns[] = {
    {"EMP_MES1", Source::Commitments, Month::First},
    {"LIQ_MES1", Source::Liquidations, Month::First},
    {"ATU_MES1", Source::AllocationChanges, Month::First},
    {"EMP_MES2", Source::Commitments, Month::Second},
    {"LIQ_MES2", Source::Liquidations, Month::Second},
    {"ATU_MES2", Source::AllocationChanges, Month::Second},
};

// The first and last day of a column's month, as the statements quote them.
inline const std::string& MonthStart(const PeriodTexts& dates, Month month) {
    return month == Month::First ? dates.month1Start : dates.month2Start;
}
inline const std::string& MonthEnd(const PeriodTexts& dates, Month month) {
    return month == Month::First ? dates.month1End : dates.month2End;
}

// The six sub-selects of an RZDA statement, each "opening condition) AS NAME" followed by ", " (the last
// by " "). `condition` writes what follows a column's opening, its closing parenthesis included.
template <typename Condition> std::string MonthSubSelects(Condition condition) {
    std::string sql;
    for (const SubSelectColumn& column : kMonthColumns) {
        sql += SubSelectOpening(column.source);
        sql += condition(column);
        sql += " AS ";
        sql += column.name;
        sql += &column == &kMonthColumns[std::size(kMonthColumns) - 1] ? " " : ", ";
    }
    return sql;
}

} // namespace lrf::expense
