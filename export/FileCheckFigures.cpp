// What the database gives for each file, through statements of the check's own: plain sums with GROUP BY,
// no correlated sub-select, put together by key here. Read inside the run's snapshot, they see the very
// rows the files were written from.
//
// Each movement is first summed per item (FICHA) in that column's index order, so the engine sums as it
// walks and sorts nothing; only the few thousand items are then grouped. The check stays within the
// run's memory.
#include "database/ClientDataSet.h"
#include "database/Connection.h"
#include "export/EntityFilter.h"
#include "export/FileCheckContext.h"
#include "export/HealthStatementLines.h"
#include "export/RecordConventions.h"
#include "settings/Join.h"

#include <functional>
#include <tuple>

namespace lrf::check {

namespace {

using namespace Qt::StringLiterals;

constexpr std::string_view kHealth = "CASE WHEN E.FUNCAO=10 THEN 1 ELSE 0 END";

struct Dates {
    std::string yearStart, m1s, m1e, m2s, m2e;
};

// The ticked entities' revenue items: code and budget.
std::string RevenueItemsSql(const std::string& clause) {
    return Join({"SELECT D.FICHA, D.CODRE, SUM(D.TOTOR) AS TOTOR, COUNT(*) AS LINHAS FROM RECDIS D ",
                 "WHERE D.CODRE IS NOT NULL", clause, " GROUP BY D.FICHA, D.CODRE"});
}

std::string RevenuePostingsSql(const Dates& d) {
    return Join({"SELECT R.FICHA, ", "SUM(CASE WHEN R.DTLAN<='", d.m1e, "' THEN R.VAREC END) AS MES1, ",
                 "SUM(CASE WHEN R.DTLAN>='", d.m2s, "' THEN R.VAREC END) AS MES2 ",
                 "FROM RECEIT R WHERE R.DTLAN>='", d.m1s, "' AND R.DTLAN<='", d.m2e, "' GROUP BY R.FICHA"});
}

// The updated budget of a month counts every alteration up to the month's last day.
std::string RevenueAlterationsSql(const Dates& d) {
    return Join({"SELECT A.FICHA, ", "SUM(CASE WHEN A.DTLAN<='", d.m1e, "' THEN A.VALOR END) AS ATE_MES1, ",
                 "SUM(A.VALOR) AS ATE_MES2 ", "FROM RECALP A WHERE A.DTLAN<='", d.m2e, "' GROUP BY A.FICHA"});
}

std::string DeductionBudgetSql(const std::string& clause) {
    return Join({"SELECT D.CODRE, SUM(D.TOTOR) AS TOTOR, COUNT(*) AS LINHAS FROM RECORC D ",
                 "WHERE D.CODRE STARTING WITH '97'", clause, " GROUP BY D.CODRE"});
}

std::string BudgetRowsSql(std::string_view table, const std::string& clause) {
    return Join({"SELECT COUNT(*) AS LINHAS FROM ", table, " D WHERE 1=1", clause});
}

// The columns the expense files group by, and whether the item is of function 10.
const std::string kExpenseGroup = Join({"E.CATEC, E.FUNCAO, E.SUBFUNCAO, E.EXTRA, ", kHealth});

// The ticked entities' expense items, grouped by those columns.
std::string ExpenseItemsSql(const std::string& clause) {
    return Join({"SELECT ", kExpenseGroup, " AS SAUDE, SUM(E.DOTAC) AS DOTAC FROM DESDIS E WHERE 1=1", clause,
                 " GROUP BY ", kExpenseGroup});
}

// The per-item sums of a movement (FICHA and `columns`), added up over the ticked entities' items by group.
std::string ByExpenseGroupSql(const std::string& perItem, std::initializer_list<std::string_view> columns,
                              const std::string& clause) {
    std::string sql = Join({"SELECT ", kExpenseGroup, " AS SAUDE"});
    for (std::string_view column : columns)
        sql += Join({", SUM(M.", column, ") AS ", column});
    return sql + Join({" FROM DESDIS E INNER JOIN (", perItem, ") M ON M.FICHA=E.FICHA WHERE 1=1", clause,
                       " GROUP BY ", kExpenseGroup});
}

// Each month's commitments and the year's up to the bimester's end.
std::string CommitmentsSql(const Dates& d) {
    return Join({"SELECT D.FICHA, ", "SUM(CASE WHEN D.DATAE>='", d.m1s, "' AND D.DATAE<='", d.m1e,
                 "' THEN D.VADEM END) AS MES1, ", "SUM(CASE WHEN D.DATAE>='", d.m2s,
                 "' THEN D.VADEM END) AS MES2, ", "SUM(D.VADEM) AS ANO ", "FROM DESPES D WHERE D.DATAE>='",
                 d.yearStart, "' AND D.DATAE<='", d.m2e, "' GROUP BY D.FICHA"});
}

// The same for liquidations, each reaching its item through its commitment. The outer join walks the
// commitments in item order; an inner one would let the engine start from the liquidations and sort.
std::string LiquidationsSql(const Dates& d) {
    return Join({"SELECT G.FICHA, ", "SUM(CASE WHEN D.DATAE>='", d.m1s, "' AND D.DATAE<='", d.m1e,
                 "' THEN D.VADEM END) AS MES1, ", "SUM(CASE WHEN D.DATAE>='", d.m2s,
                 "' THEN D.VADEM END) AS MES2, ", "SUM(D.VADEM) AS ANO ",
                 "FROM DESPES G LEFT JOIN VIEWLIQ D ON D.PKEMP=G.PKEMP AND D.DATAE>='", d.yearStart,
                 "' AND D.DATAE<='", d.m2e, "' GROUP BY G.FICHA"});
}

// Alterations: each month's alone (DES_RZDA), and all up to each month's end (the updated allocation).
std::string ExpenseAlterationsSql(const Dates& d) {
    return Join({"SELECT D.FICHA, ", "SUM(CASE WHEN D.DTLAN>='", d.m1s, "' AND D.DTLAN<='", d.m1e,
                 "' THEN D.VALOR END) AS MES1, ", "SUM(CASE WHEN D.DTLAN>='", d.m2s,
                 "' THEN D.VALOR END) AS MES2, ", "SUM(CASE WHEN D.DTLAN<='", d.m1e,
                 "' THEN D.VALOR END) AS ATE_MES1, ", "SUM(D.VALOR) AS ATE_MES2 ",
                 "FROM DESALD D WHERE D.DTLAN<='", d.m2e, "' GROUP BY D.FICHA"});
}

void EachRow(TCRSQLConnection& connection, const std::string& sql,
             const std::function<void(const TSQLClientDataSet&)>& row) {
    TSQLClientDataSet cds(&connection);
    cds.CommandText = sql;
    cds.Open();
    for (; !cds.Eof(); cds.Next())
        row(cds);
    cds.Close();
}

std::optional<std::string> Text(const TSQLClientDataSet& cds, const char* column) {
    const TField field = cds.FieldByName(column);
    if (field.IsNull())
        return std::nullopt;
    return field.AsString();
}

KeyFigures& Entry(FileFigures& figures, const std::string& key, std::size_t amounts) {
    KeyFigures& entry = figures[key];
    entry.amounts.resize(amounts);
    return entry;
}

bool Wanted(const CheckContext& context, std::initializer_list<FileIndex> files) {
    for (FileIndex file : files)
        if (context.files[file].wanted)
            return true;
    return false;
}

// Runs one part of the reading; a statement the database refuses is told for the files it feeds.
void Guarded(CheckContext& context, std::initializer_list<FileIndex> files,
             const std::function<void()>& part) {
    try {
        part();
    } catch (const std::exception& error) {
        for (FileIndex file : files) {
            context.figures.expected[file].reset();
            if (context.figures.failure[file].isEmpty())
                context.figures.failure[file] = QString::fromUtf8(error.what());
        }
    }
}

struct StoredCode {
    Currency budget, month1, month2, to1, to2;
    int rows = 0;
    bool posted = false;
};

// Sums of one item's rows, read by column name.
using ItemSums = std::map<std::string, std::vector<Currency>>;

ItemSums SumsByItem(TCRSQLConnection& connection, const std::string& sql,
                    std::initializer_list<const char*> columns) {
    ItemSums sums;
    EachRow(connection, sql, [&](const TSQLClientDataSet& row) {
        std::vector<Currency>& item = sums[row.FieldByName("FICHA").AsString()];
        item.resize(columns.size());
        std::size_t i = 0;
        for (const char* column : columns) {
            item[i] = item[i] + row.FieldByName(column).AsCurrency();
            ++i;
        }
    });
    return sums;
}

const std::vector<Currency>* Find(const ItemSums& sums, const std::string& item) {
    const auto it = sums.find(item);
    return it == sums.end() ? nullptr : &it->second;
}

void ReadRevenue(CheckContext& context, TCRSQLConnection& connection, const Dates& dates) {
    Figures& figures = context.figures;
    const std::string clause =
        BuildEntityFilter(context.request.entities, context.request.entityCodeLength, "D.EMPRESA");
    ItemSums postings, alterations;
    if (Wanted(context, {kRecRzda, kDedRzda})) {
        postings = SumsByItem(connection, RevenuePostingsSql(dates), {"MES1", "MES2"});
        alterations = SumsByItem(connection, RevenueAlterationsSql(dates), {"ATE_MES1", "ATE_MES2"});
    }
    std::map<std::string, StoredCode> codes;
    EachRow(connection, RevenueItemsSql(clause), [&](const TSQLClientDataSet& row) {
        const std::string item = row.FieldByName("FICHA").AsString();
        StoredCode& code = codes[row.FieldByName("CODRE").AsString()];
        code.budget = code.budget + row.FieldByName("TOTOR").AsCurrency();
        const auto rows = static_cast<int>(row.FieldByName("LINHAS").AsInteger());
        code.rows += rows;
        figures.recdisRows = true;
        // An item's postings count once for each of its rows, as a join on the item counts them.
        for (int i = 0; i < rows; ++i) {
            if (const auto* sums = Find(postings, item)) {
                code.month1 = code.month1 + (*sums)[0];
                code.month2 = code.month2 + (*sums)[1];
                code.posted = true;
            }
            if (const auto* sums = Find(alterations, item)) {
                code.to1 = code.to1 + (*sums)[0];
                code.to2 = code.to2 + (*sums)[1];
            }
        }
    });
    FileFigures recOrcd, recRzda, dedRzda;
    for (const auto& [stored, code] : codes) {
        const std::string written = RevenueCodeText(stored);
        if (stored.starts_with("97")) {
            figures.recdisCodes[written].insert(stored);
            KeyFigures& line = Entry(dedRzda, written, 4);
            line.rows += code.rows;
            line.amounts[0] = line.amounts[0] + -code.month1;
            line.amounts[1] = line.amounts[1] + -(code.budget + code.to1);
            line.amounts[2] = line.amounts[2] + -code.month2;
            line.amounts[3] = line.amounts[3] + -(code.budget + code.to2);
        } else if (stored.starts_with('9')) {
            if (code.posted)
                figures.ninePostings[stored] = code.month1 + code.month2;
        } else if (code.rows > 0) {
            figures.recdisCodes[written].insert(stored);
            KeyFigures& budget = Entry(recOrcd, written, 1);
            budget.rows += 1;
            budget.amounts[0] = budget.amounts[0] + code.budget;
            KeyFigures& line = Entry(recRzda, written, 4);
            line.rows += 1;
            line.amounts[0] = line.amounts[0] + code.month1;
            line.amounts[1] = line.amounts[1] + code.budget + code.to1;
            line.amounts[2] = line.amounts[2] + code.month2;
            line.amounts[3] = line.amounts[3] + code.budget + code.to2;
        }
    }
    figures.expected[kRecOrcd] = std::move(recOrcd);
    figures.expected[kRecRzda] = std::move(recRzda);
    figures.expected[kDedRzda] = std::move(dedRzda);
}

void ReadDeductionBudget(CheckContext& context, TCRSQLConnection& connection) {
    Figures& figures = context.figures;
    const std::string clause =
        BuildEntityFilter(context.request.entities, context.request.entityCodeLength, "D.EMPRESA");
    FileFigures dedOrcd;
    EachRow(connection, DeductionBudgetSql(clause), [&](const TSQLClientDataSet& row) {
        const std::string stored = row.FieldByName("CODRE").AsString();
        const std::string written = RevenueCodeText(stored);
        figures.recorcCodes[written].insert(stored);
        KeyFigures& line = Entry(dedOrcd, written, 1);
        line.rows += static_cast<int>(row.FieldByName("LINHAS").AsInteger());
        line.amounts[0] = line.amounts[0] + -row.FieldByName("TOTOR").AsCurrency();
    });
    EachRow(connection, BudgetRowsSql("RECORC", clause), [&](const TSQLClientDataSet& row) {
        figures.recorcRows = row.FieldByName("LINHAS").AsInteger() > 0;
    });
    figures.expected[kDedOrcd] = std::move(dedOrcd);
}

using GroupKey = std::tuple<std::optional<std::string>, std::optional<std::string>,
                            std::optional<std::string>, bool, bool>;

bool IsExtraN(const std::optional<std::string>& extra) {
    if (!extra)
        return false;
    std::string_view text = *extra;
    while (text.ends_with(' '))
        text.remove_suffix(1);
    return text == "N";
}

void Keep(Figures& figures, const std::map<GroupKey, ExpenseGroup>& groups) {
    for (const auto& [key, g] : groups)
        figures.expense.push_back(g);
}

void ReadExpense(CheckContext& context, TCRSQLConnection& connection, const Dates& dates, bool movements) {
    Figures& figures = context.figures;
    const std::string clause =
        BuildEntityFilter(context.request.entities, context.request.entityCodeLength, "E.EMPRESA");
    std::map<GroupKey, ExpenseGroup> groups;
    const auto each = [&](const std::string& sql,
                          const std::function<void(ExpenseGroup&, const TSQLClientDataSet&)>& add) {
        EachRow(connection, sql, [&](const TSQLClientDataSet& row) {
            const GroupKey key{Text(row, "CATEC"), Text(row, "FUNCAO"), Text(row, "SUBFUNCAO"),
                               IsExtraN(Text(row, "EXTRA")), row.FieldByName("SAUDE").AsInteger() == 1};
            ExpenseGroup& g = groups[key];
            std::tie(g.catec, g.funcao, g.subfuncao, g.extraN, g.health) = key;
            add(g, row);
        });
    };
    const auto money = [](const TSQLClientDataSet& row, const char* column) {
        return row.FieldByName(column).AsCurrency();
    };
    each(ExpenseItemsSql(clause), [&](ExpenseGroup& g, const TSQLClientDataSet& row) {
        g.dotac = g.dotac + money(row, "DOTAC");
        figures.desdisRows = true;
    });
    if (!movements)
        return Keep(figures, groups);
    each(ByExpenseGroupSql(CommitmentsSql(dates), {"MES1", "MES2", "ANO"}, clause),
         [&](ExpenseGroup& g, const TSQLClientDataSet& row) {
             g.emp1 = g.emp1 + money(row, "MES1");
             g.emp2 = g.emp2 + money(row, "MES2");
             g.empYear = g.empYear + money(row, "ANO");
         });
    each(ByExpenseGroupSql(LiquidationsSql(dates), {"MES1", "MES2", "ANO"}, clause),
         [&](ExpenseGroup& g, const TSQLClientDataSet& row) {
             g.liq1 = g.liq1 + money(row, "MES1");
             g.liq2 = g.liq2 + money(row, "MES2");
             g.liqYear = g.liqYear + money(row, "ANO");
         });
    each(ByExpenseGroupSql(ExpenseAlterationsSql(dates), {"MES1", "MES2", "ATE_MES1", "ATE_MES2"}, clause),
         [&](ExpenseGroup& g, const TSQLClientDataSet& row) {
             g.alt1 = g.alt1 + money(row, "MES1");
             g.alt2 = g.alt2 + money(row, "MES2");
             g.altTo1 = g.altTo1 + money(row, "ATE_MES1");
             g.altTo2 = g.altTo2 + money(row, "ATE_MES2");
         });
    figures.expenseMovements = true;
    Keep(figures, groups);
}

std::string PairKey(const ExpenseGroup& g) {
    return g.funcao.value_or("") + ";" + g.subfuncao.value_or("");
}

bool InStatementLine(const ExpenseGroup& g, const health::StatementLine& line) {
    if (!g.health || !g.catec)
        return false;
    for (std::string_view pattern : line.patterns) {
        pattern.remove_suffix(1); // the LIKE's "%"
        if (g.catec->starts_with(pattern))
            return true;
    }
    return false;
}

// The expected lines of the six expense files, from the groups.
void ExpenseFiles(CheckContext& context) {
    Figures& figures = context.figures;
    const auto& groups = figures.expense;
    FileFigures desOrcd, desRzda, dfsOrcd, dfsRzda, dsoOrcd, dsaOrcd;
    for (const ExpenseGroup& g : groups) {
        if (g.catec) {
            KeyFigures& line = Entry(desOrcd, *g.catec, 1);
            line.rows = 1;
            line.amounts[0] = line.amounts[0] + g.dotac;
        }
        if (!g.extraN)
            continue;
        Entry(dfsOrcd, PairKey(g), 1).rows = 1;
        dfsOrcd[PairKey(g)].amounts[0] = dfsOrcd[PairKey(g)].amounts[0] + g.dotac;
        Entry(desRzda, g.catec.value_or(""), 6).rows = 1;
        KeyFigures& pair = Entry(dfsRzda, PairKey(g), 6);
        pair.rows = 1;
        pair.amounts[2] = pair.amounts[2] + g.dotac; // the pair's allocation; changes added below
        pair.amounts[5] = pair.amounts[5] + g.dotac;
    }
    // The movements of every item (any EXTRA) count where its category or pair has a line.
    for (const ExpenseGroup& g : groups) {
        if (g.catec) {
            if (auto it = desRzda.find(*g.catec); it != desRzda.end()) {
                auto& a = it->second.amounts;
                const Currency add[] = {g.emp1, g.emp2, g.liq1, g.liq2, g.alt1, g.alt2};
                for (std::size_t i = 0; i < 6; ++i)
                    a[i] = a[i] + add[i];
            }
        }
        if (g.funcao && g.subfuncao) {
            if (auto it = dfsRzda.find(PairKey(g)); it != dfsRzda.end()) {
                auto& a = it->second.amounts;
                const Currency add[] = {g.emp1, g.liq1, g.altTo1, g.emp2, g.liq2, g.altTo2};
                for (std::size_t i = 0; i < 6; ++i)
                    a[i] = a[i] + add[i];
            }
        }
    }
    for (const health::StatementLine& line : health::StatementLines()) {
        const std::string code(line.code);
        KeyFigures& budget = Entry(dsoOrcd, code, 1);
        KeyFigures& executed = Entry(dsaOrcd, code, 4);
        budget.rows = executed.rows = 1;
        for (const ExpenseGroup& g : groups) {
            if (!InStatementLine(g, line))
                continue;
            budget.amounts[0] = budget.amounts[0] + g.dotac;
            executed.amounts[0] = executed.amounts[0] + g.liq1;
            executed.amounts[1] = executed.amounts[1] + g.dotac + g.altTo1;
            executed.amounts[2] = executed.amounts[2] + g.liq2;
            executed.amounts[3] = executed.amounts[3] + g.dotac + g.altTo2;
        }
    }
    figures.expected[kDesOrcd] = std::move(desOrcd);
    figures.expected[kDfsOrcd] = std::move(dfsOrcd);
    figures.expected[kDsoOrcd] = std::move(dsoOrcd);
    if (figures.expenseMovements) {
        figures.expected[kDesRzda] = std::move(desRzda);
        figures.expected[kDfsRzda] = std::move(dfsRzda);
        figures.expected[kDsaOrcd] = std::move(dsaOrcd);
    }
}

} // namespace

void ReadFigures(CheckContext& context, TCRSQLConnection& connection) {
    const Period& period = context.request.period;
    const PeriodTexts texts(period);
    const Dates dates{SqlDateText(QDate(period.month1Start.year(), 1, 1)), texts.month1Start, texts.month1End,
                      texts.month2Start, texts.month2End};

    if (Wanted(context, {kRecOrcd, kRecRzda, kDedRzda}))
        Guarded(context, {kRecOrcd, kRecRzda, kDedRzda}, [&] { ReadRevenue(context, connection, dates); });
    if (Wanted(context, {kDedOrcd}))
        Guarded(context, {kDedOrcd}, [&] { ReadDeductionBudget(context, connection); });
    if (Wanted(context, {kDesOrcd, kDesRzda, kDfsOrcd, kDfsRzda, kDsoOrcd, kDsaOrcd})) {
        const bool movements = Wanted(context, {kDesRzda, kDfsRzda, kDsaOrcd});
        Guarded(context, {kDesOrcd, kDesRzda, kDfsOrcd, kDfsRzda, kDsoOrcd, kDsaOrcd}, [&] {
            ReadExpense(context, connection, dates, movements);
            ExpenseFiles(context);
        });
    }
    // Figures of files not asked for are not checked.
    for (std::size_t f = 0; f < kFileCount; ++f)
        if (!context.files[f].wanted)
            context.figures.expected[f].reset();
}

} // namespace lrf::check
