// DES_ORCD.TXT and DES_RZDA.TXT: the expense of the ticked entities by economic category (CATEC).
#include "export/ExpenseCategoryFiles.h"

#include "database/ClientDataSet.h"
#include "export/EntityFilter.h"
#include "export/RecordConventions.h"
#include "export/SubSelects.h"
#include "settings/Join.h"

#include <iterator>
#include <string>

namespace lrf {
namespace {

std::string DesOrcdSql(const Period&, const EntityClause& entities) {
    const std::string entityClause = entities.For("DESDIS.EMPRESA");
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
std::string DesRzdaSql(const Period& period, const EntityClause& entities) {
    const std::string entityClause = entities.For("F.EMPRESA");
    const std::string subClause = entities.For("E.EMPRESA");
    const PeriodTexts dates(period);

    std::string sql = "SELECT F.CATEC, SUM(F.DOTAC) DOTAC,";
    sql += expense::MonthSubSelects([&](const expense::SubSelectColumn& column) {
        const std::string_view date = expense::DateColumn(column.source);
        return Join({"      WHERE E.CATEC=F.CATEC AND ", date, ">='",
                     expense::MonthStart(dates, column.month), "' AND ", date, "<='",
                     expense::MonthEnd(dates, column.month), "' ", subClause, " )"});
    });
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

const FileGenerator kDesOrcd{"DES_ORCD.TXT", &DesOrcdSql, &DesOrcdLine};
const FileGenerator kDesRzda{"DES_RZDA.TXT", &DesRzdaSql, &DesRzdaLine};

} // namespace lrf
