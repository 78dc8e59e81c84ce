#include "export/DeductionFiles.h"

#include "database/ClientDataSet.h"
#include "export/EntityFilter.h"
#include "export/RecordConventions.h"
#include "settings/Join.h"

#include <initializer_list>

namespace lrf {

namespace {

// DED_ORCD.TXT: every budget row with a deduction code (97...), ungrouped.
std::string DedOrcdSql(const Period&, const std::string& entityClause) {
    return Join({
        "SELECT CODRE, TOTOR FROM RECORC WHERE CODRE LIKE '97%' ",
        entityClause,
    });
}

// DED_RZDA.TXT: one line per item, and each line sums its own item's postings and alterations (E is
// the outer row F itself); matching on the code instead would count every item of a shared code on
// each of its lines.
std::string DedRzdaSql(const Period& period, const std::string& entityClause) {
    const std::string subSelectClause = ReplaceAll(entityClause, "F.", "E.");
    const PeriodTexts dates(period);
    return Join({
        "SELECT F.CODRE, F.TOTOR,  (SELECT SUM(R.VAREC) FROM RECEIT R INNER JOIN RECDIS E "
        "ON E.FICHA=R.FICHA    WHERE E.FICHA=F.FICHA AND R.DTLAN>='",
        dates.month1Start,
        "' AND R.DTLAN<='",
        dates.month1End,
        "' ",
        subSelectClause,
        " ) AS MES1, ",
        " (SELECT SUM(A.VALOR) FROM RECALP A INNER JOIN RECDIS E ON E.FICHA=A.FICHA ",
        "   WHERE E.FICHA=F.FICHA AND A.DTLAN<='",
        dates.month1End,
        "' ",
        subSelectClause,
        " ) AS ATUALIZADO_MES1, ",
        " (SELECT SUM(R.VAREC) FROM RECEIT R INNER JOIN RECDIS E ON E.FICHA=R.FICHA ",
        "   WHERE E.FICHA=F.FICHA AND R.DTLAN>='",
        dates.month2Start,
        "' AND R.DTLAN<='",
        dates.month2End,
        "' ",
        subSelectClause,
        " ) AS MES2, ",
        " (SELECT SUM(A.VALOR) FROM RECALP A INNER JOIN RECDIS E ON E.FICHA=A.FICHA ",
        "   WHERE E.FICHA=F.FICHA AND A.DTLAN<='",
        dates.month2End,
        "' ",
        subSelectClause,
        " ) AS ATUALIZADO_MES2 ",
        "FROM RECDIS F ",
        "WHERE CODRE LIKE '97%' ",
        entityClause,
    });
}

// Deductions are written with their sign changed; a sum is negated as a whole.
std::string DedOrcdLine(const TSQLClientDataSet& record, const RegionalSettings& regional) {
    return LineBuilder()
        .Field(RevenueCodeText(record.FieldByName("codre").AsString()))
        .Field(MoneyText(-record.FieldByName("TOTOR").AsCurrency(), regional))
        .Take();
}

std::string DedRzdaLine(const TSQLClientDataSet& record, const RegionalSettings& regional) {
    const Currency budget = record.FieldByName("TOTOR").AsCurrency();
    return LineBuilder()
        .Field(RevenueCodeText(record.FieldByName("codre").AsString()))
        .Field(MoneyText(-record.FieldByName("MES1").AsCurrency(), regional))
        .Field(MoneyText(-(budget + record.FieldByName("ATUALIZADO_MES1").AsCurrency()), regional))
        .Field(MoneyText(-record.FieldByName("MES2").AsCurrency(), regional))
        .Field(MoneyText(-(budget + record.FieldByName("ATUALIZADO_MES2").AsCurrency()), regional))
        .Take();
}

} // namespace

const FileGenerator kDedOrcd{"DED_ORCD.TXT", "recorc.EMPRESA", &DedOrcdSql, &DedOrcdLine};
const FileGenerator kDedRzda{"DED_RZDA.TXT", "F.EMPRESA", &DedRzdaSql, &DedRzdaLine};

} // namespace lrf
