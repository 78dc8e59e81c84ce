// The statements of DED_ORCD.TXT and DED_RZDA.TXT, character for character.
#include "export/DeductionFiles.h"
#include "export/EntityFilter.h"
#include "export/Period.h"

#include <gtest/gtest.h>

namespace lrf {
namespace {

const Period kSecondBimester2010 = PeriodOfBimester(2, QStringLiteral("2010"));

// `outer` restricts the RECDIS rows of the lines, `inner` the items joined in each sub-select; each
// sub-select sums the postings of the line's own item.
std::string DedRzdaStatement(const std::string& outer, const std::string& inner) {
    return "SELECT F.CODRE, F.TOTOR,  (SELECT SUM(R.VAREC) FROM RECEIT R INNER JOIN RECDIS E ON "
           "E.FICHA=R.FICHA    "
           "WHERE E.FICHA=F.FICHA AND R.DTLAN>='03/01/2010' AND R.DTLAN<='03/31/2010' " +
           inner +
           " ) AS MES1,  (SELECT SUM(A.VALOR) FROM RECALP A INNER JOIN RECDIS E ON E.FICHA=A.FICHA    WHERE "
           "E.FICHA=F.FICHA AND A.DTLAN<='03/31/2010' " +
           inner +
           " ) AS ATUALIZADO_MES1,  (SELECT SUM(R.VAREC) FROM RECEIT R INNER JOIN RECDIS E ON "
           "E.FICHA=R.FICHA    "
           "WHERE E.FICHA=F.FICHA AND R.DTLAN>='04/01/2010' AND R.DTLAN<='04/30/2010' " +
           inner +
           " ) AS MES2,  (SELECT SUM(A.VALOR) FROM RECALP A INNER JOIN RECDIS E ON E.FICHA=A.FICHA    WHERE "
           "E.FICHA=F.FICHA AND A.DTLAN<='04/30/2010' " +
           inner + " ) AS ATUALIZADO_MES2 FROM RECDIS F WHERE CODRE LIKE '97%' " + outer;
}

struct StatementCase {
    const char* name;
    const FileGenerator* generator;
    std::string clause;
    std::string expected;
};

class DeductionStatementTest : public ::testing::TestWithParam<StatementCase> {};

TEST_P(DeductionStatementTest, IsBuiltExactly) {
    const StatementCase& c = GetParam();
    EXPECT_EQ(c.generator->buildSql(kSecondBimester2010, c.clause, RegionalSettings{}), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Statements, DeductionStatementTest,
    ::testing::Values(
        StatementCase{"DedOrcdOneEntity", &kDedOrcd, " and (  recorc.EMPRESA = 1)",
                      "SELECT CODRE, TOTOR FROM RECORC WHERE CODRE LIKE '97%'  and (  recorc.EMPRESA = 1)"},
        StatementCase{"DedOrcdNoEntity", &kDedOrcd, "",
                      "SELECT CODRE, TOTOR FROM RECORC WHERE CODRE LIKE '97%' "},
        StatementCase{"DedRzdaTwoEntities", &kDedRzda, " and (  F.EMPRESA = 1 or   F.EMPRESA = 3)",
                      DedRzdaStatement(" and (  F.EMPRESA = 1 or   F.EMPRESA = 3)",
                                       " and (  E.EMPRESA = 1 or   E.EMPRESA = 3)")},
        StatementCase{"DedRzdaNoEntity", &kDedRzda, "", DedRzdaStatement("", "")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DeductionStatementTest, FirstSubSelectTakesTheLinesItemAndEntity) {
    EXPECT_NE(
        kDedRzda.buildSql(kSecondBimester2010, " and (  F.EMPRESA = 1)", RegionalSettings{})
            .find("(SELECT SUM(R.VAREC) FROM RECEIT R INNER JOIN RECDIS E ON E.FICHA=R.FICHA    WHERE "
                  "E.FICHA=F.FICHA AND R.DTLAN>='03/01/2010' AND R.DTLAN<='03/31/2010'  and (  E.EMPRESA = "
                  "1) ) AS MES1, "),
        std::string::npos);
}

TEST(DeductionStatementTest, EntityColumnsAsTheRunGivesThem) {
    const std::vector<EntityItem> items{{"7 - A", true}};
    EXPECT_EQ(BuildEntityFilter(items, 1, kDedOrcd.columnReference), " and (  recorc.EMPRESA = 7)");
    EXPECT_EQ(BuildEntityFilter(items, 1, kDedRzda.columnReference), " and (  F.EMPRESA = 7)");
    EXPECT_EQ(kDedOrcd.fileName, "DED_ORCD.TXT");
    EXPECT_EQ(kDedRzda.fileName, "DED_RZDA.TXT");
}

} // namespace
} // namespace lrf
