// The statement of every file, character for character: every condition and every blank is sent to the
// database as it is. One table covers every generator, with no entity ticked and with entities 1 and 3
// ticked, the clause built by the entity filter with the generator's own column reference.
#include "export/DeductionFiles.h"
#include "export/EntityFilter.h"
#include "export/ExpenseCategoryFiles.h"
#include "export/ExpenseFunctionFiles.h"
#include "export/ExportSteps.h"
#include "export/HealthStatementLines.h"
#include "export/HealthStatements.h"
#include "export/Period.h"
#include "export/RevenueFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

namespace lrf {
namespace {

// Second bimester of 2010: March is month 1, April month 2.
const Period kPeriod = PeriodOfBimester(2, QStringLiteral("2010"));

std::string Join(const std::vector<std::string>& pieces) {
    return std::accumulate(pieces.begin(), pieces.end(), std::string());
}

// The clause of the ticked entities 1 and 3 for the column reference `ref`; "" with none ticked.
std::string Clause(bool ticked, const std::string& ref) {
    return ticked ? " and (  " + ref + " = 1 or   " + ref + " = 3)" : std::string();
}

std::string RecOrcdText(bool t) {
    return "SELECT F.CODRE, SUM(F.TOTOR) TOTOR FROM RECDIS F WHERE SUBSTRING(F.CODRE FROM 1 FOR 1)<>'9' " +
           Clause(t, "f.EMPRESA") + " GROUP BY F.CODRE ";
}

// The sub-selects carry the clause on their item E, between the date condition and their end.
std::string RecRzdaText(bool t) {
    const std::string inner = Clause(t, "E.EMPRESA");
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
           inner + ") AS ATU_MES2 FROM RECDIS F WHERE SUBSTRING(F.CODRE FROM 1 FOR 1)<>'9' " +
           Clause(t, "F.EMPRESA") + " GROUP BY F.CODRE ";
}

std::string DedOrcdText(bool t) {
    return "SELECT CODRE, TOTOR FROM RECORC WHERE CODRE LIKE '97%' " + Clause(t, "recorc.EMPRESA");
}

// The outer clause restricts the RECDIS rows of the lines, the E form the items joined in each sub-select;
// each sub-select sums the postings of the line's own item.
std::string DedRzdaText(bool t) {
    const std::string inner = Clause(t, "E.EMPRESA");
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
           inner + " ) AS ATUALIZADO_MES2 FROM RECDIS F WHERE CODRE LIKE '97%' " + Clause(t, "F.EMPRESA");
}

std::string DesOrcdText(bool t) {
    return "SELECT CATEC, SUM(DOTAC) AS VALOR FROM DESDIS WHERE NOT CATEC IS NULL " +
           Clause(t, "DESDIS.EMPRESA") + " GROUP BY CATEC ";
}

// DES_RZDA's statement as its 59 pieces.
std::string DesRzdaText(bool t) {
    const std::string e = Clause(t, "E.EMPRESA");
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
        Clause(t, "F.EMPRESA"),
        " ",
        "GROUP BY F.CATEC ",
    });
}

std::string DfsOrcdText(bool t) {
    return "SELECT FUNCAO, SUBFUNCAO, SUM(DOTAC)AS VALOR FROM DESDIS WHERE EXTRA='N' " +
           Clause(t, "DESDIS.EMPRESA") + " GROUP BY FUNCAO, SUBFUNCAO";
}

std::string DfsRzdaText(bool t) {
    const std::string where =
        "      WHERE E.FUNCAO=F.FUNCAO AND E.SUBFUNCAO=F.SUBFUNCAO " + Clause(t, "E.EMPRESA") + " ";
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
        Clause(t, "F.EMPRESA"),
        " ",
        "GROUP BY F.FUNCAO, F.SUBFUNCAO ",
    });
}

// The health lines written out here, apart from the statements' own table.
struct HealthLine {
    const char* code;
    std::vector<std::string> patterns;
};
const std::vector<HealthLine> kHealthLines = {
    {"1.11",
     {"3.1.90.04%", "3.1.90.07%", "3.1.90.09%", "3.1.90.11%", "3.1.90.12%", "3.1.90.13%", "3.1.90.14%"}},
    {"1.12", {"3.1.90.01%"}},
    {"1.13", {"3.1.90.03%"}},
    {"1.20", {"3.1.90.16%", "3.1.90.17%", "3.1.90.34%"}},
    {"1.30", {"3.2.90%"}},
    {"2.10", {"4.4%"}},
    {"2.20", {"4.5%"}},
    {"2.30", {"4.6%"}},
};

// The LIKE terms of a line, with a break of 15 blanks after the second, fourth and sixth.
std::string Likes(const HealthLine& line, const std::string& alias) {
    std::string text = "              (";
    for (std::size_t i = 0; i < line.patterns.size(); ++i) {
        text += alias + "CATEC LIKE '" + line.patterns[i] + "'";
        if (i + 1 < line.patterns.size())
            text += i % 2 == 1 ? " OR                " : " OR ";
    }
    return text + ")";
}

std::string DsoOrcdText(bool t) {
    const std::string head = "       (SELECT SUM(DOTAC) FROM DESDIS         WHERE (FUNCAO=10) AND ";
    std::string text;
    for (const HealthLine& line : kHealthLines) {
        const bool first = &line == &kHealthLines.front();
        text += (first ? "SELECT '" + std::string(line.code) + "' COD, "
                       : "UNION SELECT '" + std::string(line.code) + "', ") +
                head + Likes(line, "") + " " + Clause(t, "DESDIS.EMPRESA") +
                (first ? ") AS TOTOR FROM CADCLI " : ") FROM CADCLI ");
    }
    return text;
}

// The budget sub-select takes the clause as built for Z, the liquidated and changed ones its D form.
std::string DsaOrcdText(bool t) {
    const std::string z = Clause(t, "Z.EMPRESA");
    const std::string d = Clause(t, "D.EMPRESA");
    const std::string liq = "       (SELECT SUM(V.VADEM) FROM VIEWLIQ V "
                            "     INNER JOIN DESPES G ON G.PKEMP = V.PKEMP "
                            "     INNER JOIN DESDIS D ON D.FICHA=G.FICHA "
                            "        WHERE (D.FUNCAO=10) AND ";
    const std::string atu = "       (SELECT SUM(V.VALOR) FROM DESALD V "
                            "        INNER JOIN DESDIS D ON D.FICHA=V.FICHA "
                            "        WHERE (D.FUNCAO=10) AND ";
    const std::string m1liq = "              (V.DATAE>='03/01/2010' AND V.DATAE<='03/31/2010') ";
    const std::string m1atu = "              (V.DTLAN<='03/31/2010') ";
    const std::string m2liq = "              (V.DATAE>='04/01/2010' AND V.DATAE<='04/30/2010') ";
    const std::string m2atu = "              (V.DTLAN<='04/30/2010') ";
    std::string text;
    for (const HealthLine& line : kHealthLines) {
        const bool first = &line == &kHealthLines.front();
        const bool last = &line == &kHealthLines.back();
        // The first branch names its columns, and its month-1 sub-selects carry one blank more.
        const std::string pad(first ? 15 : 14, ' ');
        const auto name = [first](const char* column) {
            return first ? std::string(") AS ") + column + ", " : std::string("), ");
        };
        const std::string cd = Likes(line, "D.") + " AND ";
        text += (first ? "SELECT '" + std::string(line.code) + "' COD,"
                       : "UNION SELECT '" + std::string(line.code) + "',") +
                "        (SELECT SUM(Z.DOTAC) FROM DESDIS Z         WHERE (Z.FUNCAO=10) AND " +
                Likes(line, "Z.") + " " + z + name("TOTOR") + liq + cd + m1liq + pad + d + name("LIQ_MES1") +
                atu + cd + m1atu + pad + d + name("ATU_MES1") + liq + cd + m2liq + std::string(14, ' ') + d +
                name("LIQ_MES2") + atu + cd + m2atu + std::string(14, ' ') + d +
                (first ? ") AS ATU_MES2 " : ") ") + (last ? "FROM CADCLI" : "FROM CADCLI ");
    }
    return text;
}

struct StatementCase {
    const FileGenerator* generator;
    std::string (*expected)(bool ticked);
};

const StatementCase kStatements[] = {
    {&kDedOrcd, &DedOrcdText}, {&kDedRzda, &DedRzdaText}, {&kDesOrcd, &DesOrcdText},
    {&kDesRzda, &DesRzdaText}, {&kDfsOrcd, &DfsOrcdText}, {&kDfsRzda, &DfsRzdaText},
    {&kDsoOrcd, &DsoOrcdText}, {&kDsaOrcd, &DsaOrcdText}, {&kRecOrcd, &RecOrcdText},
    {&kRecRzda, &RecRzdaText},
};

class StatementTextTest : public testing::TestWithParam<std::tuple<StatementCase, bool>> {};

TEST_P(StatementTextTest, IsTheFixedText) {
    const auto& [c, ticked] = GetParam();
    const std::vector<EntityItem> items = {
        {"01 - PREFEITURA", ticked}, {"02 - CAMARA", false}, {"03 - FUNDO", ticked}};
    const std::string clause = BuildEntityFilter(items, 2, c.generator->columnReference);
    EXPECT_EQ(c.generator->buildSql(kPeriod, clause), c.expected(ticked));
}

std::string CaseName(const testing::TestParamInfo<std::tuple<StatementCase, bool>>& test) {
    const StatementCase& c = std::get<0>(test.param);
    return std::string(c.generator->fileName.substr(0, 8)) +
           (std::get<1>(test.param) ? "_Entities1And3" : "_NoEntity");
}

INSTANTIATE_TEST_SUITE_P(Files, StatementTextTest,
                         testing::Combine(testing::ValuesIn(kStatements), testing::Bool()), CaseName);

TEST(StatementTextTest, TheTableHasEveryGenerator) {
    for (const ExportStep& step : ExportSteps()) {
        if (step.generator == nullptr)
            continue;
        const auto found =
            std::find_if(std::begin(kStatements), std::end(kStatements),
                         [&](const StatementCase& c) { return c.generator == step.generator; });
        EXPECT_NE(found, std::end(kStatements)) << step.fileStem;
    }
}

// The sub-selects name the item E; the outer query keeps F. A lower-case "f." is not an alias of
// the statement and stays as it is.
TEST(StatementTextTest, OnlyTheExactAliasPrefixIsReplaced) {
    const std::string clause = " and (  F.EMPRESA = 1 or   f.EMPRESA = 2)";
    for (const FileGenerator* generator : {&kDesRzda, &kDfsRzda}) {
        const std::string sql = generator->buildSql(kPeriod, clause);
        EXPECT_NE(sql.find(" and (  E.EMPRESA = 1 or   f.EMPRESA = 2)"), std::string::npos) << sql;
        EXPECT_NE(sql.find("WHERE F.EXTRA='N'  and (  F.EMPRESA = 1 or   f.EMPRESA = 2) GROUP BY"),
                  std::string::npos)
            << sql;
    }
}

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

} // namespace
} // namespace lrf
