// The four expense files produced from a real database: every line, byte for byte.
#include "ExpenseFixture.h"

#include "database/Currency.h"
#include "export/ExpenseCategoryFiles.h"
#include "export/ExpenseFunctionFiles.h"

#include <gtest/gtest.h>

namespace lrf {
namespace {

class ExpenseFiles : public testing::Test {
protected:
    static void SetUpTestSuite() { path_ = test::BuildExpenseDatabase("ExpenseFiles.fdb", 1); }
    void SetUp() override { connection_ = test::OpenExpenseConnection(path_); }

    static std::string path_;
    TCRSQLConnection connection_;
};
std::string ExpenseFiles::path_;

struct FileCase {
    const char* name;
    const FileGenerator* generator;
    const char* expected;
};

class ExpenseFileContents : public ExpenseFiles, public testing::WithParamInterface<FileCase> {};

// Rows per category or function come back in the order of the engine's grouping; with no index on the
// fixture tables that is ascending, NULL first.
TEST_P(ExpenseFileContents, AreTheLinesOfTheTickedEntities) {
    const FileCase& c = GetParam();
    EXPECT_EQ(test::FileOf(connection_, *c.generator, test::TickedOneAndTwo()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Fixture, ExpenseFileContents,
    testing::Values(
        // The EXTRA items count here; the item without a category does not; a NULL sum is 0,00.
        FileCase{"DesOrcd", &kDesOrcd,
                 "3.1.90.04;525,00;\r\n"
                 "3.1.90.15;300,00;\r\n"
                 "3.1.90.34.01;800,00;\r\n"
                 "3.3.90.30;200,00;\r\n"
                 "3.3.90.39;1050,00;\r\n"
                 "4.4.90.52;0,00;\r\n"},
        // The EXTRA-only category 3.3.90.30 has no line, but the EXTRA item's commitment of April counts
        // in 3.3.90.39; March's alteration is in ATU_MES1 alone and January's in neither; the item
        // without a category gives a line of zeros although it has a commitment.
        FileCase{"DesRzda", &kDesRzda,
                 ";0,00;0,00;0,00;0,00;0,00;0,00;\r\n"
                 "3.1.90.04;300,00;0,00;100,00;30,00;5,00;0,00;\r\n"
                 "3.1.90.15;0,00;0,00;0,00;0,00;1000,00;0,00;\r\n"
                 "3.1.90.34.01;0,00;0,00;50,00;62,25;0,00;10,00;\r\n"
                 "3.3.90.39;120,00;80,50;95,00;0,00;40,00;-25,00;\r\n"
                 "4.4.90.52;0,00;0,00;0,00;0,00;0,00;0,00;\r\n"},
        FileCase{"DfsOrcd", &kDfsOrcd,
                 "4;122;950,00;\r\n"
                 "4;123;50,00;\r\n"
                 "10;301;1100,00;\r\n"
                 "10;302;125,00;\r\n"
                 "12;361;400,00;\r\n"},
        // Alterations are cumulative up to each month's last day (January's 7 and March's 40 in both
        // months, April's -25 in the second), and DOTAC counts only the EXTRA 'N' items.
        FileCase{"DfsRzda", &kDfsRzda,
                 "4;122;120,00;95,00;997,00;80,50;0,00;972,00;\r\n"
                 "4;123;10,00;0,00;50,00;0,00;0,00;50,00;\r\n"
                 "10;301;0,00;50,00;2100,00;0,00;62,25;2110,00;\r\n"
                 "10;302;200,00;0,00;130,00;0,00;30,00;130,00;\r\n"
                 "12;361;100,00;100,00;400,00;0,00;0,00;400,00;\r\n"}),
    [](const testing::TestParamInfo<FileCase>& test) { return std::string(test.param.name); });

// No entity ticked: entity 3's rows join the sums.
TEST_F(ExpenseFiles, NoEntityTickedCoversEveryEntity) {
    const std::vector<EntityItem> none = {{"1 - PREFEITURA", false}, {"3 - CAMARA", false}};
    const std::string desOrcd = test::FileOf(connection_, kDesOrcd, none);
    EXPECT_NE(desOrcd.find("3.3.90.39;6050,00;\r\n"), std::string::npos) << desOrcd;
    const std::string desRzda = test::FileOf(connection_, kDesRzda, none);
    EXPECT_NE(desRzda.find("3.3.90.39;1119,00;80,50;1094,00;0,00;1039,00;-25,00;\r\n"), std::string::npos)
        << desRzda;
}

// Entity 3 alone: its items are EXTRA 'N' in 3.3.90.39 only.
TEST_F(ExpenseFiles, OneEntityTickedKeepsItsOwnRows) {
    const std::vector<EntityItem> third = {{"1 - PREFEITURA", false}, {"3 - CAMARA", true}};
    EXPECT_EQ(test::FileOf(connection_, kDesRzda, third),
              "3.3.90.39;999,00;0,00;999,00;0,00;999,00;0,00;\r\n");
    EXPECT_EQ(test::FileOf(connection_, kDfsOrcd, third), "4;122;5000,00;\r\n");
}

struct LayoutCase {
    const char* name;
    const FileGenerator* generator;
    const char* select; // one literal row, in the columns and order of the generator's statement
    const char* expected;
};

class ExpenseLineLayout : public ExpenseFiles, public testing::WithParamInterface<LayoutCase> {};

TEST_P(ExpenseLineLayout, WritesTheFieldsInTheFilesOrder) {
    const LayoutCase& c = GetParam();
    EXPECT_EQ(test::FileOfStatement(connection_, *c.generator, c.select), c.expected);
}

#define MONEY(x) "CAST(" #x " AS NUMERIC(18,2))"

INSTANTIATE_TEST_SUITE_P(
    Examples, ExpenseLineLayout,
    testing::Values(
        LayoutCase{
            "DesOrcd", &kDesOrcd,
            "SELECT CAST('3.3.90.39' AS VARCHAR(20)) AS CATEC, " MONEY(950) " AS VALOR FROM RDB$DATABASE",
            "3.3.90.39;950,00;\r\n"},
        // The query's order is EMP, LIQ, ATU per month; the file's is by kind.
        LayoutCase{"DesRzda", &kDesRzda,
                   "SELECT CAST('3.3.90.39' AS VARCHAR(20)) AS CATEC, " MONEY(777) " AS DOTAC, " MONEY(120) " AS EMP_MES1, " MONEY(95) " AS LIQ_MES1, " MONEY(
                       NULL) " AS ATU_MES1, " MONEY(80.5) " AS EMP_MES2, " MONEY(NULL) " AS "
                                                                                       "LIQ_MES2,"
                                                                                       " " MONEY(-25) " "
                                                                                                      "A"
                                                                                                      "S"
                                                                                                      " "
                                                                                                      "A"
                                                                                                      "T"
                                                                                                      "U"
                                                                                                      "_"
                                                                                                      "M"
                                                                                                      "E"
                                                                                                      "S"
                                                                                                      "2"
                                                                                                      " "
                                                                                                      "F"
                                                                                                      "R"
                                                                                                      "O"
                                                                                                      "M"
                                                                                                      " "
                                                                                                      "R"
                                                                                                      "D"
                                                                                                      "B"
                                                                                                      "$"
                                                                                                      "D"
                                                                                                      "A"
                                                                                                      "T"
                                                                                                      "A"
                                                                                                      "B"
                                                                                                      "A"
                                                                                                      "S"
                                                                                                      "E",
                   "3.3.90.39;120,00;80,50;95,00;0,00;0,00;-25,00;\r\n"},
        // A category is written whole, however long.
        LayoutCase{"DesOrcdLongCategory", &kDesOrcd,
                   "SELECT CAST('3.3.90.39.99.01.77' AS VARCHAR(30)) AS CATEC, CAST(-0.004 AS "
                   "NUMERIC(18,4))"
                   " AS VALOR FROM RDB$DATABASE",
                   "3.3.90.39.99.01.77;0,00;\r\n"},
        LayoutCase{"DfsOrcd", &kDfsOrcd,
                   "SELECT CAST(10 AS SMALLINT) AS FUNCAO, CAST(301 AS SMALLINT) AS SUBFUNCAO, " MONEY(
                       900) " AS VALOR FROM RDB$DATABASE",
                   "10;301;900,00;\r\n"},
        // Function and subfunction as their text: the number 8 is 8, the text '08' stays 08.
        LayoutCase{"DfsOrcdNumberCode", &kDfsOrcd,
                   "SELECT CAST(8 AS SMALLINT) AS FUNCAO, CAST(41 AS SMALLINT) AS SUBFUNCAO, " MONEY(
                       1) " AS VALOR FROM RDB$DATABASE",
                   "8;41;1,00;\r\n"},
        LayoutCase{"DfsOrcdTextCode", &kDfsOrcd,
                   "SELECT CAST('08' AS CHAR(2)) AS FUNCAO, CAST('041' AS CHAR(3)) AS SUBFUNCAO, " MONEY(
                       1) " AS VALOR FROM RDB$DATABASE",
                   "08;041;1,00;\r\n"},
        LayoutCase{
            "DfsRzda", &kDfsRzda,
            "SELECT CAST(10 AS SMALLINT) AS FUNCAO, CAST(301 AS SMALLINT) AS "
            "SUBFUNCAO, " MONEY(900) " AS DOTAC, " MONEY(123.45) " AS EMP_MES1, " MONEY(
                100) " AS LIQ_MES1, " MONEY(-50) " AS ATU_MES1, " MONEY(NULL) " AS EMP_MES2, " MONEY(80.5) " "
                                                                                                           "A"
                                                                                                           "S"
                                                                                                           " "
                                                                                                           "L"
                                                                                                           "I"
                                                                                                           "Q"
                                                                                                           "_"
                                                                                                           "M"
                                                                                                           "E"
                                                                                                           "S"
                                                                                                           "2"
                                                                                                           ","
                                                                                                           " " MONEY(
                                                                                                               25) " AS ATU_MES2 FROM RDB$DATABASE",
            "10;301;123,45;100,00;850,00;0,00;80,50;925,00;\r\n"},
        // A NULL DOTAC is zero in both sums.
        LayoutCase{
            "DfsRzdaNullDotac", &kDfsRzda,
            "SELECT CAST(10 AS SMALLINT) AS FUNCAO, CAST(122 AS SMALLINT) AS "
            "SUBFUNCAO, " MONEY(NULL) " AS DOTAC, " MONEY(NULL) " AS EMP_MES1, " MONEY(
                NULL) " AS LIQ_MES1, " MONEY(-0.5) " AS ATU_MES1, " MONEY(NULL) " AS EMP_MES2, " MONEY(NULL) " AS "
                                                                                                             "LIQ_MES2,"
                                                                                                             " " MONEY(
                                                                                                                 NULL) " AS ATU_MES2 FROM RDB$DATABASE",
            "10;122;0,00;0,00;-0,50;0,00;0,00;0,00;\r\n"}),
    [](const testing::TestParamInfo<LayoutCase>& test) { return std::string(test.param.name); });

// An updated allocation beyond the money range is the file's failure, never a wrapped figure.
TEST_F(ExpenseFiles, UpdatedAllocationOverflowFailsTheLine) {
    const std::string
        select =
            "SELECT CAST(10 AS SMALLINT) AS FUNCAO, CAST(301 AS SMALLINT) AS SUBFUNCAO, "
            "CAST(922337203685477.5807 AS NUMERIC(18,4)) AS DOTAC, " MONEY(NULL) " AS EMP_MES1, " MONEY(NULL) " AS LIQ_MES1, " MONEY(
                0.01) " AS ATU_MES1, " MONEY(NULL) " AS EMP_MES2, " MONEY(NULL) " AS"
                                                                                " LI"
                                                                                "Q_"
                                                                                "MES"
                                                                                "2,"
                                                                                " " MONEY(
                                                                                    NULL) " AS ATU_MES2 FROM "
                                                                                          "RDB$DATABASE";
    EXPECT_THROW(test::FileOfStatement(connection_, kDfsRzda, select), CurrencyOverflow);
}

// A column the layout needs and the result lacks is the file's failure too.
TEST_F(ExpenseFiles, MissingColumnFailsTheLine) {
    EXPECT_ANY_THROW(test::FileOfStatement(connection_, kDesRzda,
                                           "SELECT CAST('3.3' AS VARCHAR(9)) AS CATEC FROM RDB$DATABASE"));
}

} // namespace
} // namespace lrf
