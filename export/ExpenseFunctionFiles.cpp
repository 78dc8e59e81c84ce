// DFS_ORCD.TXT and DFS_RZDA.TXT: the expense of the ticked entities by function and subfunction.
#include "export/ExpenseFunctionFiles.h"

#include "database/ClientDataSet.h"
#include "export/EntityFilter.h"
#include "export/RecordConventions.h"
#include "export/SubSelects.h"

#include <iterator>
#include <string>

namespace lrf {
namespace {

using expense::Month;
using expense::Source;

std::string DfsOrcdSql(const Period&, const std::string& entityClause) {
    std::string sql = "SELECT FUNCAO, SUBFUNCAO, SUM(DOTAC)AS VALOR FROM DESDIS WHERE EXTRA='N' ";
    sql += entityClause;
    sql += " ";
    sql += "GROUP BY FUNCAO, SUBFUNCAO";
    return sql;
}

// Function and subfunction go out as the data access gives their text: a SMALLINT 8 is 8, a CHAR '08' is 08.
std::string DfsOrcdLine(const TSQLClientDataSet& record, const RegionalSettings& regional) {
    return LineBuilder()
        .Field(record.FieldByName("FUNCAO").AsString())
        .Field(record.FieldByName("SUBFUNCAO").AsString())
        .Field(MoneyText(record.FieldByName("VALOR").AsCurrency(), regional))
        .Take();
}

// Commitments and liquidations are the month's own; the allocation changes run from the start of the
// year up to the month's last day, so that DOTAC plus them is the allocation as updated at that day.
std::string DfsRzdaSql(const Period& period, const std::string& entityClause) {
    const std::string subClause = ReplaceAll(entityClause, "F.", "E.");
    const PeriodTexts dates(period);

    std::string sql = "SELECT F.FUNCAO, F.SUBFUNCAO, SUM(F.DOTAC) AS DOTAC, ";
    const auto& columns = expense::kMonthColumns;
    for (const expense::SubSelectColumn& column : columns) {
        const bool first = column.month == Month::First;
        sql += expense::SubSelectOpening(column.source);
        sql += "      WHERE E.FUNCAO=F.FUNCAO AND E.SUBFUNCAO=F.SUBFUNCAO ";
        sql += subClause;
        sql += " ";
        if (column.source == Source::AllocationChanges) {
            sql += "        AND D.DTLAN<='";
        } else {
            sql += "        AND D.DATAE>='";
            sql += first ? dates.month1Start : dates.month2Start;
            sql += "' AND D.DATAE<='";
        }
        sql += first ? dates.month1End : dates.month2End;
        sql += "') AS ";
        sql += column.name;
        sql += &column == &columns[std::size(columns) - 1] ? " " : ", ";
    }
    sql += "FROM DESDIS F ";
    sql += "WHERE F.EXTRA='N' ";
    sql += entityClause;
    sql += " ";
    sql += "GROUP BY F.FUNCAO, F.SUBFUNCAO ";
    return sql;
}

// Ordered by month; DOTAC is never written alone, only as the base of the updated allocation.
std::string DfsRzdaLine(const TSQLClientDataSet& record, const RegionalSettings& regional) {
    const Currency dotac = record.FieldByName("DOTAC").AsCurrency();
    auto money = [&](const char* column) {
        return MoneyText(record.FieldByName(column).AsCurrency(), regional);
    };
    return LineBuilder()
        .Field(record.FieldByName("FUNCAO").AsString())
        .Field(record.FieldByName("SUBFUNCAO").AsString())
        .Field(money("EMP_MES1"))
        .Field(money("LIQ_MES1"))
        .Field(MoneyText(dotac + record.FieldByName("ATU_MES1").AsCurrency(), regional))
        .Field(money("EMP_MES2"))
        .Field(money("LIQ_MES2"))
        .Field(MoneyText(dotac + record.FieldByName("ATU_MES2").AsCurrency(), regional))
        .Take();
}

} // namespace

const FileGenerator kDfsOrcd{"DFS_ORCD.TXT", "DESDIS.EMPRESA", &DfsOrcdSql, &DfsOrcdLine};
const FileGenerator kDfsRzda{"DFS_RZDA.TXT", "F.EMPRESA", &DfsRzdaSql, &DfsRzdaLine};

} // namespace lrf
