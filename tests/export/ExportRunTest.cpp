// The export run on real fixture databases: whole files byte for byte, the log, and every way a run or
// a file can fail.
#include "ExportFixture.h"

#include "database/DatabaseError.h"
#include "export/ExportError.h"
#include "export/ExportSteps.h"

#include <gtest/gtest.h>

#include <optional>

namespace fs = std::filesystem;

namespace lrf::test {
namespace {

const fs::path& RevenueDatabase() {
    static const fs::path path = [] {
        const fs::path p = ScratchPath("export_run_revenue.fdb");
        auto db = CreateRevenueTables(p, "NUMERIC(18,4)");
        FillRevenueRows(db);
        return p;
    }();
    return path;
}

// A clean output folder of this test file, given as the folder box holds it: ending with a separator.
fs::path FreshFolder(const std::string& name) {
    const fs::path folder = ScratchPath("export_run_out") / name;
    fs::remove_all(folder);
    fs::create_directories(folder.parent_path());
    return folder;
}

QString FolderText(const fs::path& folder) {
    return QString::fromStdString(folder.string()) + u'/';
}

ExportRequest Request(const fs::path& folder, std::initializer_list<std::string_view> stems,
                      bool entity1Ticked = true) {
    ExportRequest request;
    request.bimesterIndex = 1;
    request.entities = {{"1 - PREFEITURA", entity1Ticked}, {"2 - C\xC3\x82MARA", false}};
    request.entityCodeLength = 1;
    for (std::size_t i = 0; i < kStepCount; ++i)
        for (std::string_view stem : stems)
            request.ticked[i] = request.ticked[i] || ExportSteps()[i].fileStem == stem;
    request.folderText = FolderText(folder);
    request.fiscalYear = QStringLiteral("2024");
    return request;
}

class ExportRunTest : public ::testing::Test {
protected:
    void SetUp() override { OpenConnection(connection, RevenueDatabase()); }

    ExportResult Run(const ExportRequest& request) {
        return RunExport(request, connection, cds1, sink, RegionalSettings{});
    }

    TCRSQLConnection connection;
    TSQLClientDataSet cds1{&connection};
    RecordingSink sink;
};

const std::vector<std::string> kSummaryOneCreated{".: Finalizei :.", "1 arquivo(s) criado(s) com sucesso!",
                                                  "0 arquivo(s) n\xC3\xA3o criado(s) por algum erro!"};

struct FileCase {
    const char* name;
    const char* stem;
    bool entity1Ticked;
    const char* expected;
};

class ExportFileTest : public ExportRunTest, public ::testing::WithParamInterface<FileCase> {};

TEST_P(ExportFileTest, WritesTheWholeFileByteForByte) {
    const FileCase& c = GetParam();
    const fs::path folder = FreshFolder(c.name);
    const ExportResult result = Run(Request(folder, {c.stem}, c.entity1Ticked));
    EXPECT_TRUE(result.ran);
    EXPECT_EQ(result.filesCreated, 1);
    EXPECT_EQ(ReadBytes(folder / (std::string(c.stem) + ".TXT")), c.expected);
    std::vector<std::string> log{"Arquivo " + std::string(c.stem) + ".TXT criado com sucesso !"};
    log.insert(log.end(), kSummaryOneCreated.begin(), kSummaryOneCreated.end());
    EXPECT_EQ(sink.log, log);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << "stray files";
}

INSTANTIATE_TEST_SUITE_P(
    Files, ExportFileTest,
    ::testing::Values(
        // Every 97 row of the ticked entity, in the database's order, each amount negated.
        FileCase{"DedOrcd", "DED_ORCD", true,
                 "9.7.2.1.01.00;300,00;\r\n"
                 "9.7.2.1.02.00;-25,50;\r\n"
                 "9.7....;0,00;\r\n"
                 "9.7.2.1.03.00;0,00;\r\n"},
        // One line per item, each with its own item's postings and alterations: items 6 and 12 share
        // their code.
        FileCase{"DedRzda", "DED_RZDA", true,
                 "9.7.2.1.01.00;25,00;310,25;0,00;310,25;\r\n"
                 "9.7....;0,00;0,00;0,00;0,00;\r\n"
                 "9.7.2.1.01.00;0,00;20,00;4,00;21,00;\r\n"},
        FileCase{"DedRzdaAllEntities", "DED_RZDA", false,
                 "9.7.2.1.01.00;25,00;310,25;0,00;310,25;\r\n"
                 "9.7.2.1.01.00;1000,00;550,00;0,00;550,00;\r\n"
                 "9.7....;0,00;0,00;0,00;0,00;\r\n"
                 "9.7.2.1.01.00;0,00;20,00;4,00;21,00;\r\n"},
        // Grouped by code; 150.0025 + 50.0025 is rounded after the sum.
        FileCase{"RecOrcd", "REC_ORCD", true,
                 "1.1.1.2.01.00;1000,00;\r\n"
                 "1.1.1.2.01.00;10,00;\r\n"
                 "1.1.1.2.02.00;200,01;\r\n"
                 "1.1.1.3..;0,00;\r\n"
                 "1.1.1.4.\xC7"
                 "1.00;1,00;\r\n"},
        FileCase{"RecOrcdAllEntities", "REC_ORCD", false,
                 "1.1.1.2.01.00;1500,00;\r\n"
                 "1.1.1.2.01.00;10,00;\r\n"
                 "1.1.1.2.02.00;200,01;\r\n"
                 "1.1.1.3..;0,00;\r\n"
                 "1.1.1.4.\xC7"
                 "1.00;1,00;\r\n"},
        // TOTOR, postings and alterations of the ticked entity alone.
        FileCase{"RecRzda", "REC_RZDA", true,
                 "1.1.1.2.01.00;30,00;1012,00;40,00;1023,00;\r\n"
                 "1.1.1.2.01.00;0,00;10,00;0,00;10,00;\r\n"
                 "1.1.1.2.02.00;0,00;200,01;0,00;200,01;\r\n"
                 "1.1.1.3..;0,00;0,00;0,00;0,00;\r\n"
                 "1.1.1.4.\xC7"
                 "1.00;0,00;1,00;0,00;1,00;\r\n"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(ExportRunTest, RunsTheTickedStepsInOrderAndSumsUp) {
    const fs::path folder = FreshFolder("AllFour");
    const ExportRequest request =
        Request(folder, {"REC_RZDA", "DIV_RZDA", "DED_ORCD", "DPR_ORCD", "DPR_RZDA", "REC_ORCD", "DED_RZDA"});
    const ExportResult result = Run(request);
    EXPECT_EQ(result.filesCreated, 4);
    EXPECT_EQ(result.filesFailed, 0);
    EXPECT_EQ(sink.log, (std::vector<std::string>{
                            "Arquivo DED_ORCD.TXT criado com sucesso !",
                            "Arquivo DED_RZDA.TXT criado com sucesso !",
                            "Arquivo REC_ORCD.TXT criado com sucesso !",
                            "Arquivo REC_RZDA.TXT criado com sucesso !",
                            ".: Finalizei :.",
                            "4 arquivo(s) criado(s) com sucesso!",
                            "0 arquivo(s) n\xC3\xA3o criado(s) por algum erro!",
                        }));
    // The red boxes count on the overall bar, without a file.
    EXPECT_EQ(sink.overallMaximum, 7);
    EXPECT_EQ(sink.overallPositions, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(sink.fileMaxima, (std::vector<int>{4, 3, 5, 5}));
    EXPECT_EQ(sink.lastFilePosition, 5);
    EXPECT_FALSE(cds1.Active());
}

TEST_F(ExportRunTest, WithoutBimesterNothingChanges) {
    const fs::path folder = FreshFolder("NoBimester");
    sink.log = {"earlier line"};
    ExportRequest request = Request(folder, {"REC_ORCD", "DIV_RZDA"});
    request.bimesterIndex = -1;
    const ExportResult result = Run(request);
    EXPECT_FALSE(result.ran);
    EXPECT_EQ(sink.bimesterMissing, 1);
    EXPECT_EQ(sink.overallMaximum, 2);
    EXPECT_TRUE(sink.overallPositions.empty());
    EXPECT_EQ(sink.log, std::vector<std::string>{"earlier line"});
    EXPECT_FALSE(fs::exists(folder));
}

TEST_F(ExportRunTest, AnInvalidFiscalYearStopsBeforeTheLogIsCleared) {
    const fs::path folder = FreshFolder("BadYear");
    ExportRequest request = Request(folder, {"REC_ORCD"});
    request.fiscalYear = QStringLiteral("abc");
    request.bimesterIndex = 0;
    try {
        Run(request);
        FAIL() << "no error";
    } catch (const ExportError& error) {
        EXPECT_STREQ(error.what(), "'01/01/abc' is not a valid date");
    }
    EXPECT_EQ(sink.clears, 0);
    EXPECT_FALSE(fs::exists(folder));
}

TEST_F(ExportRunTest, NoFileTickedStillClearsTheLogAndMakesTheFolder) {
    const fs::path folder = FreshFolder("NothingTicked");
    sink.log = {"earlier line"};
    const ExportResult result = Run(Request(folder, {}));
    EXPECT_TRUE(result.ran);
    EXPECT_EQ(sink.clears, 1);
    EXPECT_EQ(sink.log, (std::vector<std::string>{".: Finalizei :.", "0 arquivo(s) criado(s) com sucesso!",
                                                  "0 arquivo(s) n\xC3\xA3o criado(s) por algum erro!"}));
    EXPECT_TRUE(fs::is_directory(folder));
}

TEST_F(ExportRunTest, OnlyTheLastFolderLevelIsMade) {
    const fs::path folder = FreshFolder("Missing") / "Deeper";
    const ExportResult result = Run(Request(folder, {"REC_ORCD", "DED_ORCD"}));
    EXPECT_EQ(result.filesFailed, 2);
    EXPECT_FALSE(fs::exists(folder.parent_path()));
}

// A folder that cannot be made, and a file name that a folder already takes: each file fails on its
// own, nothing is left under its name, and the run goes on.
TEST_F(ExportRunTest, FilesThatCannotBeCreatedFailOneByOne) {
    const fs::path base = FreshFolder("Unwritable");
    fs::create_directories(base);
    WriteBytes(base / "plainfile", "x");
    const ExportResult blocked = Run(Request(base / "plainfile" / "out", {"DED_ORCD", "REC_ORCD"}));
    EXPECT_EQ(blocked.filesCreated, 0);
    EXPECT_EQ(blocked.filesFailed, 2);
    EXPECT_EQ(sink.log, (std::vector<std::string>{
                            "ERRO NA CRIA\xC3\x87\xC3\x83O DO ARQUIVO: DED_ORCD.TXT !",
                            "ERRO NA CRIA\xC3\x87\xC3\x83O DO ARQUIVO: REC_ORCD.TXT !",
                            ".: Finalizei :.",
                            "0 arquivo(s) criado(s) com sucesso!",
                            "2 arquivo(s) n\xC3\xA3o criado(s) por algum erro!",
                        }));
    EXPECT_EQ(sink.overallPositions, (std::vector<int>{1, 2}));
    EXPECT_EQ(sink.reasons, (std::vector<std::string>{"Not a directory", "Not a directory"}));

    const fs::path folder = base / "taken";
    fs::create_directories(folder / "DED_ORCD.TXT");
    const ExportResult taken = Run(Request(folder, {"DED_ORCD", "REC_ORCD"}));
    EXPECT_EQ(taken.filesCreated, 1);
    EXPECT_EQ(taken.filesFailed, 1);
    EXPECT_EQ(sink.log.front(), "ERRO NA CRIA\xC3\x87\xC3\x83O DO ARQUIVO: DED_ORCD.TXT !");
    EXPECT_EQ(sink.log[1], "Arquivo REC_ORCD.TXT criado com sucesso !");
    EXPECT_TRUE(fs::is_directory(folder / "DED_ORCD.TXT"));
    EXPECT_EQ(sink.reasons, (std::vector<std::string>{"Is a directory"}));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2) << "stray files";
}

// A statement the database rejects ends the run: no failure line, no summary, earlier files stay.
TEST(ExportRunFailureTest, ARejectedQueryEndsTheRun) {
    const fs::path database = ScratchPath("export_run_no_alterations.fdb");
    {
        auto db = CreateRevenueTables(database, "NUMERIC(18,4)", false);
        FillRevenueRows(db, false);
    }
    TCRSQLConnection connection;
    OpenConnection(connection, database);
    TSQLClientDataSet cds1(&connection);
    RecordingSink sink;
    const fs::path folder = FreshFolder("Rejected");
    // The database's own error, naming the file whose statement it was.
    try {
        RunExport(Request(folder, {"DED_ORCD", "DED_RZDA", "REC_ORCD"}), connection, cds1, sink,
                  RegionalSettings{});
        ADD_FAILURE() << "no error";
    } catch (const StatementError& error) {
        EXPECT_NE(std::string(error.what()).find("RECALP"), std::string::npos) << error.what();
        EXPECT_EQ(error.FileName(), "DED_RZDA.TXT");
    }
    EXPECT_EQ(sink.log, std::vector<std::string>{"Arquivo DED_ORCD.TXT criado com sucesso !"});
    EXPECT_EQ(sink.overallPositions, std::vector<int>{1});
    EXPECT_TRUE(fs::exists(folder / "DED_ORCD.TXT"));
    EXPECT_FALSE(fs::exists(folder / "DED_RZDA.TXT"));
    EXPECT_FALSE(fs::exists(folder / "REC_ORCD.TXT"));
}

// Amounts beyond the 64-bit range: a value that cannot be read as money, and a sum that overflows after
// a good line. The file fails and says why; nothing takes its name, not even an earlier run's file, which
// would be read as this bimester's.
TEST(ExportRunFailureTest, AnAmountBeyondTheRangeFailsThatFileOnly) {
    const fs::path database = ScratchPath("export_run_overflow.fdb");
    {
        auto db = CreateRevenueTables(database, "BIGINT");
        db.ExecuteRows("INSERT INTO TABEMPRESA VALUES (?, ?)", {{"1", "PREFEITURA"}});
        db.ExecuteRows("INSERT INTO RECORC VALUES (?, ?, ?)",
                       {{"9721.01.00", "1", "1"}, {"9721.02.00", "9223372036854775807", "1"}});
        db.ExecuteRows("INSERT INTO RECDIS VALUES (?, ?, ?, ?)",
                       {{"1", "1111.01.00", "1", "1"}, {"2", "1112.01.00", "922337203685477", "1"}});
        db.ExecuteRows("INSERT INTO RECALP VALUES (?, ?, ?)", {{"2", "1", "2024-01-01"}});
    }
    TCRSQLConnection connection;
    OpenConnection(connection, database);
    TSQLClientDataSet cds1(&connection);
    RecordingSink sink;
    const fs::path folder = FreshFolder("Overflow");
    fs::create_directories(folder);
    const std::string earlier = "1.1.1.1.01.00;1,00;1,00;0,00;1,00;\r\n";
    WriteBytes(folder / "REC_RZDA.TXT", earlier);

    const ExportResult result = RunExport(Request(folder, {"DED_ORCD", "REC_ORCD", "REC_RZDA"}), connection,
                                          cds1, sink, RegionalSettings{});
    EXPECT_EQ(result.filesCreated, 1);
    EXPECT_EQ(result.filesFailed, 2);
    EXPECT_EQ(sink.log, (std::vector<std::string>{
                            "ERRO NA CRIA\xC3\x87\xC3\x83O DO ARQUIVO: DED_ORCD.TXT !",
                            "Arquivo REC_ORCD.TXT criado com sucesso !",
                            "ERRO NA CRIA\xC3\x87\xC3\x83O DO ARQUIVO: REC_RZDA.TXT !",
                            ".: Finalizei :.",
                            "1 arquivo(s) criado(s) com sucesso!",
                            "2 arquivo(s) n\xC3\xA3o criado(s) por algum erro!",
                        }));
    ASSERT_EQ(sink.reasons.size(), 2u);
    EXPECT_EQ(sink.reasons[0], "Field 'TOTOR': 9223372036854775807 is out of the currency range");
    EXPECT_EQ(sink.reasons[1], "Currency overflow");
    EXPECT_FALSE(fs::exists(folder / "DED_ORCD.TXT"));
    EXPECT_EQ(ReadBytes(folder / "REC_ORCD.TXT"),
              "1.1.1.1.01.00;1,00;\r\n1.1.1.2.01.00;922337203685477,00;\r\n");
    EXPECT_FALSE(fs::exists(folder / "REC_RZDA.TXT"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << "stray files";
}

// A long file lets the window repaint while it is written, not only between files.
TEST(ExportRunPaintTest, KeepsTheWindowPaintedWhileALongFileIsWritten) {
    const fs::path database = ScratchPath("export_run_long.fdb");
    {
        auto db = CreateRevenueTables(database, "NUMERIC(18,4)");
        std::vector<tools::Row> rows;
        for (int i = 0; i < 1000; ++i)
            rows.push_back({"9721.01.00", std::to_string(i), "1"});
        db.ExecuteRows("INSERT INTO RECORC VALUES (?, ?, ?)", rows);
    }
    TCRSQLConnection connection;
    OpenConnection(connection, database);
    TSQLClientDataSet cds1(&connection);
    RecordingSink sink;
    int paintsWhileWriting = 0;
    sink.onKeepPainted = [&] { paintsWhileWriting += sink.log.empty() ? 1 : 0; };
    const fs::path folder = FreshFolder("Long");
    RunExport(Request(folder, {"DED_ORCD"}, false), connection, cds1, sink, RegionalSettings{});
    EXPECT_GE(paintsWhileWriting, 3);
    EXPECT_EQ(sink.fileMaxima, std::vector<int>{1000});
    EXPECT_EQ(sink.lastFilePosition, 1000);
}

// A row the accounting system commits while a run is under way is not seen by the run's later files.
TEST(ExportRunSnapshotTest, AllFilesOfARunReadOneSnapshot) {
    const fs::path database = ScratchPath("export_run_snapshot.fdb");
    {
        auto db = CreateRevenueTables(database, "NUMERIC(18,4)");
        FillRevenueRows(db);
    }
    TCRSQLConnection connection;
    OpenConnection(connection, database);
    TSQLClientDataSet cds1(&connection);
    RecordingSink sink;
    bool posted = false;
    sink.onKeepPainted = [&] {
        if (posted || sink.log.empty())
            return;
        auto writer = tools::DatabaseWriter::Attach(database.string());
        writer.ExecuteRows("INSERT INTO RECDIS VALUES (?, ?, ?, ?)", {{"99", "1115.01.00", "2", "1"}});
        posted = true;
    };
    const fs::path folder = FreshFolder("Snapshot");
    RunExport(Request(folder, {"DED_ORCD", "REC_ORCD"}), connection, cds1, sink, RegionalSettings{});
    ASSERT_TRUE(posted);
    const std::string withoutPosting = ReadBytes(folder / "REC_ORCD.TXT");
    EXPECT_EQ(withoutPosting.find("1.1.1.5.01.00"), std::string::npos);

    // The next run sees it: the first one was not simply too early.
    sink.onKeepPainted = nullptr;
    RunExport(Request(folder, {"REC_ORCD"}), connection, cds1, sink, RegionalSettings{});
    EXPECT_EQ(ReadBytes(folder / "REC_ORCD.TXT"), withoutPosting + "1.1.1.5.01.00;2,00;\r\n");
}

} // namespace
} // namespace lrf::test
