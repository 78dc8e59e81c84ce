// Which rows each sum of the bimester files covers, on one small database where the cases meet: two
// entities sharing a revenue code, two items of one deduction code, and a health line changed in
// January and within the bimesters. Every expected line is worked out by hand from the rows below.
#include "ExpenseFixture.h"
#include "ExportFixture.h"

#include "export/DeductionFiles.h"
#include "export/HealthStatements.h"
#include "export/RevenueFiles.h"

#include <gtest/gtest.h>

namespace lrf {
namespace {

// Fiscal year 2024: bimester 1 is January and February (29 days), 2 March and April, 3 May and June.
void FillRows(tools::DatabaseWriter& db) {
    db.ExecuteRows("INSERT INTO TABEMPRESA VALUES (?, ?)", {{"1", "PREFEITURA"}, {"2", "CAMARA"}});
    db.ExecuteRows("INSERT INTO RECDIS VALUES (?, ?, ?, ?)",
                   {
                       {"1", "1112.01.00", "1000", "1"}, // one revenue code, two entities
                       {"2", "1112.01.00", "500", "2"},
                       {"3", "9721.01.00", "-300", "1"}, // two items of one deduction code
                       {"4", "9721.01.00", "-50", "1"},
                       {"5", "9721.01.00", "-70", "2"}, // and one of the other entity
                   });
    db.ExecuteRows("INSERT INTO RECEIT VALUES (?, ?, ?)", {
                                                              {"1", "100", "2024-01-15"},
                                                              {"1", "30", "2024-03-10"},
                                                              {"1", "40", "2024-04-20"},
                                                              {"2", "9", "2024-02-10"},
                                                              {"2", "7", "2024-03-05"},
                                                              {"3", "-20", "2024-03-01"},
                                                              {"4", "-5", "2024-04-30"},
                                                              {"5", "-1000", "2024-03-02"},
                                                          });
    db.ExecuteRows("INSERT INTO RECALP VALUES (?, ?, ?)", {
                                                              {"1", "10", "2024-01-05"},
                                                              {"1", "3", "2024-04-01"},
                                                              {"2", "200", "2024-02-29"},
                                                              {"3", "-1", "2024-01-31"},
                                                              {"4", "-2", "2024-03-31"},
                                                              {"5", "-400", "2024-01-10"},
                                                          });
    // Health line 1.11: item 11 of entity 1, item 12 of entity 2.
    db.ExecuteRows("INSERT INTO DESDIS (FICHA, CATEC, DOTAC, FUNCAO, SUBFUNCAO, EXTRA, EMPRESA) VALUES (?, "
                   "?, ?, ?, ?, ?, ?)",
                   {
                       {"11", "3.1.90.04.01", "1000.00", "10", "302", "N", "1"},
                       {"12", "3.1.90.04", "200.00", "10", "302", "N", "2"},
                   });
    db.ExecuteRows("INSERT INTO DESPES (FICHA, PKEMP, VADEM, DATAE) VALUES (?, ?, ?, ?)",
                   {{"11", "201", "60.00", "2024-03-02"}, {"12", "202", "25.00", "2024-04-09"}});
    db.ExecuteRows("INSERT INTO LIQUID (PKEMP, VALOR, DATA) VALUES (?, ?, ?)",
                   {{"201", "60.00", "2024-03-31"}, {"202", "25.00", "2024-04-10"}});
    db.ExecuteRows("INSERT INTO DESALD (FICHA, VALOR, DTLAN) VALUES (?, ?, ?)",
                   {
                       {"11", "50.00", "2024-01-20"}, // January
                       {"11", "7.00", "2024-03-15"},  // March
                       {"11", "-4.00", "2024-04-30"}, // April's last day
                       {"12", "1000.00", "2024-02-01"},
                   });
    db.Execute("INSERT INTO CADCLI (CODCLI, NOME) VALUES (1, 'CLIENTE')");
}

struct SumCase {
    const char* name;
    const FileGenerator* file;
    bool entity1, entity2; // ticked
    int bimester;
    std::string expected;
};

class SumScope : public testing::TestWithParam<SumCase> {
protected:
    static void SetUpTestSuite() {
        path_ = test::ScratchPath("sum_scope.fdb").string();
        auto db = test::CreateRevenueTables(path_, "NUMERIC(18,4)");
        test::CreateExpenseTables(db, false);
        FillRows(db);
    }
    static std::string path_;
};
std::string SumScope::path_;

TEST_P(SumScope, EachLineSumsItsOwnRows) {
    const SumCase& c = GetParam();
    TCRSQLConnection connection = test::OpenExpenseConnection(path_);
    const std::vector<EntityItem> entities{{"1 - PREFEITURA", c.entity1}, {"2 - CAMARA", c.entity2}};
    const std::string clause = BuildEntityFilter(entities, 1, c.file->columnReference);
    const std::string sql = c.file->buildSql(PeriodOfBimester(c.bimester, QStringLiteral("2024")), clause);
    EXPECT_EQ(test::FileOfStatement(connection, *c.file, sql), c.expected);
}

// The seven health lines without rows.
const std::string kOtherHealthLines = "1.12;0,00;0,00;0,00;0,00;\r\n"
                                      "1.13;0,00;0,00;0,00;0,00;\r\n"
                                      "1.20;0,00;0,00;0,00;0,00;\r\n"
                                      "1.30;0,00;0,00;0,00;0,00;\r\n"
                                      "2.10;0,00;0,00;0,00;0,00;\r\n"
                                      "2.20;0,00;0,00;0,00;0,00;\r\n"
                                      "2.30;0,00;0,00;0,00;0,00;\r\n";

INSTANTIATE_TEST_SUITE_P(
    Fixture, SumScope,
    testing::Values(
        // REC_RZDA: realised in the month, then budget plus the alterations up to the month's end, all of
        // the ticked entities' items only.
        SumCase{"RecEntity1Bim2", &kRecRzda, true, false, 2,
                "1.1.1.2.01.00;30,00;1010,00;40,00;1013,00;\r\n"},
        SumCase{"RecEntity2Bim2", &kRecRzda, false, true, 2, "1.1.1.2.01.00;7,00;700,00;0,00;700,00;\r\n"},
        SumCase{"RecBothBim2", &kRecRzda, true, true, 2, "1.1.1.2.01.00;37,00;1710,00;40,00;1713,00;\r\n"},
        SumCase{"RecNoneBim2", &kRecRzda, false, false, 2, "1.1.1.2.01.00;37,00;1710,00;40,00;1713,00;\r\n"},
        SumCase{"RecEntity1Bim1", &kRecRzda, true, false, 1,
                "1.1.1.2.01.00;100,00;1010,00;0,00;1010,00;\r\n"},
        SumCase{"RecEntity2Bim1", &kRecRzda, false, true, 1, "1.1.1.2.01.00;0,00;500,00;9,00;700,00;\r\n"},
        SumCase{"RecNoneBim1", &kRecRzda, false, false, 1, "1.1.1.2.01.00;100,00;1510,00;9,00;1710,00;\r\n"},
        SumCase{"RecEntity1Bim3", &kRecRzda, true, false, 3, "1.1.1.2.01.00;0,00;1013,00;0,00;1013,00;\r\n"},
        // DED_RZDA: one line per item with its own postings and alterations, signs changed.
        SumCase{"DedEntity1Bim2", &kDedRzda, true, false, 2,
                "9.7.2.1.01.00;20,00;301,00;0,00;301,00;\r\n"
                "9.7.2.1.01.00;0,00;52,00;5,00;52,00;\r\n"},
        SumCase{"DedEntity1Bim1", &kDedRzda, true, false, 1,
                "9.7.2.1.01.00;0,00;301,00;0,00;301,00;\r\n"
                "9.7.2.1.01.00;0,00;50,00;0,00;50,00;\r\n"},
        SumCase{"DedEntity2Bim2", &kDedRzda, false, true, 2, "9.7.2.1.01.00;1000,00;470,00;0,00;470,00;\r\n"},
        SumCase{"DedNoneBim2", &kDedRzda, false, false, 2,
                "9.7.2.1.01.00;20,00;301,00;0,00;301,00;\r\n"
                "9.7.2.1.01.00;0,00;52,00;5,00;52,00;\r\n"
                "9.7.2.1.01.00;1000,00;470,00;0,00;470,00;\r\n"},
        // DSA_ORCD: liquidated in the month; allocation plus every change up to the month's last day.
        SumCase{"DsaEntity1Bim2", &kDsaOrcd, true, false, 2,
                "1.11;60,00;1057,00;0,00;1053,00;\r\n" + kOtherHealthLines},
        SumCase{"DsaEntity1Bim1", &kDsaOrcd, true, false, 1,
                "1.11;0,00;1050,00;0,00;1050,00;\r\n" + kOtherHealthLines},
        SumCase{"DsaEntity1Bim3", &kDsaOrcd, true, false, 3,
                "1.11;0,00;1053,00;0,00;1053,00;\r\n" + kOtherHealthLines},
        SumCase{"DsaEntity2Bim2", &kDsaOrcd, false, true, 2,
                "1.11;0,00;1200,00;25,00;1200,00;\r\n" + kOtherHealthLines},
        SumCase{"DsaNoneBim2", &kDsaOrcd, false, false, 2,
                "1.11;60,00;2257,00;25,00;2253,00;\r\n" + kOtherHealthLines},
        SumCase{"DsaNoneBim1", &kDsaOrcd, false, false, 1,
                "1.11;0,00;1250,00;0,00;2250,00;\r\n" + kOtherHealthLines}),
    [](const testing::TestParamInfo<SumCase>& test) { return std::string(test.param.name); });

} // namespace
} // namespace lrf
