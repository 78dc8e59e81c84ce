// A hundred ticked entities: every statement repeats the clause in each sub-select (DSA_ORCD forty
// times, well past 64 KB of text) and must still be accepted by the engine and sum the right rows.
#include "ExpenseFixture.h"

#include "export/ExpenseCategoryFiles.h"
#include "export/ExpenseFunctionFiles.h"
#include "export/HealthStatements.h"

#include <gtest/gtest.h>

namespace lrf {
namespace {

constexpr int kTicked = 100;
constexpr int kUnticked = kTicked + 1; // its amounts are large enough to show if it leaked in

// Each entity has one item of 1,00 with one commitment, liquidation and alteration of 1,00 in March.
std::string BuildManyEntities() {
    const std::string path = test::ExpenseTmpPath("ManyEntities.fdb");
    std::filesystem::remove(path);
    tools::DatabaseWriter db = tools::DatabaseWriter::Create(path);
    test::CreateExpenseTables(db);
    std::vector<tools::Row> entities, items, commitments, liquidations, changes;
    for (int k = 1; k <= kUnticked; ++k) {
        const std::string code = std::to_string(k);
        const std::string key = std::to_string(1000 + k);
        const std::string amount = k == kUnticked ? "1000.00" : "1.00";
        entities.push_back({code, "ENTIDADE " + code});
        items.push_back({code, "3.1.90.04.01", amount, "10", "301", "N", code});
        commitments.push_back({code, key, amount, "2010-03-10"});
        liquidations.push_back({key, amount, "2010-03-20"});
        changes.push_back({code, amount, "2010-03-05"});
    }
    db.ExecuteRows("INSERT INTO TABEMPRESA VALUES (?, ?)", entities);
    db.ExecuteRows("INSERT INTO DESDIS (FICHA, CATEC, DOTAC, FUNCAO, SUBFUNCAO, EXTRA, EMPRESA) "
                   "VALUES (?, ?, ?, ?, ?, ?, ?)",
                   items);
    db.ExecuteRows("INSERT INTO DESPES (FICHA, PKEMP, VADEM, DATAE) VALUES (?, ?, ?, ?)", commitments);
    db.ExecuteRows("INSERT INTO LIQUID (PKEMP, VALOR, DATA) VALUES (?, ?, ?)", liquidations);
    db.ExecuteRows("INSERT INTO DESALD (FICHA, VALOR, DTLAN) VALUES (?, ?, ?)", changes);
    db.Execute("INSERT INTO CADCLI (CODCLI, NOME) VALUES (1, 'CLIENTE')");
    return path;
}

// The list as the window shows it for codes up to 101: mask "000", every entity but the last ticked.
std::vector<EntityItem> HundredTicked() {
    std::vector<EntityItem> items;
    for (int k = 1; k <= kUnticked; ++k) {
        std::string code = std::to_string(k);
        code.insert(0, 3 - code.size(), '0');
        items.push_back({code + " - ENTIDADE", k != kUnticked});
    }
    return items;
}

struct ManyCase {
    const char* name;
    const FileGenerator* generator;
    const char* expected;
};

class ManyEntities : public testing::TestWithParam<ManyCase> {
protected:
    static void SetUpTestSuite() { path_ = BuildManyEntities(); }
    static std::string path_;
};
std::string ManyEntities::path_;

TEST_P(ManyEntities, HundredTickedEntitiesAreAcceptedAndSummed) {
    const ManyCase& c = GetParam();
    TCRSQLConnection connection = test::OpenExpenseConnection(path_);
    EXPECT_EQ(test::FileOf(connection, *c.generator, HundredTicked(), 3), c.expected);
}

#define ZERO_DSA(code) code ";0,00;0,00;0,00;0,00;\r\n"

INSTANTIATE_TEST_SUITE_P(
    Fixture, ManyEntities,
    testing::Values(
        ManyCase{"DesOrcd", &kDesOrcd, "3.1.90.04.01;100,00;\r\n"},
        ManyCase{"DesRzda", &kDesRzda, "3.1.90.04.01;100,00;0,00;100,00;0,00;100,00;0,00;\r\n"},
        ManyCase{"DfsOrcd", &kDfsOrcd, "10;301;100,00;\r\n"},
        ManyCase{"DfsRzda", &kDfsRzda, "10;301;100,00;100,00;200,00;0,00;0,00;200,00;\r\n"},
        ManyCase{"DsoOrcd", &kDsoOrcd,
                 "1.11;100,00;\r\n1.12;0,00;\r\n1.13;0,00;\r\n1.20;0,00;\r\n1.30;0,00;\r\n2.10;0,00;\r\n"
                 "2.20;0,00;\r\n2.30;0,00;\r\n"},
        ManyCase{"DsaOrcd", &kDsaOrcd,
                 "1.11;100,00;200,00;0,00;200,00;\r\n" ZERO_DSA("1.12") ZERO_DSA("1.13") ZERO_DSA("1.20")
                     ZERO_DSA("1.30") ZERO_DSA("2.10") ZERO_DSA("2.20") ZERO_DSA("2.30")}),
    [](const testing::TestParamInfo<ManyCase>& test) { return std::string(test.param.name); });

} // namespace
} // namespace lrf
