#include "tools/DatabaseWriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#ifdef _WIN32
#define popen _popen
#define pclose _pclose
#else
#include <sys/wait.h>
#endif

namespace fs = std::filesystem;
using lrf::tools::DatabaseWriter;
using lrf::tools::Row;

namespace {

struct RunResult {
    int exitCode;
    std::string output;
};

RunResult RunSample(const std::string& arguments) {
    const std::string command = "\"" LRF_BIN_DIR "/korv-sample\" " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return {-1, "cannot start " + command};
    std::string output;
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, n);
    const int status = pclose(pipe);
#ifdef _WIN32
    return {status, output};
#else
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
#endif
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

fs::path FreshFolder(const std::string& name) {
    const fs::path folder = fs::path(LRF_TEST_TMP) / ("korvsample_" + name);
    fs::remove_all(folder);
    return folder;
}

std::string Quoted(const fs::path& path) {
    return "\"" + path.string() + "\"";
}

// One installation at scale 1 for the whole suite, read as the program's own user: every read
// below also proves the SELECT grant.
class KorvSample : public testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = FreshFolder("main");
        first_ = RunSample("--dir " + Quoted(folder_));
    }
    static fs::path Database() { return folder_ / "ARQ2024" / "KORV2024.FDB"; }
    static DatabaseWriter AsProgramUser() {
        return DatabaseWriter::Attach(Database().string(), "EPMDGZG2", "mavo");
    }
    static std::string Scalar(const std::string& sql) {
        const auto rows = AsProgramUser().Query(sql);
        return rows.at(0).at(0).value_or("NULL");
    }

    static inline fs::path folder_;
    static inline RunResult first_;
};

TEST_F(KorvSample, BuildsAndSummarisesEveryTable) {
    ASSERT_EQ(first_.exitCode, 0) << first_.output;
    EXPECT_NE(first_.output.find("KORV2024.FDB: TABEMPRESA 5, CADCLI 1, RECORC "), std::string::npos)
        << first_.output;
    EXPECT_EQ(std::count(first_.output.begin(), first_.output.end(), '\n'), 1) << first_.output;
}

TEST_F(KorvSample, SettingsFileNamesYearAndAbsoluteFolderWithCrLf) {
    const std::string expected =
        "[KORV]\r\nano=2024\r\nCaminho_Base_Dados=" + fs::absolute(folder_).lexically_normal().string() +
        "/\r\n";
    EXPECT_EQ(ReadBytes(folder_ / "Korv.ini"), expected);
}

TEST_F(KorvSample, EveryTableAndTheViewHaveRows) {
    for (const char* table : {"TABEMPRESA", "RECORC", "RECDIS", "RECEIT", "RECALP", "DESDIS", "DESPES",
                              "LIQUID", "VIEWLIQ", "DESALD"})
        EXPECT_GT(std::stoll(Scalar(std::string("SELECT COUNT(*) FROM ") + table)), 0) << table;
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM CADCLI"), "1");
}

TEST_F(KorvSample, ProgramUserCannotWrite) {
    DatabaseWriter db = AsProgramUser();
    for (const char* sql :
         {"INSERT INTO CADCLI (CODCLI) VALUES (2)", "DELETE FROM RECEIT", "UPDATE DESDIS SET DOTAC = 0"}) {
        try {
            db.Execute(sql);
            ADD_FAILURE() << "allowed: " << sql;
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find("no permission"), std::string::npos) << error.what();
        }
    }
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM CADCLI"), "1");
}

TEST_F(KorvSample, NamesAreStoredAsWindows1252Bytes) {
    const auto rows = AsProgramUser().Query("SELECT EMPRESA, NOME FROM TABEMPRESA ORDER BY EMPRESA");
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0], (Row{"1", "Prefeitura Municipal de S\xE3o Jos\xE9 do Rio Claro"}));
    EXPECT_EQ(rows[1], (Row{"2", "C\xE2mara Municipal de S\xE3o Jos\xE9 do Rio Claro"}));
    EXPECT_EQ(rows[3], (Row{"4", "Instituto de Previd\xEAncia dos Servidores Municipais"}));
    EXPECT_EQ(rows[4], (Row{"5", "Fundo Municipal de Assist\xEAncia Social"}));
}

// What the export statements need from the data to show their behaviour: each query returns a
// count that must not be zero.
struct DataCase {
    const char* name;
    const char* sql;
};

const DataCase kDataCases[] = {
    {"deduction codes", "SELECT COUNT(*) FROM RECDIS WHERE CODRE LIKE '97%' AND TOTOR < 0"},
    {"budgeted deductions", "SELECT COUNT(*) FROM RECORC WHERE CODRE LIKE '97%'"},
    {"other 9 codes", "SELECT COUNT(*) FROM RECDIS WHERE CODRE STARTING WITH '9' AND CODRE NOT LIKE '97%'"},
    {"code shared by entities",
     "SELECT COUNT(*) FROM (SELECT CODRE FROM RECDIS GROUP BY CODRE HAVING COUNT(DISTINCT EMPRESA) > 1)"},
    {"unbudgeted revenue item", "SELECT COUNT(*) FROM RECDIS WHERE TOTOR IS NULL"},
    {"posting on a month's first day", "SELECT COUNT(*) FROM RECEIT WHERE EXTRACT(DAY FROM DTLAN) = 1"},
    {"posting on a month's last day",
     "SELECT COUNT(*) FROM RECEIT WHERE EXTRACT(MONTH FROM DTLAN + 1) <> EXTRACT(MONTH FROM DTLAN)"},
    {"liquidation on a month's last day",
     "SELECT COUNT(*) FROM VIEWLIQ WHERE EXTRACT(MONTH FROM DATAE + 1) <> EXTRACT(MONTH FROM DATAE)"},
    {"allocation change on a month's first day",
     "SELECT COUNT(*) FROM DESALD WHERE EXTRACT(DAY FROM DTLAN) = 1"},
    {"negative allocation change", "SELECT COUNT(*) FROM DESALD WHERE VALOR < 0"},
    {"annulled commitment", "SELECT COUNT(*) FROM DESPES WHERE VADEM < 0"},
    {"off-budget item", "SELECT COUNT(*) FROM DESDIS WHERE EXTRA = 'S'"},
    {"off-budget item with a category",
     "SELECT COUNT(*) FROM DESDIS WHERE EXTRA = 'S' AND CATEC IS NOT NULL"},
    {"budget item without category", "SELECT COUNT(*) FROM DESDIS WHERE EXTRA = 'N' AND CATEC IS NULL"},
    {"education 12/361", "SELECT COUNT(*) FROM DESDIS WHERE FUNCAO = '12' AND SUBFUNCAO = '361'"},
    {"health in two entities", "SELECT COUNT(DISTINCT EMPRESA) - 1 FROM DESDIS WHERE FUNCAO = 10"},
    {"every health subfunction 301-305", "SELECT IIF(COUNT(DISTINCT SUBFUNCAO) = 5, 1, 0) FROM DESDIS WHERE "
                                         "FUNCAO = 10 AND SUBFUNCAO BETWEEN '301' "
                                         "AND '305'"},
    {"health line 1.11", "SELECT COUNT(*) FROM DESDIS WHERE FUNCAO = 10 AND CATEC LIKE '3.1.90.11%'"},
    {"health line 1.12", "SELECT COUNT(*) FROM DESDIS WHERE FUNCAO = 10 AND CATEC LIKE '3.1.90.01%'"},
    {"health line 1.13", "SELECT COUNT(*) FROM DESDIS WHERE FUNCAO = 10 AND CATEC LIKE '3.1.90.03%'"},
    {"health line 1.20", "SELECT COUNT(*) FROM DESDIS WHERE FUNCAO = 10 AND CATEC LIKE '3.1.90.34%'"},
    {"health line 1.30", "SELECT COUNT(*) FROM DESDIS WHERE FUNCAO = 10 AND CATEC LIKE '3.2.90%'"},
    {"health line 2.10", "SELECT COUNT(*) FROM DESDIS WHERE FUNCAO = 10 AND CATEC LIKE '4.4%'"},
    {"health line 2.20", "SELECT COUNT(*) FROM DESDIS WHERE FUNCAO = 10 AND CATEC LIKE '4.5%'"},
    {"health line 2.30", "SELECT COUNT(*) FROM DESDIS WHERE FUNCAO = 10 AND CATEC LIKE '4.6%'"},
    {"health liquidations",
     "SELECT COUNT(*) FROM VIEWLIQ V INNER JOIN DESPES G ON G.PKEMP = V.PKEMP INNER JOIN DESDIS D ON "
     "D.FICHA = G.FICHA WHERE D.FUNCAO = 10"},
    {"revenue postings in all twelve months",
     "SELECT IIF(COUNT(DISTINCT EXTRACT(MONTH FROM DTLAN)) = 12, 1, 0) FROM RECEIT"},
    {"commitments in all twelve months",
     "SELECT IIF(COUNT(DISTINCT EXTRACT(MONTH FROM DATAE)) = 12, 1, 0) FROM DESPES"},
    {"liquidations in all twelve months",
     "SELECT IIF(COUNT(DISTINCT EXTRACT(MONTH FROM DATAE)) = 12, 1, 0) FROM VIEWLIQ"},
    {"allocation changes in all twelve months",
     "SELECT IIF(COUNT(DISTINCT EXTRACT(MONTH FROM DTLAN)) = 12, 1, 0) FROM DESALD"},
};

TEST_F(KorvSample, DataShowsWhatTheFilesDependOn) {
    for (const DataCase& c : kDataCases)
        EXPECT_NE(Scalar(c.sql), "0") << c.name;
}

TEST_F(KorvSample, EveryDateLiesInTheFiscalYear) {
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM RECEIT WHERE DTLAN IS NULL OR EXTRACT(YEAR FROM DTLAN) <> 2024"),
              "0");
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM RECALP WHERE DTLAN IS NULL OR EXTRACT(YEAR FROM DTLAN) <> 2024"),
              "0");
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM DESPES WHERE DATAE IS NULL OR EXTRACT(YEAR FROM DATAE) <> 2024"),
              "0");
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM VIEWLIQ WHERE DATAE IS NULL OR EXTRACT(YEAR FROM DATAE) <> 2024"),
              "0");
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM DESALD WHERE DTLAN IS NULL OR EXTRACT(YEAR FROM DTLAN) <> 2024"),
              "0");
}

TEST_F(KorvSample, LiquidationsNeverExceedTheirCommitment) {
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM DESPES G WHERE G.VADEM < (SELECT SUM(V.VADEM) FROM VIEWLIQ V "
                     "WHERE V.PKEMP = G.PKEMP)"),
              "0");
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM VIEWLIQ V INNER JOIN DESPES G ON G.PKEMP = V.PKEMP "
                     "WHERE V.DATAE < G.DATAE"),
              "0");
}

TEST_F(KorvSample, RecorcIsTheSumOfItsItems) {
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM RECORC O WHERE O.TOTOR IS DISTINCT FROM (SELECT SUM(I.TOTOR) FROM "
                     "RECDIS I WHERE I.EMPRESA = O.EMPRESA AND I.CODRE = O.CODRE)"),
              "0");
}

TEST_F(KorvSample, SecondRunRefusesAndChangesNothing) {
    const std::string settings = ReadBytes(folder_ / "Korv.ini");
    const std::string postings = Scalar("SELECT COUNT(*) FROM RECEIT");
    const RunResult again = RunSample("--dir " + Quoted(folder_));
    EXPECT_NE(again.exitCode, 0);
    EXPECT_NE(again.output.find("already exists"), std::string::npos) << again.output;
    EXPECT_EQ(ReadBytes(folder_ / "Korv.ini"), settings);
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM RECEIT"), postings);
}

// Sums and counts that any change of the generated data would move.
const char* const kFingerprint =
    "SELECT (SELECT COUNT(*) || ' ' || SUM(VAREC) FROM RECEIT) || ' ' || (SELECT COUNT(*) || ' ' || "
    "SUM(VALOR) "
    "FROM RECALP) || ' ' || (SELECT COUNT(*) || ' ' || SUM(VADEM) FROM DESPES) || ' ' || (SELECT COUNT(*) || "
    "' ' || SUM(VADEM) || ' ' || MAX(DATAE) FROM VIEWLIQ) || ' ' || (SELECT COUNT(*) || ' ' || SUM(VALOR) "
    "FROM "
    "DESALD) || ' ' || (SELECT SUM(DOTAC) FROM DESDIS) FROM RDB$DATABASE";

TEST_F(KorvSample, SameOptionsGiveTheSameData) {
    const fs::path other = FreshFolder("again");
    const RunResult run = RunSample("--dir " + Quoted(other));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const auto rows =
        DatabaseWriter::Attach((other / "ARQ2024" / "KORV2024.FDB").string()).Query(kFingerprint);
    EXPECT_EQ(rows.at(0).at(0), AsProgramUser().Query(kFingerprint).at(0).at(0));
}

TEST(KorvSampleYear, YearNamesFolderFileSettingsAndDates) {
    const fs::path folder = FreshFolder("2023");
    const RunResult run = RunSample("--dir " + Quoted(folder) + " --ano 2023");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(ReadBytes(folder / "Korv.ini").find("\r\nano=2023\r\n"), std::string::npos);
    DatabaseWriter db = DatabaseWriter::Attach((folder / "ARQ2023" / "KORV2023.FDB").string());
    EXPECT_EQ(db.Query("SELECT MIN(DATAE), MAX(DATAE) FROM VIEWLIQ").at(0),
              (Row{"2023-01-01", "2023-12-31"}));
    EXPECT_NE(db.Query("SELECT COUNT(*) FROM RECEIT WHERE DTLAN = '2023-02-28'").at(0).at(0), "0");
}

TEST(KorvSampleYear, ExistingSettingsFileIsKept) {
    const fs::path folder = FreshFolder("keepini");
    fs::create_directories(folder);
    const std::string settings = "[KORV]\r\nano=2025\r\nDLL=fbclient.dll\r\n";
    std::ofstream(folder / "Korv.ini", std::ios::binary) << settings;
    const RunResult run = RunSample("--dir " + Quoted(folder));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(fs::exists(folder / "ARQ2024" / "KORV2024.FDB"));
    EXPECT_EQ(ReadBytes(folder / "Korv.ini"), settings);
    EXPECT_NE(run.output.find("left as it is"), std::string::npos) << run.output;
}

struct BadCommandLine {
    const char* name;
    const char* arguments; // {DIR} stands for a fresh folder that must not be created
    const char* message;
};

const BadCommandLine kBadCommandLines[] = {
    {"NoDir", "--scale 2", "--dir is required"},
    {"DirWithoutValue", "--dir", "--dir needs a value"},
    {"EmptyDir", "--dir=", "--dir needs a folder name"},
    {"UnknownOption", "--dir {DIR} --size 2", "unknown option \"--size\""},
    {"DirTwice", "--dir {DIR} --dir {DIR}", "--dir is given twice"},
    {"ScaleZero", "--dir {DIR} --scale 0", "--scale takes a whole number from 1 to 1000, not \"0\""},
    {"ScaleTooLarge", "--dir {DIR} --scale 1001", "not \"1001\""},
    {"ScaleNotANumber", "--dir {DIR} --scale 5x", "not \"5x\""},
    {"ScaleNegative", "--dir {DIR} --scale=-1", "not \"-1\""},
    {"YearTwoDigits", "--dir {DIR} --ano 24", "--ano takes a year of four digits, not \"24\""},
    {"YearNotANumber", "--dir {DIR} --ano 20x4", "not \"20x4\""},
    {"YearTooEarly", "--dir {DIR} --ano 1899", "not \"1899\""},
};

class KorvSampleCommandLine : public testing::TestWithParam<BadCommandLine> {};

TEST_P(KorvSampleCommandLine, RefusedWithMessageAndNothingCreated) {
    const BadCommandLine& c = GetParam();
    const fs::path folder = FreshFolder(std::string("bad_") + c.name);
    std::string arguments = c.arguments;
    for (std::size_t at; (at = arguments.find("{DIR}")) != std::string::npos;)
        arguments.replace(at, 5, Quoted(folder));
    const RunResult run = RunSample(arguments);
    EXPECT_EQ(run.exitCode, 2) << run.output;
    EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("usage: korv-sample"), std::string::npos) << run.output;
    EXPECT_FALSE(fs::exists(folder));
}

INSTANTIATE_TEST_SUITE_P(Options, KorvSampleCommandLine, testing::ValuesIn(kBadCommandLines),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(KorvSampleFolder, FolderThatIsAFileIsRefused) {
    const fs::path file = FreshFolder("plainfile");
    std::ofstream(file) << "not a folder";
    const RunResult run = RunSample("--dir " + Quoted(file));
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_NE(run.output.find("korv-sample: "), std::string::npos) << run.output;
    EXPECT_EQ(ReadBytes(file), "not a folder");
}

} // namespace
