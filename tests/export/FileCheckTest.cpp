// The conferência on small real databases: a consistent one on which no check fires, and one case per
// check, each a few rows (or a file touched after the run) that make exactly that check fire.
#include "ExportFixture.h"

#include "database/Connection.h"
#include "export/ExportRun.h"
#include "export/FileCheck.h"

#include <gtest/gtest.h>

#include <set>

namespace fs = std::filesystem;

namespace lrf::test {
namespace {

// Both families of tables, as the accounting system has them; function and subfunction are text.
void CreateTables(tools::DatabaseWriter& db) {
    db.ExecuteAll({
        "CREATE TABLE TABEMPRESA (EMPRESA INTEGER, NOME VARCHAR(60))",
        "CREATE TABLE RECORC (CODRE VARCHAR(20), TOTOR NUMERIC(15,2), EMPRESA INTEGER)",
        "CREATE TABLE RECDIS (FICHA INTEGER, CODRE VARCHAR(20), TOTOR NUMERIC(15,2), EMPRESA INTEGER)",
        "CREATE TABLE RECEIT (FICHA INTEGER, VAREC NUMERIC(15,2), DTLAN DATE)",
        "CREATE TABLE RECALP (FICHA INTEGER, VALOR NUMERIC(15,2), DTLAN DATE)",
        "CREATE TABLE DESDIS (FICHA INTEGER, CATEC VARCHAR(20), DOTAC NUMERIC(15,2), FUNCAO CHAR(2),"
        " SUBFUNCAO CHAR(3), EXTRA CHAR(1), EMPRESA INTEGER)",
        "CREATE TABLE DESPES (FICHA INTEGER, PKEMP INTEGER, VADEM NUMERIC(15,2), DATAE DATE)",
        "CREATE TABLE LIQUID (PKEMP INTEGER, VALOR NUMERIC(15,2), DATA DATE)",
        "CREATE TABLE DESALD (FICHA INTEGER, VALOR NUMERIC(15,2), DTLAN DATE)",
        "CREATE TABLE CADCLI (CODCLI INTEGER)",
    });
    db.Execute("CREATE VIEW VIEWLIQ (PKEMP, VADEM, DATAE) AS SELECT PKEMP, VALOR, DATA FROM LIQUID");
    std::vector<std::string> grants;
    for (const char* table : {"TABEMPRESA", "RECORC", "RECDIS", "RECEIT", "RECALP", "DESDIS", "DESPES",
                              "LIQUID", "VIEWLIQ", "DESALD", "CADCLI"})
        grants.push_back(std::string("GRANT SELECT ON ") + table + " TO PUBLIC");
    db.ExecuteAll(grants);
}

// Consistent data of entity 1 (ticked) and a little of entity 2 (not ticked), bimester 2 of 2024. Each
// revenue and deduction code has one item, and no health item has alterations, so these figures are the
// same whichever way a file sums shared codes or earlier changes; MendedSums covers those.
const std::vector<std::string> kConsistentRows = {
    "INSERT INTO TABEMPRESA VALUES (1, 'PREFEITURA')",
    "INSERT INTO TABEMPRESA VALUES (2, 'CAMARA')",
    "INSERT INTO CADCLI VALUES (1)",
    "INSERT INTO RECORC VALUES ('9721.01.00', -100, 1)",
    "INSERT INTO RECDIS VALUES (1, '1112.01.00', 1000, 1)",
    "INSERT INTO RECDIS VALUES (2, '9721.01.00', -100, 1)",
    "INSERT INTO RECDIS VALUES (3, '1721.01.00', 500, 1)",
    "INSERT INTO RECDIS VALUES (4, '1113.00.00', 700, 2)",
    "INSERT INTO RECEIT VALUES (1, 100, '2024-03-05')",
    "INSERT INTO RECEIT VALUES (3, 200, '2024-03-06')",
    "INSERT INTO RECEIT VALUES (2, -20, '2024-03-07')",
    "INSERT INTO RECEIT VALUES (4, 999, '2024-03-07')",
    "INSERT INTO RECALP VALUES (1, 10, '2024-01-10')",
    "INSERT INTO DESDIS VALUES (1, '3.1.90.11.01', 1000, '10', '301', 'N', 1)",
    "INSERT INTO DESDIS VALUES (2, '3.3.90.39', 500, '04', '122', 'N', 1)",
    "INSERT INTO DESDIS VALUES (3, '3.3.90.39', 800, '04', '122', 'N', 2)",
    "INSERT INTO DESPES VALUES (1, 1, 100, '2024-03-05')",
    "INSERT INTO DESPES VALUES (2, 2, 50, '2024-04-02')",
    "INSERT INTO DESPES VALUES (3, 3, 900, '2024-04-02')",
    "INSERT INTO LIQUID VALUES (1, 80, '2024-03-20')",
    "INSERT INTO DESALD VALUES (2, 20, '2024-01-15')",
};

using FileEdit = void (*)(const fs::path& folder);

void ReplaceInFile(const fs::path& path, const std::string& from, const std::string& to) {
    std::string bytes = ReadBytes(path);
    const std::size_t at = bytes.find(from);
    ASSERT_NE(at, std::string::npos) << from << " not in " << path;
    bytes.replace(at, from.size(), to);
    WriteBytes(path, bytes);
}

struct CheckCase {
    const char* name;
    std::vector<std::string> rows; // added to the consistent data
    FileEdit edit = nullptr;       // a file touched after the run; then the folder is checked as it lies
    std::set<std::string> fired;   // the checks that fire
    const char* namedFile = "";    // the file the report names for the first of them
};

std::string FiredIds(const CheckReport& report) {
    std::set<std::string> ids;
    for (const CheckFinding& finding : report.findings)
        ids.insert(std::string(finding.id));
    std::string text;
    for (const std::string& id : ids)
        text += id + " ";
    return text;
}

class FileCheckTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(FileCheckTest, FiresExactlyItsCheck) {
    const CheckCase& c = GetParam();
    const fs::path folder = ScratchPath(std::string("filecheck_") + c.name);
    fs::remove_all(folder);
    fs::create_directories(folder);
    {
        auto db = tools::DatabaseWriter::Create((folder / "KORV.FDB").string());
        CreateTables(db);
        db.ExecuteAll(kConsistentRows);
        if (!c.rows.empty())
            db.ExecuteAll(c.rows);
    }
    TCRSQLConnection connection;
    OpenConnection(connection, folder / "KORV.FDB");
    TSQLClientDataSet cds1(&connection);

    ExportRequest request;
    request.bimesterIndex = 1;
    request.entities = {{"1 - PREFEITURA", true}, {"2 - CAMARA", false}};
    request.entityCodeLength = 1;
    request.ticked.fill(true);
    request.folderText = QString::fromStdString((folder / "out").string() + "/");
    request.fiscalYear = u"2024"_qs;
    request.checkFiles = true;
    RecordingSink sink;
    ExportResult result = RunExport(request, connection, cds1, sink, RegionalSettings{});
    ASSERT_EQ(result.filesCreated, 10);
    ASSERT_TRUE(result.report);
    CheckReport report = *result.report;

    if (c.edit != nullptr) {
        c.edit(folder / "out");
        const CheckRequest check = CheckRequestFor(request, true);
        const TCRSQLConnection::Snapshot snapshot(connection);
        report = CheckFiles(check, connection, RegionalSettings{});
    }

    std::string expected;
    for (const std::string& id : c.fired)
        expected += id + " ";
    EXPECT_EQ(FiredIds(report), expected) << report.Text().toStdString();
    const std::string text = report.Text().toStdString();
    if (c.fired.empty()) {
        EXPECT_NE(text.find("\nOs arquivos podem ser enviados.\n"), std::string::npos) << text;
        return;
    }
    const std::string id = *c.fired.begin();
    const bool error = id.front() == 'E';
    EXPECT_NE(text.find("\n" + id + (error ? " ERRO " : " AVISO ")), std::string::npos) << text;
    if (*c.namedFile) {
        EXPECT_NE(text.find("\n    " + std::string(c.namedFile) + ": "), std::string::npos) << text;
    }
    EXPECT_EQ(report.CanSend(), !error);
    EXPECT_NE(text.find(error ? "NÃO podem ser enviados" : "podem ser enviados; veja antes os avisos"),
              std::string::npos)
        << text;
}

INSTANTIATE_TEST_SUITE_P(
    Checks, FileCheckTest,
    ::testing::Values(
        CheckCase{"Consistent", {}, nullptr, {}},
        // A revenue code shared with the entity not ticked, a second item of a deduction code, and a health
        // item changed in January: realised revenue covers the ticked entities, each deduction line its own
        // item, and the health statement's updated allocation every change up to the month's end.
        CheckCase{"MendedSums",
                  {"INSERT INTO RECDIS VALUES (5, '1112.01.00', 300, 2)",
                   "INSERT INTO RECEIT VALUES (5, 77, '2024-03-09')",
                   "INSERT INTO RECDIS VALUES (6, '9721.01.00', -10, 1)",
                   "INSERT INTO RECEIT VALUES (6, -3, '2024-03-09')",
                   "INSERT INTO DESALD VALUES (1, 20, '2024-01-15')"},
                  nullptr,
                  {}},
        // A line end changed on disk.
        CheckCase{"E01",
                  {},
                  [](const fs::path& out) { ReplaceInFile(out / "DES_ORCD.TXT", ";\r\n", ";\n"); },
                  {"E01"},
                  "DES_ORCD.TXT"},
        CheckCase{"E01ByteOrderMark",
                  {},
                  [](const fs::path& out) {
                      WriteBytes(out / "REC_ORCD.TXT", "\xEF\xBB\xBF" + ReadBytes(out / "REC_ORCD.TXT"));
                  },
                  {"E01"},
                  "REC_ORCD.TXT"},
        CheckCase{
            "E01NegativeZero",
            {},
            [](const fs::path& out) { ReplaceInFile(out / "DSO_ORCD.TXT", "1.12;0,00;", "1.12;-0,00;"); },
            {"E01"},
            "DSO_ORCD.TXT"},
        CheckCase{
            "E01DecimalPoint",
            {},
            [](const fs::path& out) { ReplaceInFile(out / "DSO_ORCD.TXT", "1.12;0,00;", "1.12;0.00;"); },
            {"E01"},
            "DSO_ORCD.TXT"},
        // A field too many: the line is not read, so its key goes missing from DSO_ORCD too.
        CheckCase{
            "E01FieldCount",
            {},
            [](const fs::path& out) { ReplaceInFile(out / "DSO_ORCD.TXT", "1.12;0,00;", "1.12;0,00;0,00;"); },
            {"E01", "E02", "E03", "E04"},
            "DSO_ORCD.TXT"},
        // A health line written twice: the sums still agree, the key does not stay unique.
        CheckCase{"E02",
                  {},
                  [](const fs::path& out) {
                      ReplaceInFile(out / "DSO_ORCD.TXT", "1.12;0,00;\r\n", "1.12;0,00;\r\n1.12;0,00;\r\n");
                  },
                  {"E02"},
                  "DSO_ORCD.TXT"},
        // A budget line removed from REC_ORCD: REC_RZDA keeps its code, and the database too.
        CheckCase{"E03",
                  {},
                  [](const fs::path& out) {
                      ReplaceInFile(out / "REC_ORCD.TXT", "1.1.1.2.01.00;1000,00;\r\n", "");
                  },
                  {"E03", "E04"},
                  "REC_RZDA.TXT"},
        // An amount one cent off, same length.
        CheckCase{"E04",
                  {},
                  [](const fs::path& out) { ReplaceInFile(out / "REC_RZDA.TXT", "100,00", "100,01"); },
                  {"E04"},
                  "REC_RZDA.TXT"},
        // An EXTRA 'S' item counts in the budget by category, not in the one by function.
        CheckCase{"W01",
                  {"INSERT INTO DESDIS VALUES (9, '3.3.90.39', 40, '04', '122', 'S', 1)"},
                  nullptr,
                  {"W01"},
                  "DFS_ORCD.TXT"},
        // An item of its own category and pair, EXTRA 'S' only: its commitment reaches neither file.
        CheckCase{"W02",
                  {"INSERT INTO DESDIS VALUES (9, '3.3.90.30', 0, '04', '999', 'S', 1)",
                   "INSERT INTO DESPES VALUES (9, 9, 30, '2024-03-10')",
                   "INSERT INTO DESALD VALUES (9, 30, '2024-01-10')"},
                  nullptr,
                  {"W02"},
                  "DES_RZDA.TXT"},
        // Liquidated beyond what was committed.
        CheckCase{
            "W03", {"INSERT INTO LIQUID VALUES (2, 60, '2024-04-20')"}, nullptr, {"W03"}, "DES_RZDA.TXT"},
        // A deduction larger than its revenue (1721.01.00) in the first month.
        CheckCase{
            "W04", {"INSERT INTO RECEIT VALUES (2, -300, '2024-03-08')"}, nullptr, {"W04"}, "DED_RZDA.TXT"},
        // The health budget takes an EXTRA 'S' item of function 10; an item without category keeps the two
        // budget totals equal.
        CheckCase{"W05",
                  {"INSERT INTO DESDIS VALUES (9, '3.1.90.11.02', 100, '10', '301', 'S', 1)",
                   "INSERT INTO DESDIS VALUES (10, NULL, 100, '04', '122', 'N', 1)"},
                  nullptr,
                  {"W05"},
                  "DSO_ORCD.TXT"},
        CheckCase{"W06",
                  {"INSERT INTO RECDIS VALUES (9, '9111.00.00', 0, 1)",
                   "INSERT INTO RECEIT VALUES (9, 5, '2024-04-10')"},
                  nullptr,
                  {"W06"}},
        // Two stored codes that differ only after the tenth character.
        CheckCase{
            "W07", {"INSERT INTO RECDIS VALUES (9, '1112.01.0099', 0, 1)"}, nullptr, {"W07"}, "REC_ORCD.TXT"},
        CheckCase{"W08",
                  {"INSERT INTO RECDIS VALUES (9, '1114.00.00', -50, 1)"},
                  nullptr,
                  {"W08"},
                  "REC_ORCD.TXT"}),
    [](const ::testing::TestParamInfo<CheckCase>& testCase) { return std::string(testCase.param.name); });

// After a run, the file on disk is compared with the bytes the run wrote: a change that keeps the form
// of every line is still caught.
TEST(FileCheckAfterRun, BytesChangedOnDiskAreNotWhatTheRunWrote) {
    const fs::path folder = ScratchPath("filecheck_afterrun");
    fs::remove_all(folder);
    fs::create_directories(folder);
    {
        auto db = tools::DatabaseWriter::Create((folder / "KORV.FDB").string());
        CreateTables(db);
        db.ExecuteAll(kConsistentRows);
    }
    TCRSQLConnection connection;
    OpenConnection(connection, folder / "KORV.FDB");
    TSQLClientDataSet cds1(&connection);
    ExportRequest request;
    request.bimesterIndex = 1;
    request.ticked.fill(true);
    request.folderText = QString::fromStdString((folder / "out").string() + "/");
    request.fiscalYear = u"2024"_qs;
    request.checkFiles = true;
    RecordingSink sink;
    const ExportResult result = RunExport(request, connection, cds1, sink, RegionalSettings{});
    ASSERT_TRUE(result.report);
    EXPECT_EQ(result.report->Errors(), 0) << result.report->Text().toStdString();

    // The same lines in another order: same size, same keys and sums, other bytes.
    const std::string bytes = ReadBytes(folder / "out" / "REC_ORCD.TXT");
    const std::size_t second = bytes.find("\r\n") + 2;
    WriteBytes(folder / "out" / "REC_ORCD.TXT", bytes.substr(second) + bytes.substr(0, second));

    const CheckRequest check = CheckRequestFor(request, true, result.written);
    const TCRSQLConnection::Snapshot snapshot(connection);
    const CheckReport report = CheckFiles(check, connection, RegionalSettings{});
    const std::string text = report.Text().toStdString();
    EXPECT_NE(text.find("REC_ORCD.TXT: o conteúdo do arquivo na pasta não é o que a execução gravou"),
              std::string::npos)
        << text;
    EXPECT_EQ(report.Errors(), 1) << text;
}

} // namespace
} // namespace lrf::test
