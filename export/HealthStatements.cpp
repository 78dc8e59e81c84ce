// DSO_ORCD.TXT and DSA_ORCD.TXT: the health expense (function 10) of the ticked entities by statement
// line. Each statement is a UNION of one branch per line over the one-row CADCLI, so every line is written
// whatever the data.
#include "export/HealthStatements.h"

#include "database/ClientDataSet.h"
#include "export/EntityFilter.h"
#include "export/HealthStatementLines.h"
#include "export/RecordConventions.h"

namespace lrf {
namespace health {
namespace {

constexpr std::string_view kLine111[] = {"3.1.90.04%", "3.1.90.07%", "3.1.90.09%", "3.1.90.11%",
                                         "3.1.90.12%", "3.1.90.13%", "3.1.90.14%"};
constexpr std::string_view kLine112[] = {"3.1.90.01%"};
constexpr std::string_view kLine113[] = {"3.1.90.03%"};
constexpr std::string_view kLine120[] = {"3.1.90.16%", "3.1.90.17%", "3.1.90.34%"};
constexpr std::string_view kLine130[] = {"3.2.90%"};
constexpr std::string_view kLine210[] = {"4.4%"};
constexpr std::string_view kLine220[] = {"4.5%"};
constexpr std::string_view kLine230[] = {"4.6%"};

constexpr StatementLine kLines[] = {
    {"1.11", kLine111}, {"1.12", kLine112}, {"1.13", kLine113}, {"1.20", kLine120},
    {"1.30", kLine130}, {"2.10", kLine210}, {"2.20", kLine220}, {"2.30", kLine230},
};

} // namespace

std::span<const StatementLine> StatementLines() {
    return kLines;
}

std::string ElementCondition(const StatementLine& line, std::string_view alias, std::string_view tail) {
    std::string text(14, ' ');
    text += '(';
    for (std::size_t i = 0; i < line.patterns.size(); ++i) {
        if (i > 0)
            text += " OR ";
        if (i > 0 && i % 2 == 0)
            text.append(15, ' ');
        text += alias;
        text += "CATEC LIKE '";
        text += line.patterns[i];
        text += '\'';
    }
    text += ')';
    text += tail;
    return text;
}

} // namespace health

namespace {

using health::StatementLine;

// The first branch names the result columns; the others only give their values.
std::string SelectHead(const StatementLine& line, bool first) {
    if (first)
        return "SELECT '" + std::string(line.code) + "' COD, ";
    return "SELECT '" + std::string(line.code) + "', ";
}

std::string DsoOrcdSql(const Period&, const std::string& entityClause) {
    std::string sql;
    bool first = true;
    for (const StatementLine& line : health::StatementLines()) {
        if (!first)
            sql += "UNION ";
        sql += SelectHead(line, first);
        sql += "       (SELECT SUM(DOTAC) FROM DESDIS ";
        sql += "        WHERE (FUNCAO=10) AND ";
        sql += health::ElementCondition(line, "", " ");
        sql += entityClause;
        sql += first ? ") AS TOTOR " : ") ";
        sql += "FROM CADCLI ";
        first = false;
    }
    return sql;
}

std::string DsoOrcdLine(const TSQLClientDataSet& record, const RegionalSettings& regional) {
    return LineBuilder()
        .Field(record.FieldByName("COD").AsString())
        .Field(MoneyText(record.FieldByName("TOTOR").AsCurrency(), regional))
        .Take();
}

enum class Execution { Liquidated, Changed };

struct ExecutionColumn {
    std::string_view name;
    Execution kind;
    bool firstMonth;
};

constexpr ExecutionColumn kExecutionColumns[] = {
    {"LIQ_MES1", Execution::Liquidated, true},
    {"ATU_MES1", Execution::Changed, true},
    {"LIQ_MES2", Execution::Liquidated, false},
    {"ATU_MES2", Execution::Changed, false},
};

// Liquidations are the month's own; the allocation changes run up to the month's last day with no lower
// bound, so that TOTOR plus them is the allocation as updated at that day, as in DFS_RZDA.TXT.
std::string DsaOrcdSql(const Period& period, const std::string& entityClause) {
    const std::string lineClause = ReplaceAll(entityClause, "Z.", "D.");
    const PeriodTexts dates(period);

    std::string sql;
    const auto lines = health::StatementLines();
    for (std::size_t branch = 0; branch < lines.size(); ++branch) {
        const StatementLine& line = lines[branch];
        const bool first = branch == 0;
        if (!first)
            sql += "UNION ";
        sql += SelectHead(line, first);
        sql += "       (SELECT SUM(Z.DOTAC) FROM DESDIS Z ";
        sql += "        WHERE (Z.FUNCAO=10) AND ";
        sql += health::ElementCondition(line, "Z.", " ");
        sql += entityClause;
        sql += first ? ") AS TOTOR, " : "), ";

        for (const ExecutionColumn& column : kExecutionColumns) {
            const bool liquidated = column.kind == Execution::Liquidated;
            if (liquidated) {
                sql += "       (SELECT SUM(V.VADEM) FROM VIEWLIQ V ";
                sql += "     INNER JOIN DESPES G ON G.PKEMP = V.PKEMP ";
                sql += "     INNER JOIN DESDIS D ON D.FICHA=G.FICHA ";
            } else {
                sql += "       (SELECT SUM(V.VALOR) FROM DESALD V ";
                sql += "        INNER JOIN DESDIS D ON D.FICHA=V.FICHA ";
            }
            sql += "        WHERE (D.FUNCAO=10) AND ";
            sql += health::ElementCondition(line, "D.", " AND ");
            if (liquidated) {
                sql += "              (V.DATAE>='";
                sql += column.firstMonth ? dates.month1Start : dates.month2Start;
                sql += "' AND V.DATAE<='";
            } else {
                sql += "              (V.DTLAN<='";
            }
            sql += column.firstMonth ? dates.month1End : dates.month2End;
            sql += "') ";
            sql += std::string(first && column.firstMonth ? 15 : 14, ' ');
            sql += lineClause;
            if (first) {
                sql += ") AS ";
                sql += column.name;
                sql += &column == &kExecutionColumns[3] ? " " : ", ";
            } else {
                sql += &column == &kExecutionColumns[3] ? ") " : "), ";
            }
        }
        sql += branch + 1 < lines.size() ? "FROM CADCLI " : "FROM CADCLI";
    }
    return sql;
}

// TOTOR is not written alone: it is the base of each month's updated allocation.
std::string DsaOrcdLine(const TSQLClientDataSet& record, const RegionalSettings& regional) {
    const Currency totor = record.FieldByName("TOTOR").AsCurrency();
    return LineBuilder()
        .Field(record.FieldByName("COD").AsString())
        .Field(MoneyText(record.FieldByName("LIQ_MES1").AsCurrency(), regional))
        .Field(MoneyText(totor + record.FieldByName("ATU_MES1").AsCurrency(), regional))
        .Field(MoneyText(record.FieldByName("LIQ_MES2").AsCurrency(), regional))
        .Field(MoneyText(totor + record.FieldByName("ATU_MES2").AsCurrency(), regional))
        .Take();
}

} // namespace

const FileGenerator kDsoOrcd{"DSO_ORCD.TXT", "DESDIS.EMPRESA", &DsoOrcdSql, &DsoOrcdLine};
const FileGenerator kDsaOrcd{"DSA_ORCD.TXT", "Z.EMPRESA", &DsaOrcdSql, &DsaOrcdLine};

} // namespace lrf
