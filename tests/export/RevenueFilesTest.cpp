// The revenue and deduction files produced from a real database: which entities each sum covers, and
// the line layouts of the four files.
#include "ExpenseFixture.h"
#include "ExportFixture.h"

#include "export/DeductionFiles.h"
#include "export/RevenueFiles.h"

#include <gtest/gtest.h>

namespace lrf {
namespace {

// Bimester 2 of 2024, the period of the revenue fixture.
const Period kMarchApril2024 = PeriodOfBimester(2, QStringLiteral("2024"));

class RevenueFiles : public testing::Test {
protected:
    static void SetUpTestSuite() {
        path_ = test::ScratchPath("revenue_files.fdb");
        auto db = test::CreateRevenueTables(path_, "NUMERIC(18,4)");
        test::FillRevenueRows(db);
    }
    void SetUp() override { test::OpenConnection(connection_, path_); }

    std::string FileOf(const FileGenerator& generator, const std::vector<EntityItem>& entities) {
        const std::string clause = BuildEntityFilter(entities, 1, generator.columnReference);
        return test::FileOfStatement(connection_, generator, generator.buildSql(kMarchApril2024, clause, {}));
    }

    static std::filesystem::path path_;
    TCRSQLConnection connection_;
};
std::filesystem::path RevenueFiles::path_;

struct EntityCase {
    const char* name;
    bool first, second; // ticks of entity 1 and entity 2
    const char* expected;
};

class RevenueEntities : public RevenueFiles, public testing::WithParamInterface<EntityCase> {};

// Code 1112.01.00 is held by entity 1 (item 1) and entity 2 (item 2). A line's realised revenue and its
// alterations belong to the same entities as its budget: the ticked ones.
TEST_P(RevenueEntities, RealisedAndUpdatedBudgetCoverTheTickedEntitiesOnly) {
    const EntityCase& c = GetParam();
    EXPECT_EQ(FileOf(kRecRzda, {{"1 - PREFEITURA", c.first}, {"2 - CAMARA", c.second}}), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Fixture, RevenueEntities,
    testing::Values(
        // March: 10 + 20 (the posting of 1 May and the NULL one do not count); alterations 5 + 7, then 11.
        EntityCase{"EntityOne", true, false,
                   "1.1.1.2.01.00;30,00;1012,00;40,00;1023,00;\r\n"
                   "1.1.1.2.01.00;0,00;10,00;0,00;10,00;\r\n"
                   "1.1.1.2.02.00;0,00;200,01;0,00;200,01;\r\n"
                   "1.1.1.3..;0,00;0,00;0,00;0,00;\r\n"
                   "1.1.1.4.\xC7"
                   "1.00;0,00;1,00;0,00;1,00;\r\n"},
        EntityCase{"EntityTwo", false, true, "1.1.1.2.01.00;1000,00;600,00;0,00;600,00;\r\n"},
        // No tick: every entity in the budget and in the sums alike.
        EntityCase{"NoEntity", false, false,
                   "1.1.1.2.01.00;1030,00;1612,00;40,00;1623,00;\r\n"
                   "1.1.1.2.01.00;0,00;10,00;0,00;10,00;\r\n"
                   "1.1.1.2.02.00;0,00;200,01;0,00;200,01;\r\n"
                   "1.1.1.3..;0,00;0,00;0,00;0,00;\r\n"
                   "1.1.1.4.\xC7"
                   "1.00;0,00;1,00;0,00;1,00;\r\n"},
        EntityCase{"BothEntities", true, true,
                   "1.1.1.2.01.00;1030,00;1612,00;40,00;1623,00;\r\n"
                   "1.1.1.2.01.00;0,00;10,00;0,00;10,00;\r\n"
                   "1.1.1.2.02.00;0,00;200,01;0,00;200,01;\r\n"
                   "1.1.1.3..;0,00;0,00;0,00;0,00;\r\n"
                   "1.1.1.4.\xC7"
                   "1.00;0,00;1,00;0,00;1,00;\r\n"}),
    [](const testing::TestParamInfo<EntityCase>& info) { return std::string(info.param.name); });

struct LayoutCase {
    const char* name;
    const FileGenerator* generator;
    const char* select; // one literal row with the columns of the generator's statement
    const char* expected;
};

class RevenueLineLayout : public RevenueFiles, public testing::WithParamInterface<LayoutCase> {};

TEST_P(RevenueLineLayout, WritesTheFieldsOfTheFile) {
    const LayoutCase& c = GetParam();
    EXPECT_EQ(test::FileOfStatement(connection_, *c.generator, c.select), c.expected);
}

// CODRE as text, then the amounts as NUMERIC(18,4) in the statement's column order.
INSTANTIATE_TEST_SUITE_P(
    Examples, RevenueLineLayout,
    testing::Values(
        LayoutCase{"RecOrcd", &kRecOrcd,
                   "SELECT CAST('1112.02.00' AS VARCHAR(20)) AS CODRE, CAST(200 AS NUMERIC(18,4)) AS TOTOR "
                   "FROM RDB$DATABASE",
                   "1.1.1.2.02.00;200,00;\r\n"},
        // The updated budgets add the alterations to TOTOR; a NULL reads as 0.
        LayoutCase{"RecRzda", &kRecRzda,
                   "SELECT CAST('1112.02.00' AS VARCHAR(20)) AS CODRE, CAST(200 AS NUMERIC(18,4)) AS TOTOR, "
                   "CAST(15.5 AS NUMERIC(18,4)) AS REA_MES1, CAST(NULL AS NUMERIC(18,4)) AS ATU_MES1, "
                   "CAST(NULL AS NUMERIC(18,4)) AS REA_MES2, CAST(-12.34 AS NUMERIC(18,4)) AS ATU_MES2 "
                   "FROM RDB$DATABASE",
                   "1.1.1.2.02.00;15,50;200,00;0,00;187,66;\r\n"},
        LayoutCase{"DedOrcd", &kDedOrcd,
                   "SELECT CAST('9721.01.00' AS VARCHAR(20)) AS CODRE, CAST(-300 AS NUMERIC(18,4)) AS TOTOR "
                   "FROM RDB$DATABASE",
                   "9.7.2.1.01.00;300,00;\r\n"},
        // The sign changes on the sum as a whole; 0.004 negated rounds to zero and has no sign.
        LayoutCase{"DedRzda", &kDedRzda,
                   "SELECT CAST('9721.01.00' AS VARCHAR(20)) AS CODRE, CAST(-300 AS NUMERIC(18,4)) AS TOTOR, "
                   "CAST(-25 AS NUMERIC(18,4)) AS MES1, CAST(NULL AS NUMERIC(18,4)) AS ATUALIZADO_MES1, "
                   "CAST(0.004 AS NUMERIC(18,4)) AS MES2, CAST(-10.25 AS NUMERIC(18,4)) AS ATUALIZADO_MES2 "
                   "FROM RDB$DATABASE",
                   "9.7.2.1.01.00;25,00;300,00;0,00;310,25;\r\n"}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace lrf
