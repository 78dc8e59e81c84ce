// The statements of the expense files, character for character: every condition and every blank is
// sent to the database as it is.
#include "export/EntityFilter.h"
#include "export/ExpenseCategoryFiles.h"
#include "export/ExpenseFunctionFiles.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

namespace lrf {
namespace {

// Second bimester of 2010.
const Period kPeriod{QDate(2010, 3, 1), QDate(2010, 3, 31), QDate(2010, 4, 1), QDate(2010, 4, 30)};

std::string Join(const std::vector<std::string>& pieces) {
    return std::accumulate(pieces.begin(), pieces.end(), std::string());
}

// DES_RZDA's statement as its 59 pieces, with the sub-select clause `e` and the outer clause `f`.
std::string DesRzdaPieces(const std::string& f, const std::string& e) {
    return Join({
        "SELECT F.CATEC, SUM(F.DOTAC) DOTAC,    (SELECT SUM(D.VADEM) FROM DESPES D      INNER JOIN DESDIS "
        "E ON E.FICHA=D.FICHA       WHERE E.CATEC=F.CATEC AND D.DATAE>='",
        "03/01/2010",
        "' AND D.DATAE<='",
        "03/31/2010",
        "' ",
        e,
        " ) AS EMP_MES1, ",
        "    (SELECT SUM(D.VADEM) FROM VIEWLIQ D ",
        "     INNER JOIN DESPES G ON G.PKEMP = D.PKEMP ",
        "     INNER JOIN DESDIS E ON E.FICHA=G.FICHA ",
        "      WHERE E.CATEC=F.CATEC AND D.DATAE>='",
        "03/01/2010",
        "' AND D.DATAE<='",
        "03/31/2010",
        "' ",
        e,
        " ) AS LIQ_MES1, ",
        "    (SELECT SUM(D.VALOR) FROM DESALD D ",
        "     INNER JOIN DESDIS E ON E.FICHA=D.FICHA ",
        "      WHERE E.CATEC=F.CATEC AND D.DTLAN>='",
        "03/01/2010",
        "' AND D.DTLAN<='",
        "03/31/2010",
        "' ",
        e,
        " ) AS ATU_MES1, ",
        "    (SELECT SUM(D.VADEM) FROM DESPES D ",
        "     INNER JOIN DESDIS E ON E.FICHA=D.FICHA ",
        "      WHERE E.CATEC=F.CATEC AND D.DATAE>='",
        "04/01/2010",
        "' AND D.DATAE<='",
        "04/30/2010",
        "' ",
        e,
        " ) AS EMP_MES2, ",
        "    (SELECT SUM(D.VADEM) FROM VIEWLIQ D ",
        "     INNER JOIN DESPES G ON G.PKEMP = D.PKEMP ",
        "     INNER JOIN DESDIS E ON E.FICHA=G.FICHA ",
        "      WHERE E.CATEC=F.CATEC AND D.DATAE>='",
        "04/01/2010",
        "' AND D.DATAE<='",
        "04/30/2010",
        "' ",
        e,
        " ) AS LIQ_MES2, ",
        "    (SELECT SUM(D.VALOR) FROM DESALD D ",
        "     INNER JOIN DESDIS E ON E.FICHA=D.FICHA ",
        "      WHERE E.CATEC=F.CATEC AND D.DTLAN>='",
        "04/01/2010",
        "' AND D.DTLAN<='",
        "04/30/2010",
        "' ",
        e,
        " ) AS ATU_MES2 ",
        "FROM DESDIS F ",
        "WHERE F.EXTRA='N' ",
        f,
        " ",
        "GROUP BY F.CATEC ",
    });
}

std::string DfsRzdaText(const std::string& f, const std::string& e) {
    const std::string where = "      WHERE E.FUNCAO=F.FUNCAO AND E.SUBFUNCAO=F.SUBFUNCAO " + e + " ";
    const std::string commitments = "    (SELECT SUM(D.VADEM) FROM DESPES D "
                                    "     INNER JOIN DESDIS E ON E.FICHA=D.FICHA ";
    const std::string liquidations = "    (SELECT SUM(D.VADEM) FROM VIEWLIQ D "
                                     "     INNER JOIN DESPES G ON G.PKEMP = D.PKEMP "
                                     "     INNER JOIN DESDIS E ON E.FICHA=G.FICHA ";
    const std::string changes = "    (SELECT SUM(D.VALOR) FROM DESALD D "
                                "     INNER JOIN DESDIS E ON E.FICHA=D.FICHA ";
    return Join({
        "SELECT F.FUNCAO, F.SUBFUNCAO, SUM(F.DOTAC) AS DOTAC, ",
        commitments,
        where,
        "        AND D.DATAE>='03/01/2010' AND D.DATAE<='03/31/2010') AS EMP_MES1, ",
        liquidations,
        where,
        "        AND D.DATAE>='03/01/2010' AND D.DATAE<='03/31/2010') AS LIQ_MES1, ",
        changes,
        where,
        "        AND D.DTLAN<='03/31/2010') AS ATU_MES1, ",
        commitments,
        where,
        "        AND D.DATAE>='04/01/2010' AND D.DATAE<='04/30/2010') AS EMP_MES2, ",
        liquidations,
        where,
        "        AND D.DATAE>='04/01/2010' AND D.DATAE<='04/30/2010') AS LIQ_MES2, ",
        changes,
        where,
        "        AND D.DTLAN<='04/30/2010') AS ATU_MES2 ",
        "FROM DESDIS F ",
        "WHERE F.EXTRA='N' ",
        f,
        " ",
        "GROUP BY F.FUNCAO, F.SUBFUNCAO ",
    });
}

struct StatementCase {
    const char* name;
    const FileGenerator* generator;
    std::string clause; // as the filter builds it for the generator's column reference
    std::string expected;
};

class ExpenseStatementText : public testing::TestWithParam<StatementCase> {};

TEST_P(ExpenseStatementText, IsTheFixedText) {
    const StatementCase& c = GetParam();
    EXPECT_EQ(c.generator->buildSql(kPeriod, c.clause), c.expected);
}

const std::string kDesdis13 = " and (  DESDIS.EMPRESA = 1 or   DESDIS.EMPRESA = 3)";
const std::string kF13 = " and (  F.EMPRESA = 1 or   F.EMPRESA = 3)";
const std::string kE13 = " and (  E.EMPRESA = 1 or   E.EMPRESA = 3)";

INSTANTIATE_TEST_SUITE_P(
    Statements, ExpenseStatementText,
    testing::Values(
        StatementCase{"DesOrcdOneEntity", &kDesOrcd, " and (  DESDIS.EMPRESA = 1)",
                      "SELECT CATEC, SUM(DOTAC) AS VALOR FROM DESDIS WHERE NOT CATEC IS NULL  and (  "
                      "DESDIS.EMPRESA = 1) GROUP BY CATEC "},
        StatementCase{
            "DesOrcdNoEntity", &kDesOrcd, "",
            "SELECT CATEC, SUM(DOTAC) AS VALOR FROM DESDIS WHERE NOT CATEC IS NULL  GROUP BY CATEC "},
        StatementCase{"DesRzdaTwoEntities", &kDesRzda, kF13, DesRzdaPieces(kF13, kE13)},
        StatementCase{"DesRzdaNoEntity", &kDesRzda, "", DesRzdaPieces("", "")},
        StatementCase{"DfsOrcdTwoEntities", &kDfsOrcd, kDesdis13,
                      "SELECT FUNCAO, SUBFUNCAO, SUM(DOTAC)AS VALOR FROM DESDIS WHERE EXTRA='N'  and (  "
                      "DESDIS.EMPRESA = 1 or   DESDIS.EMPRESA = 3) GROUP BY FUNCAO, SUBFUNCAO"},
        StatementCase{"DfsOrcdNoEntity", &kDfsOrcd, "",
                      "SELECT FUNCAO, SUBFUNCAO, SUM(DOTAC)AS VALOR FROM DESDIS WHERE EXTRA='N'  GROUP BY "
                      "FUNCAO, SUBFUNCAO"},
        StatementCase{"DfsRzdaTwoEntities", &kDfsRzda, kF13, DfsRzdaText(kF13, kE13)},
        StatementCase{"DfsRzdaNoEntity", &kDfsRzda, "", DfsRzdaText("", "")}),
    [](const testing::TestParamInfo<StatementCase>& test) { return std::string(test.param.name); });

// The first sub-select of DES_RZDA as the accounting system writes it for entity 1.
TEST(ExpenseStatementText, DesRzdaFirstSubSelectEndsWithTheEntityOfE) {
    const std::string sql = kDesRzda.buildSql(kPeriod, " and (  F.EMPRESA = 1)");
    const std::string end = "WHERE E.CATEC=F.CATEC AND D.DATAE>='03/01/2010' AND D.DATAE<='03/31/2010'  and "
                            "(  E.EMPRESA = 1) ) AS EMP_MES1,";
    EXPECT_NE(sql.find(end), std::string::npos) << sql;
}

// The sub-selects name the item E; the outer query keeps F. A lower-case "f." is not an alias of
// the statement and stays as it is.
TEST(ExpenseStatementText, OnlyTheExactAliasPrefixIsReplaced) {
    const std::string clause = " and (  F.EMPRESA = 1 or   f.EMPRESA = 2)";
    for (const FileGenerator* generator : {&kDesRzda, &kDfsRzda}) {
        const std::string sql = generator->buildSql(kPeriod, clause);
        EXPECT_NE(sql.find(" and (  E.EMPRESA = 1 or   f.EMPRESA = 2)"), std::string::npos) << sql;
        EXPECT_NE(sql.find("WHERE F.EXTRA='N'  and (  F.EMPRESA = 1 or   f.EMPRESA = 2) GROUP BY"),
                  std::string::npos)
            << sql;
    }
}

struct ReferenceCase {
    const FileGenerator* generator;
    const char* fileName;
    const char* columnReference;
};

// The clause of the two ticked entities 1 and 3, built by the entity filter with each file's reference.
TEST(ExpenseStatementText, ColumnReferencesGiveTheClauseTheStatementNames) {
    const std::vector<EntityItem> items = {
        {"01 - PREFEITURA", true}, {"02 - CAMARA", false}, {"03 - FUNDO", true}};
    const ReferenceCase cases[] = {
        {&kDesOrcd, "DES_ORCD.TXT", "DESDIS.EMPRESA"},
        {&kDesRzda, "DES_RZDA.TXT", "F.EMPRESA"},
        {&kDfsOrcd, "DFS_ORCD.TXT", "DESDIS.EMPRESA"},
        {&kDfsRzda, "DFS_RZDA.TXT", "F.EMPRESA"},
    };
    for (const ReferenceCase& c : cases) {
        SCOPED_TRACE(c.fileName);
        EXPECT_EQ(c.generator->fileName, c.fileName);
        EXPECT_EQ(c.generator->columnReference, c.columnReference);
        const std::string clause = BuildEntityFilter(items, 2, c.generator->columnReference);
        const std::string sql = c.generator->buildSql(kPeriod, clause);
        const std::string ref = c.columnReference;
        EXPECT_NE(sql.find(" and (  " + ref + " = 1 or   " + ref + " = 3)"), std::string::npos) << sql;
    }
}

} // namespace
} // namespace lrf
