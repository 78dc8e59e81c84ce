// The two health statements, character for character, and their statement lines.
#include "export/EntityFilter.h"
#include "export/HealthStatementLines.h"
#include "export/HealthStatements.h"

#include <gtest/gtest.h>

#include <string>

namespace lrf {
namespace {

const Period kPeriod{QDate(2010, 3, 1), QDate(2010, 3, 31), QDate(2010, 4, 1), QDate(2010, 4, 30)};

struct ConditionCase {
    const char* code;
    const char* alias;
    const char* tail;
    const char* expected;
};

class HealthElementCondition : public testing::TestWithParam<ConditionCase> {};

TEST_P(HealthElementCondition, BreaksAfterTheSecondFourthAndSixthTerm) {
    const ConditionCase& c = GetParam();
    for (const health::StatementLine& line : health::StatementLines()) {
        if (line.code == c.code) {
            EXPECT_EQ(health::ElementCondition(line, c.alias, c.tail), c.expected);
            return;
        }
    }
    FAIL() << "no statement line " << c.code;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, HealthElementCondition,
    testing::Values(ConditionCase{"1.20", "", " ",
                                  "              (CATEC LIKE '3.1.90.16%' OR CATEC LIKE '3.1.90.17%' OR "
                                  "               CATEC LIKE '3.1.90.34%') "},
                    ConditionCase{"1.11", "D.", " AND ",
                                  "              (D.CATEC LIKE '3.1.90.04%' OR D.CATEC LIKE '3.1.90.07%' OR "
                                  "               D.CATEC LIKE '3.1.90.09%' OR D.CATEC LIKE '3.1.90.11%' OR "
                                  "               D.CATEC LIKE '3.1.90.12%' OR D.CATEC LIKE '3.1.90.13%' OR "
                                  "               D.CATEC LIKE '3.1.90.14%') AND "},
                    ConditionCase{"1.12", "Z.", " ", "              (Z.CATEC LIKE '3.1.90.01%') "},
                    ConditionCase{"1.13", "", " ", "              (CATEC LIKE '3.1.90.03%') "},
                    ConditionCase{"1.30", "", " ", "              (CATEC LIKE '3.2.90%') "},
                    ConditionCase{"2.10", "", " ", "              (CATEC LIKE '4.4%') "},
                    ConditionCase{"2.20", "", " ", "              (CATEC LIKE '4.5%') "},
                    ConditionCase{"2.30", "", " ", "              (CATEC LIKE '4.6%') "}));

TEST(HealthStatementLines, EightCodesInBranchOrder) {
    std::string codes;
    for (const health::StatementLine& line : health::StatementLines())
        codes += std::string(line.code) + " ";
    EXPECT_EQ(codes, "1.11 1.12 1.13 1.20 1.30 2.10 2.20 2.30 ");
}

// The whole DSO_ORCD statement for the entities 1 and 3.
TEST(HealthStatementText, DsoOrcdTwoEntities) {
    const std::string c = " and (  DESDIS.EMPRESA = 1 or   DESDIS.EMPRESA = 3)";
    const std::string head = "       (SELECT SUM(DOTAC) FROM DESDIS         WHERE (FUNCAO=10) AND ";
    const std::string expected = "SELECT '1.11' COD, " + head +
                                 "              (CATEC LIKE '3.1.90.04%' OR CATEC LIKE '3.1.90.07%' OR "
                                 "               CATEC LIKE '3.1.90.09%' OR CATEC LIKE '3.1.90.11%' OR "
                                 "               CATEC LIKE '3.1.90.12%' OR CATEC LIKE '3.1.90.13%' OR "
                                 "               CATEC LIKE '3.1.90.14%') " +
                                 c +
                                 ") AS TOTOR FROM CADCLI "
                                 "UNION SELECT '1.12', " +
                                 head + "              (CATEC LIKE '3.1.90.01%') " + c +
                                 ") FROM CADCLI "
                                 "UNION SELECT '1.13', " +
                                 head + "              (CATEC LIKE '3.1.90.03%') " + c +
                                 ") FROM CADCLI "
                                 "UNION SELECT '1.20', " +
                                 head +
                                 "              (CATEC LIKE '3.1.90.16%' OR CATEC LIKE '3.1.90.17%' OR "
                                 "               CATEC LIKE '3.1.90.34%') " +
                                 c +
                                 ") FROM CADCLI "
                                 "UNION SELECT '1.30', " +
                                 head + "              (CATEC LIKE '3.2.90%') " + c +
                                 ") FROM CADCLI "
                                 "UNION SELECT '2.10', " +
                                 head + "              (CATEC LIKE '4.4%') " + c +
                                 ") FROM CADCLI "
                                 "UNION SELECT '2.20', " +
                                 head + "              (CATEC LIKE '4.5%') " + c +
                                 ") FROM CADCLI "
                                 "UNION SELECT '2.30', " +
                                 head + "              (CATEC LIKE '4.6%') " + c + ") FROM CADCLI ";
    EXPECT_EQ(kDsoOrcd.buildSql(kPeriod, c, RegionalSettings{}), expected);
}

// The first and the last two branches of DSA_ORCD written out; the length fixes the rest.
TEST(HealthStatementText, DsaOrcdBranches) {
    const std::string z = " and (  Z.EMPRESA = 1 or   Z.EMPRESA = 3)";
    const std::string d = " and (  D.EMPRESA = 1 or   D.EMPRESA = 3)";
    const std::string liq = "       (SELECT SUM(V.VADEM) FROM VIEWLIQ V "
                            "     INNER JOIN DESPES G ON G.PKEMP = V.PKEMP "
                            "     INNER JOIN DESDIS D ON D.FICHA=G.FICHA "
                            "        WHERE (D.FUNCAO=10) AND ";
    const std::string atu = "       (SELECT SUM(V.VALOR) FROM DESALD V "
                            "        INNER JOIN DESDIS D ON D.FICHA=V.FICHA "
                            "        WHERE (D.FUNCAO=10) AND ";
    auto cond111 = [](const std::string& a) {
        return "              (" + a + "CATEC LIKE '3.1.90.04%' OR " + a + "CATEC LIKE '3.1.90.07%' OR " +
               "               " + a + "CATEC LIKE '3.1.90.09%' OR " + a + "CATEC LIKE '3.1.90.11%' OR " +
               "               " + a + "CATEC LIKE '3.1.90.12%' OR " + a + "CATEC LIKE '3.1.90.13%' OR " +
               "               " + a + "CATEC LIKE '3.1.90.14%')";
    };
    const std::string m1liq = "              (V.DATAE>='03/01/2010' AND V.DATAE<='03/31/2010') ";
    const std::string m1atu = "              (V.DTLAN<='03/31/2010') ";
    const std::string m2liq = "              (V.DATAE>='04/01/2010' AND V.DATAE<='04/30/2010') ";
    const std::string m2atu = "              (V.DTLAN<='04/30/2010') ";
    const std::string s15(15, ' '), s14(14, ' ');
    const std::string first =
        "SELECT '1.11' COD,        (SELECT SUM(Z.DOTAC) FROM DESDIS Z         WHERE (Z.FUNCAO=10) AND " +
        cond111("Z.") + " " + z + ") AS TOTOR, " + liq + cond111("D.") + " AND " + m1liq + s15 + d +
        ") AS LIQ_MES1, " + atu + cond111("D.") + " AND " + m1atu + s15 + d + ") AS ATU_MES1, " + liq +
        cond111("D.") + " AND " + m2liq + s14 + d + ") AS LIQ_MES2, " + atu + cond111("D.") + " AND " +
        m2atu + s14 + d + ") AS ATU_MES2 FROM CADCLI ";
    auto branch = [&](const std::string& code, const std::string& pattern, bool last) {
        const std::string cz = "              (Z.CATEC LIKE '" + pattern + "') ";
        const std::string cd = "              (D.CATEC LIKE '" + pattern + "') AND ";
        return "UNION SELECT '" + code + "',        (SELECT SUM(Z.DOTAC) FROM DESDIS Z         WHERE " +
               "(Z.FUNCAO=10) AND " + cz + z + "), " + liq + cd + m1liq + s14 + d + "), " + atu + cd + m1atu +
               s14 + d + "), " + liq + cd + m2liq + s14 + d + "), " + atu + cd + m2atu + s14 + d + ") " +
               (last ? "FROM CADCLI" : "FROM CADCLI ");
    };
    const std::string sql = kDsaOrcd.buildSql(kPeriod, z, RegionalSettings{});
    ASSERT_EQ(sql.compare(0, first.size(), first), 0) << sql.substr(0, first.size());
    const std::string tail = branch("2.20", "4.5%", false) + branch("2.30", "4.6%", true);
    ASSERT_GE(sql.size(), tail.size());
    EXPECT_EQ(sql.substr(sql.size() - tail.size()), tail);
    EXPECT_EQ(sql.size(), 10843 + 40 * z.size());
}

// Empty clause, ten-character dates: the fixed text alone.
TEST(HealthStatementText, NoEntityLengths) {
    EXPECT_EQ(kDsaOrcd.buildSql(kPeriod, "", RegionalSettings{}).size(), 10843u);
    const std::string dso = kDsoOrcd.buildSql(kPeriod, "", RegionalSettings{});
    EXPECT_NE(dso.find("'3.1.90.14%') ) AS TOTOR FROM CADCLI UNION SELECT '1.12', "), std::string::npos);
    EXPECT_TRUE(dso.ends_with("UNION SELECT '2.30',        (SELECT SUM(DOTAC) FROM DESDIS         WHERE "
                              "(FUNCAO=10) AND               (CATEC LIKE '4.6%') ) FROM CADCLI "))
        << dso;
}

// Budget sub-selects take the clause as built for Z; the liquidated and changed ones in the D form.
TEST(HealthStatementText, ColumnReferencesAndClauseForms) {
    EXPECT_EQ(kDsoOrcd.fileName, "DSO_ORCD.TXT");
    EXPECT_EQ(kDsoOrcd.columnReference, "DESDIS.EMPRESA");
    EXPECT_EQ(kDsaOrcd.fileName, "DSA_ORCD.TXT");
    EXPECT_EQ(kDsaOrcd.columnReference, "Z.EMPRESA");
    const std::vector<EntityItem> items = {{"1 - PREFEITURA", true}, {"7 - CAMARA", true}};
    const std::string dsa =
        kDsaOrcd.buildSql(kPeriod, BuildEntityFilter(items, 1, kDsaOrcd.columnReference), RegionalSettings{});
    auto count = [](const std::string& text, const std::string& what) {
        std::size_t n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count(dsa, " and (  Z.EMPRESA = 1 or   Z.EMPRESA = 7)"), 8u);
    EXPECT_EQ(count(dsa, " and (  D.EMPRESA = 1 or   D.EMPRESA = 7)"), 32u);
    const std::string dso =
        kDsoOrcd.buildSql(kPeriod, BuildEntityFilter(items, 1, kDsoOrcd.columnReference), RegionalSettings{});
    EXPECT_EQ(count(dso, " and (  DESDIS.EMPRESA = 1 or   DESDIS.EMPRESA = 7)) "), 8u);
    EXPECT_EQ(count(dso, "UNION "), 7u);
}

} // namespace
} // namespace lrf
