// The two health statements run on a real database: always one line per statement line.
#include "ExpenseFixture.h"

#include "export/HealthStatements.h"

#include <gtest/gtest.h>

namespace lrf {
namespace {

// With the ticked entities 1 and 2: 1.11 holds item 8 (entity 2), 1.20 item 5 (3.1.90.34.01); item 6
// (3.1.90.15) and item 7 (function 12) are in no line; 2.10's only item has a NULL appropriation.
const char* const kDsoOrcd12 = "1.11;125,00;\r\n"
                               "1.12;0,00;\r\n"
                               "1.13;0,00;\r\n"
                               "1.20;800,00;\r\n"
                               "1.30;0,00;\r\n"
                               "2.10;0,00;\r\n"
                               "2.20;0,00;\r\n"
                               "2.30;0,00;\r\n";
// 1.11: March's change of 5 stays in the updated allocation of April; the liquidation of 30 is on
// April's last day. 1.20: liquidations on March's last day and April's first; April's change of 10.
const char* const kDsaOrcd12 = "1.11;0,00;130,00;30,00;130,00;\r\n"
                               "1.12;0,00;0,00;0,00;0,00;\r\n"
                               "1.13;0,00;0,00;0,00;0,00;\r\n"
                               "1.20;50,00;800,00;62,25;810,00;\r\n"
                               "1.30;0,00;0,00;0,00;0,00;\r\n"
                               "2.10;0,00;0,00;0,00;0,00;\r\n"
                               "2.20;0,00;0,00;0,00;0,00;\r\n"
                               "2.30;0,00;0,00;0,00;0,00;\r\n";

struct CadcliCase {
    const char* name;
    int cadcliRows;
    const FileGenerator* generator;
    const char* expected;
};

class HealthFiles : public testing::TestWithParam<CadcliCase> {};

// UNION folds the identical rows of a CADCLI with several rows; an empty CADCLI gives an empty file.
TEST_P(HealthFiles, OneLinePerStatementLine) {
    const CadcliCase& c = GetParam();
    const std::string path =
        test::BuildExpenseDatabase("HealthFiles" + std::string(c.name) + ".fdb", c.cadcliRows);
    TCRSQLConnection connection = test::OpenExpenseConnection(path);
    EXPECT_EQ(test::FileOf(connection, *c.generator, test::TickedOneAndTwo()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Fixture, HealthFiles,
                         testing::Values(CadcliCase{"DsoOneRow", 1, &kDsoOrcd, kDsoOrcd12},
                                         CadcliCase{"DsaOneRow", 1, &kDsaOrcd, kDsaOrcd12},
                                         CadcliCase{"DsoThreeRows", 3, &kDsoOrcd, kDsoOrcd12},
                                         CadcliCase{"DsaThreeRows", 3, &kDsaOrcd, kDsaOrcd12},
                                         CadcliCase{"DsoEmpty", 0, &kDsoOrcd, ""},
                                         CadcliCase{"DsaEmpty", 0, &kDsaOrcd, ""}),
                         [](const testing::TestParamInfo<CadcliCase>& test) {
                             return std::string(test.param.name);
                         });

struct EntityCase {
    const char* name;
    std::vector<EntityItem> entities;
    const FileGenerator* generator;
    const char* expected;
};

class HealthEntities : public testing::TestWithParam<EntityCase> {
protected:
    static void SetUpTestSuite() { path_ = test::BuildExpenseDatabase("HealthEntities.fdb", 1); }
    static std::string path_;
};
std::string HealthEntities::path_;

TEST_P(HealthEntities, RestrictEverySubSelect) {
    const EntityCase& c = GetParam();
    TCRSQLConnection connection = test::OpenExpenseConnection(path_);
    EXPECT_EQ(test::FileOf(connection, *c.generator, c.entities), c.expected);
}

// Entity 3 has no function 10 item: every amount is zero. With entity 2 alone 1.20 (entity 1) is empty.
INSTANTIATE_TEST_SUITE_P(
    Fixture, HealthEntities,
    testing::Values(
        EntityCase{"NoEntityTicked", {{"1 - PREFEITURA", false}}, &kDsoOrcd, kDsoOrcd12},
        EntityCase{"EntityThree",
                   {{"1 - PREFEITURA", false}, {"3 - CAMARA", true}},
                   &kDsoOrcd,
                   "1.11;0,00;\r\n1.12;0,00;\r\n1.13;0,00;\r\n1.20;0,00;\r\n1.30;0,00;\r\n2.10;0,00;\r\n"
                   "2.20;0,00;\r\n2.30;0,00;\r\n"},
        EntityCase{
            "EntityTwo",
            {{"1 - PREFEITURA", false}, {"2 - FUNDO DE SAUDE", true}},
            &kDsaOrcd,
            "1.11;0,00;130,00;30,00;130,00;\r\n1.12;0,00;0,00;0,00;0,00;\r\n1.13;0,00;0,00;0,00;0,00;\r\n"
            "1.20;0,00;0,00;0,00;0,00;\r\n1.30;0,00;0,00;0,00;0,00;\r\n2.10;0,00;0,00;0,00;0,00;\r\n"
            "2.20;0,00;0,00;0,00;0,00;\r\n2.30;0,00;0,00;0,00;0,00;\r\n"}),
    [](const testing::TestParamInfo<EntityCase>& test) { return std::string(test.param.name); });

struct HealthLayoutCase {
    const char* name;
    const FileGenerator* generator;
    const char* select;
    const char* expected;
};

class HealthLineLayout : public testing::TestWithParam<HealthLayoutCase> {
protected:
    static void SetUpTestSuite() { path_ = test::BuildExpenseDatabase("HealthLayout.fdb", 1); }
    static std::string path_;
};
std::string HealthLineLayout::path_;

TEST_P(HealthLineLayout, TotorOnlyEntersTheUpdatedAllocations) {
    const HealthLayoutCase& c = GetParam();
    TCRSQLConnection connection = test::OpenExpenseConnection(path_);
    EXPECT_EQ(test::FileOfStatement(connection, *c.generator, c.select), c.expected);
}

#define MONEY(x) "CAST(" #x " AS NUMERIC(18,2))"

INSTANTIATE_TEST_SUITE_P(
    Examples, HealthLineLayout,
    testing::Values(
        HealthLayoutCase{"Dso", &kDsoOrcd, "SELECT '1.11' COD, " MONEY(125) " AS TOTOR FROM RDB$DATABASE",
                         "1.11;125,00;\r\n"},
        HealthLayoutCase{
            "Dsa", &kDsaOrcd,
            "SELECT '1.20' COD, " MONEY(800) " AS TOTOR, " MONEY(50) " AS LIQ_MES1, " MONEY(
                NULL) " AS ATU_MES1, " MONEY(62.25) " AS LIQ_MES2, " MONEY(10) " AS ATU_MES2 FROM "
                                                                               "RDB$DATABASE",
            "1.20;50,00;800,00;62,25;810,00;\r\n"},
        HealthLayoutCase{
            "DsaNegativeChange", &kDsaOrcd,
            "SELECT '2.10' COD, " MONEY(NULL) " AS TOTOR, " MONEY(NULL) " AS LIQ_MES1, " MONEY(
                -3.5) " AS ATU_MES1, " MONEY(NULL) " AS LIQ_MES2, " MONEY(NULL) " AS ATU_MES2 FROM "
                                                                                "RDB$DATABASE",
            "2.10;0,00;-3,50;0,00;0,00;\r\n"}),
    [](const testing::TestParamInfo<HealthLayoutCase>& test) { return std::string(test.param.name); });

} // namespace
} // namespace lrf
