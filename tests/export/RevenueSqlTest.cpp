// The statements of REC_ORCD.TXT and REC_RZDA.TXT, character for character.
#include "export/EntityFilter.h"
#include "export/Period.h"
#include "export/RevenueFiles.h"

#include <gtest/gtest.h>

namespace lrf {
namespace {

const Period kSecondBimester2010 = PeriodOfBimester(2, QStringLiteral("2010"));

// `outer` restricts the RECDIS rows of the lines, `inner` the items joined in each sub-select.
std::string RecRzdaStatement(const std::string& outer, const std::string& inner) {
    return "SELECT F.CODRE, SUM(F.TOTOR) TOTOR,     (SELECT SUM(R.VAREC) FROM RECEIT R INNER JOIN RECDIS E "
           "ON E.FICHA=R.FICHA        WHERE (E.CODRE=F.CODRE) AND              (R.DTLAN>='03/01/2010' AND "
           "R.DTLAN<='03/31/2010')" +
           inner +
           ") AS REA_MES1,     (SELECT SUM(R.VALOR) FROM RECALP R INNER JOIN RECDIS E ON E.FICHA=R.FICHA "
           "       WHERE (E.CODRE=F.CODRE) AND              (R.DTLAN<='03/31/2010')" +
           inner +
           ") AS ATU_MES1,     (SELECT SUM(R.VAREC) FROM RECEIT R INNER JOIN RECDIS E ON E.FICHA=R.FICHA "
           "       WHERE (E.CODRE=F.CODRE) AND              (R.DTLAN>='04/01/2010' AND "
           "R.DTLAN<='04/30/2010')" +
           inner +
           ") AS REA_MES2,     (SELECT SUM(R.VALOR) FROM RECALP R INNER JOIN RECDIS E ON E.FICHA=R.FICHA "
           "       WHERE (E.CODRE=F.CODRE) AND              (R.DTLAN<='04/30/2010')" +
           inner + ") AS ATU_MES2 FROM RECDIS F WHERE SUBSTRING(F.CODRE FROM 1 FOR 1)<>'9' " + outer +
           " GROUP BY F.CODRE ";
}

struct StatementCase {
    const char* name;
    const FileGenerator* generator;
    std::string clause;
    std::string expected;
};

class RevenueStatementTest : public ::testing::TestWithParam<StatementCase> {};

TEST_P(RevenueStatementTest, IsBuiltExactly) {
    const StatementCase& c = GetParam();
    EXPECT_EQ(c.generator->buildSql(kSecondBimester2010, c.clause, RegionalSettings{}), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Statements, RevenueStatementTest,
    ::testing::Values(
        StatementCase{
            "RecOrcdOneEntity", &kRecOrcd, " and (  f.EMPRESA = 1)",
            "SELECT F.CODRE, SUM(F.TOTOR) TOTOR FROM RECDIS F WHERE SUBSTRING(F.CODRE FROM 1 FOR 1)<>'9'"
            "  and (  f.EMPRESA = 1) GROUP BY F.CODRE "},
        StatementCase{
            "RecOrcdNoEntity", &kRecOrcd, "",
            "SELECT F.CODRE, SUM(F.TOTOR) TOTOR FROM RECDIS F WHERE SUBSTRING(F.CODRE FROM 1 FOR 1)<>'9'"
            "  GROUP BY F.CODRE "},
        // The sub-selects carry the clause on their item E, between the date condition and their end.
        StatementCase{"RecRzdaTwoEntities", &kRecRzda, " and (  F.EMPRESA = 1 or   F.EMPRESA = 3)",
                      RecRzdaStatement(" and (  F.EMPRESA = 1 or   F.EMPRESA = 3)",
                                       " and (  E.EMPRESA = 1 or   E.EMPRESA = 3)")},
        StatementCase{"RecRzdaNoEntity", &kRecRzda, "", RecRzdaStatement("", "")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RevenueStatementTest, FirstSubSelectEndsWithTheFirstMonth) {
    EXPECT_NE(kRecRzda.buildSql(kSecondBimester2010, "", RegionalSettings{})
                  .find("(R.DTLAN>='03/01/2010' AND R.DTLAN<='03/31/2010')) AS REA_MES1, "),
              std::string::npos);
    EXPECT_NE(
        kRecRzda.buildSql(kSecondBimester2010, " and (  F.EMPRESA = 1)", RegionalSettings{})
            .find("(R.DTLAN>='03/01/2010' AND R.DTLAN<='03/31/2010') and (  E.EMPRESA = 1)) AS REA_MES1, "),
        std::string::npos);
}

TEST(RevenueStatementTest, EntityColumnsAsTheRunGivesThem) {
    const std::vector<EntityItem> items{{"01 - A", true}, {"02 - B", false}, {"03 - C", true}};
    EXPECT_EQ(BuildEntityFilter(items, 2, kRecOrcd.columnReference),
              " and (  f.EMPRESA = 1 or   f.EMPRESA = 3)");
    EXPECT_EQ(BuildEntityFilter(items, 2, kRecRzda.columnReference),
              " and (  F.EMPRESA = 1 or   F.EMPRESA = 3)");
    EXPECT_EQ(kRecOrcd.fileName, "REC_ORCD.TXT");
    EXPECT_EQ(kRecRzda.fileName, "REC_RZDA.TXT");
}

} // namespace
} // namespace lrf
