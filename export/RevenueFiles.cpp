#include "export/RevenueFiles.h"

#include "database/ClientDataSet.h"
#include "export/EntityFilter.h"
#include "export/RecordConventions.h"
#include "settings/Join.h"

#include <initializer_list>

namespace lrf {

namespace {

// REC_ORCD.TXT: the budgeted revenue per code; codes beginning with 9 belong to other files.
std::string RecOrcdSql(const Period&, const std::string& entityClause) {
    return Join({
        "SELECT F.CODRE, SUM(F.TOTOR) TOTOR FROM RECDIS F WHERE SUBSTRING(F.CODRE FROM 1 FOR 1)<>'9' ",
        entityClause,
        " ",
        "GROUP BY F.CODRE ",
    });
}

// REC_RZDA.TXT: the sub-selects take the ticked entities too, through the item E they join, so that a
// line's postings and alterations belong to the same entities as its budget. An entity exported alone
// must not carry the revenue of the others that share its codes.
std::string RecRzdaSql(const Period& period, const std::string& entityClause) {
    const std::string subSelectClause = ReplaceAll(entityClause, "F.", "E.");
    const PeriodTexts dates(period);
    return Join({
        "SELECT F.CODRE, SUM(F.TOTOR) TOTOR,     (SELECT SUM(R.VAREC) FROM RECEIT R INNER JOIN RECDIS E "
        "ON E.FICHA=R.FICHA        WHERE (E.CODRE=F.CODRE) AND              (R.DTLAN>='",
        dates.month1Start,
        "' AND R.DTLAN<='",
        dates.month1End,
        "')",
        subSelectClause,
        ") AS REA_MES1, ",
        "    (SELECT SUM(R.VALOR) FROM RECALP R INNER JOIN RECDIS E ON E.FICHA=R.FICHA ",
        "       WHERE (E.CODRE=F.CODRE) AND ",
        "             (R.DTLAN<='",
        dates.month1End,
        "')",
        subSelectClause,
        ") AS ATU_MES1, ",
        "    (SELECT SUM(R.VAREC) FROM RECEIT R INNER JOIN RECDIS E ON E.FICHA=R.FICHA ",
        "       WHERE (E.CODRE=F.CODRE) AND ",
        "             (R.DTLAN>='",
        dates.month2Start,
        "' AND R.DTLAN<='",
        dates.month2End,
        "')",
        subSelectClause,
        ") AS REA_MES2, ",
        "    (SELECT SUM(R.VALOR) FROM RECALP R INNER JOIN RECDIS E ON E.FICHA=R.FICHA ",
        "       WHERE (E.CODRE=F.CODRE) AND ",
        "             (R.DTLAN<='",
        dates.month2End,
        "')",
        subSelectClause,
        ") AS ATU_MES2 ",
        "FROM RECDIS F ",
        "WHERE SUBSTRING(F.CODRE FROM 1 FOR 1)<>'9' ",
        entityClause,
        " ",
        "GROUP BY F.CODRE ",
    });
}

std::string RecOrcdLine(const TSQLClientDataSet& record, const RegionalSettings& regional) {
    return LineBuilder()
        .Field(RevenueCodeText(record.FieldByName("codre").AsString()))
        .Field(MoneyText(record.FieldByName("TOTOR").AsCurrency(), regional))
        .Take();
}

// The updated budget of a month is the budget plus the alterations up to that month's end.
std::string RecRzdaLine(const TSQLClientDataSet& record, const RegionalSettings& regional) {
    const Currency budget = record.FieldByName("TOTOR").AsCurrency();
    return LineBuilder()
        .Field(RevenueCodeText(record.FieldByName("codre").AsString()))
        .Field(MoneyText(record.FieldByName("REA_MES1").AsCurrency(), regional))
        .Field(MoneyText(budget + record.FieldByName("ATU_MES1").AsCurrency(), regional))
        .Field(MoneyText(record.FieldByName("REA_MES2").AsCurrency(), regional))
        .Field(MoneyText(budget + record.FieldByName("ATU_MES2").AsCurrency(), regional))
        .Take();
}

} // namespace

const FileGenerator kRecOrcd{"REC_ORCD.TXT", "f.EMPRESA", &RecOrcdSql, &RecOrcdLine};
const FileGenerator kRecRzda{"REC_RZDA.TXT", "F.EMPRESA", &RecRzdaSql, &RecRzdaLine};

} // namespace lrf
