// DES_ORCD.TXT and DES_RZDA.TXT: the expense of the ticked entities by economic category (CATEC).
#include "export/ExpenseCategoryFiles.h"

#include "database/ClientDataSet.h"
#include "export/EntityFilter.h"
#include "export/RecordConventions.h"
#include "export/SubSelects.h"

#include <iterator>
#include <string>

namespace lrf {
namespace {

using expense::Month;

std::string DesOrcdSql(const Period&, const std::string& entityClause) {
    std::string sql = "SELECT CATEC, SUM(DOTAC) AS VALOR FROM DESDIS WHERE NOT CATEC IS NULL ";
    sql += entityClause;
    sql += " GROUP BY CATEC ";
    return sql;
}

std::string DesOrcdLine(const TSQLClientDataSet& record, const RegionalSettings& regional) {
    return LineBuilder()
        .Field(record.FieldByName("CATEC").AsString())
        .Field(MoneyText(record.FieldByName("VALOR").AsCurrency(), regional))
        .Take();
}

// The outer query keeps only EXTRA 'N' items; the sub-selects sum over every item of the category, so the
// amounts of the other items still count where their category has a line.
std::string DesRzdaSql(const Period& period, const std::string& entityClause) {
    const std::string subClause = ReplaceAll(entityClause, "F.", "E.");
    const PeriodTexts dates(period);

    std::string sql = "SELECT F.CATEC, SUM(F.DOTAC) DOTAC,";
    const auto& columns = expense::kMonthColumns;
    for (const expense::SubSelectColumn& column : columns) {
        const bool first = column.month == Month::First;
        const std::string_view dateColumn = expense::DateColumn(column.source);
        sql += expense::SubSelectOpening(column.source);
        sql += "      WHERE E.CATEC=F.CATEC AND ";
        sql += dateColumn;
        sql += ">='";
        sql += first ? dates.month1Start : dates.month2Start;
        sql += "' AND ";
        sql += dateColumn;
        sql += "<='";
        sql += first ? dates.month1End : dates.month2End;
        sql += "' ";
        sql += subClause;
        sql += " ) AS ";
        sql += column.name;
        sql += &column == &columns[std::size(columns) - 1] ? " " : ", ";
    }
    sql += "FROM DESDIS F ";
    sql += "WHERE F.EXTRA='N' ";
    sql += entityClause;
    sql += " ";
    sql += "GROUP BY F.CATEC ";
    return sql;
}

// The fields go by kind (committed, liquidated, altered), month 1 before month 2 of each.
std::string DesRzdaLine(const TSQLClientDataSet& record, const RegionalSettings& regional) {
    LineBuilder line;
    line.Field(record.FieldByName("catec").AsString());
    for (const char* column : {"EMP_MES1", "EMP_MES2", "LIQ_MES1", "LIQ_MES2", "ATU_MES1", "ATU_MES2"})
        line.Field(MoneyText(record.FieldByName(column).AsCurrency(), regional));
    return line.Take();
}

} // namespace

const FileGenerator kDesOrcd{"DES_ORCD.TXT", "DESDIS.EMPRESA", &DesOrcdSql, &DesOrcdLine};
const FileGenerator kDesRzda{"DES_RZDA.TXT", "F.EMPRESA", &DesRzdaSql, &DesRzdaLine};

} // namespace lrf
