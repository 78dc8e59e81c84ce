// lrf-export's conferência: after a run (--conferencia) and of the files already in a folder (--conferir).
#include "ExpenseFixture.h"
#include "ExportFixture.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace lrf::test {
namespace {

fs::path Root() {
    return ScratchPath("cli_check");
}

// A revenue installation, built once.
const std::string& RevenueIni() {
    static const std::string ini = [] {
        fs::remove_all(Root());
        const fs::path folder = Root() / "revenue";
        fs::create_directories(folder / "ARQ2024");
        {
            auto db = CreateRevenueTables(folder / "ARQ2024" / "KORV2024.FDB", "NUMERIC(18,4)");
            FillRevenueRows(db);
        }
        WriteBytes(folder / "Korv.ini",
                   "[KORV]\r\nano=2024\r\nCaminho_Base_Dados=" + folder.string() + "/\r\n");
        return (folder / "Korv.ini").string();
    }();
    return ini;
}

struct Outcome {
    int exitCode = -1;
    std::string out, err;
};

Outcome RunExportTool(const std::vector<std::string>& arguments) {
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    QProcess process;
    process.start(QStringLiteral(LRF_BIN_DIR "/lrf-export"), list);
    if (!process.waitForFinished(600000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

void Replace(const fs::path& path, const std::string& from, const std::string& to) {
    std::string bytes = ReadBytes(path);
    const std::size_t at = bytes.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    bytes.replace(at, from.size(), to);
    WriteBytes(path, bytes);
}

struct AlteredCase {
    const char* name;
    void (*edit)(const fs::path& folder);
    int exitCode;
    const char* reportLine; // a line of the report's details, after its four blanks
};

class CliAlteredFileTest : public ::testing::TestWithParam<AlteredCase> {};

// Last week's files, touched since: --conferir names the file and the check, and writes nothing.
TEST_P(CliAlteredFileTest, ConferirFindsIt) {
    const AlteredCase& c = GetParam();
    RevenueIni(); // builds the installation, clearing the scratch folder, the first time
    const fs::path out = Root() / "altered" / c.name;
    fs::remove_all(out);
    fs::create_directories(out.parent_path()); // the run makes the last level only
    const std::string folder = out.string() + "/";
    const Outcome run = RunExportTool({"--bimestre", "2", "--entidades", "1", "--arquivos",
                                       "REC_ORCD,DED_ORCD", "--saida", folder, "--ini", RevenueIni()});
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    if (c.edit != nullptr)
        c.edit(out);
    const auto before = fs::last_write_time(out / "REC_ORCD.TXT");
    const auto files = std::distance(fs::directory_iterator(out), fs::directory_iterator());

    const Outcome check =
        RunExportTool({"--bimestre", "2", "--entidades", "1", "--arquivos", "REC_ORCD,DED_ORCD", "--saida",
                       folder, "--ini", RevenueIni(), "--conferir"});
    EXPECT_EQ(check.exitCode, c.exitCode) << check.out << check.err;
    EXPECT_NE(check.out.find(std::string("\n    ") + c.reportLine), std::string::npos) << check.out;
    EXPECT_TRUE(check.out.starts_with("Confer\xC3\xAAncia dos arquivos - 2\xC2\xBA bimestre de 2024\n"))
        << check.out;
    EXPECT_EQ(fs::last_write_time(out / "REC_ORCD.TXT"), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), files);
}

INSTANTIATE_TEST_SUITE_P(
    Files, CliAlteredFileTest,
    ::testing::Values(
        AlteredCase{"Untouched", nullptr, 0,
                    "REC_ORCD.TXT: c\xC3\xB3"
                    "digos diferentes no banco"},
        AlteredCase{"AmountChanged",
                    [](const fs::path& out) { Replace(out / "REC_ORCD.TXT", "1000,00", "1000,10"); }, 4,
                    "REC_ORCD.TXT: 1 diferen\xC3\xA7"
                    "a(s) em rela\xC3\xA7\xC3\xA3o ao banco"},
        AlteredCase{
            "LineRemoved",
            [](const fs::path& out) { Replace(out / "DED_ORCD.TXT", "9.7.2.1.02.00;-25,50;\r\n", ""); }, 4,
            "DED_ORCD.TXT: 1 diferen\xC3\xA7"
            "a(s) em rela\xC3\xA7\xC3\xA3o ao banco"},
        AlteredCase{"LineEndChanged",
                    [](const fs::path& out) { Replace(out / "DED_ORCD.TXT", ";\r\n", ";\n"); }, 4,
                    "DED_ORCD.TXT: 1 linha(s) fora do formato do arquivo"},
        AlteredCase{"NamedFileMissing", [](const fs::path& out) { fs::remove(out / "DED_ORCD.TXT"); }, 4,
                    "DED_ORCD.TXT: o arquivo n\xC3\xA3o est\xC3\xA1 na pasta"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

// Without --arquivos every file is looked for; one that is not there is a warning, not an error.
TEST(CliCheckTest, UnnamedMissingFileIsAWarning) {
    const fs::path out = Root() / "unnamed";
    fs::remove_all(out);
    ASSERT_EQ(RunExportTool({"--bimestre", "2", "--arquivos", "DED_ORCD", "--saida", out.string(), "--ini",
                             RevenueIni()})
                  .exitCode,
              0);
    const Outcome check =
        RunExportTool({"--bimestre", "2", "--saida", out.string(), "--ini", RevenueIni(), "--conferir"});
    EXPECT_EQ(check.exitCode, 0) << check.out << check.err;
    EXPECT_NE(check.out.find("\n    REC_RZDA.TXT: o arquivo n\xC3\xA3o est\xC3\xA1 na pasta\n"),
              std::string::npos)
        << check.out;
    EXPECT_NE(check.out.find("\nW08 AVISO "), std::string::npos) << check.out;
}

// After a run: the log lines as always, a blank line, then the report; a failed file is exit code 1.
TEST(CliCheckTest, ConferenciaFollowsTheLog) {
    const fs::path out = Root() / "afterrun";
    fs::remove_all(out);
    Outcome run = RunExportTool({"--bimestre", "2", "--arquivos", "DED_ORCD", "--saida", out.string(),
                                 "--ini", RevenueIni(), "--conferencia"});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_TRUE(run.out.starts_with("Arquivo DED_ORCD.TXT criado com sucesso !\n.: Finalizei :.\n"
                                    "1 arquivo(s) criado(s) com sucesso!\n"
                                    "0 arquivo(s) n\xC3\xA3o criado(s) por algum erro!\n\nConfer\xC3\xAA"
                                    "ncia dos arquivos - 2\xC2\xBA bimestre de 2024\n"))
        << run.out;
    EXPECT_NE(run.out.find("\nOs arquivos podem ser enviados"), std::string::npos) << run.out;

    WriteBytes(Root() / "plainfile", "x");
    run = RunExportTool({"--bimestre", "2", "--arquivos", "DED_ORCD", "--saida",
                         (Root() / "plainfile" / "out").string(), "--ini", RevenueIni(), "--conferencia"});
    EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
    EXPECT_NE(
        run.out.find("\n    DED_ORCD.TXT: o arquivo n\xC3\xA3o foi criado nesta execu\xC3\xA7\xC3\xA3o\n"),
        std::string::npos)
        << run.out;
}

// Every file created, and an error check fails: an empty CADCLI gives the health statements no line.
TEST(CliCheckTest, ConferenciaWithAnErrorIsExitCodeFour) {
    RevenueIni();
    const fs::path folder = Root() / "nocadcli";
    fs::create_directories(folder / "ARQ2010");
    {
        auto db = tools::DatabaseWriter::Create((folder / "ARQ2010" / "KORV2010.FDB").string());
        CreateExpenseTables(db);
        FillExpenseRows(db, 0);
    }
    WriteBytes(folder / "Korv.ini", "[KORV]\r\nano=2010\r\nCaminho_Base_Dados=" + folder.string() + "/\r\n");
    const Outcome run =
        RunExportTool({"--bimestre", "2", "--arquivos", "DSO_ORCD,DFS_ORCD", "--saida",
                       (folder / "out").string(), "--ini", (folder / "Korv.ini").string(), "--conferencia"});
    EXPECT_EQ(run.exitCode, 4) << run.out << run.err;
    EXPECT_NE(run.out.find("2 arquivo(s) criado(s) com sucesso!\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\n    DSO_ORCD.TXT: chaves repetidas ou faltando\n        falta a linha 1.11"),
              std::string::npos)
        << run.out;
}

TEST(CliCheckTest, ConferirAndConferenciaTogetherIsUsage) {
    const Outcome run = RunExportTool({"--bimestre", "2", "--conferir", "--conferencia"});
    EXPECT_EQ(run.exitCode, 64);
    EXPECT_NE(run.err.find("--conferir"), std::string::npos) << run.err;
}

// The sample installation: every bimester's files pass every error check.
class CliSampleTest : public ::testing::TestWithParam<int> {};

const std::string& SampleIni() {
    static const std::string ini = [] {
        const fs::path folder = ScratchPath("cli_check_sample");
        fs::remove_all(folder);
        QProcess sample;
        sample.start(QStringLiteral(LRF_BIN_DIR "/korv-sample"),
                     {QStringLiteral("--dir"), QString::fromStdString(folder.string())});
        sample.waitForFinished(600000);
        return (folder / "Korv.ini").string();
    }();
    return ini;
}

TEST_P(CliSampleTest, NoErrorCheckFails) {
    const int bimester = GetParam();
    const fs::path out = ScratchPath("cli_check_sample_out") / std::to_string(bimester);
    fs::remove_all(out);
    fs::create_directories(out.parent_path());
    const Outcome run = RunExportTool({"--bimestre", std::to_string(bimester), "--saida", out.string(),
                                       "--ini", SampleIni(), "--conferencia"});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("\nErros: 0 "), std::string::npos) << run.out;
}

INSTANTIATE_TEST_SUITE_P(Bimesters, CliSampleTest, ::testing::Range(1, 7));

} // namespace
} // namespace lrf::test
