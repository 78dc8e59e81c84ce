// lrf-export on fixture installations: what it prints and the exit code a script sees.
#include "ExportFixture.h"
#include "FileSystemTraps.h"

#include "database/Startup.h"

#include <QProcess>
#include <cstring>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace lrf::test {
namespace {

const std::string kUsage = "Uso: lrf-export --bimestre N [--entidades C1,C2,...] "
                           "[--arquivos NOME1,NOME2,...|todos] [--saida PASTA] [--ini ARQUIVO]\n";

fs::path Root() {
    return ScratchPath("cli");
}

// An installation whose Korv.ini names `year` and whose year folder holds `database` (if any).
fs::path Installation(const std::string& name, const std::string& year, bool withAlterations) {
    const fs::path folder = Root() / name;
    fs::create_directories(folder / ("ARQ" + year));
    {
        auto db = CreateRevenueTables(folder / ("ARQ" + year) / ("KORV" + year + ".FDB"), "NUMERIC(18,4)",
                                      withAlterations);
        FillRevenueRows(db, withAlterations);
    }
    WriteBytes(folder / "Korv.ini",
               "[KORV]\r\nano=" + year + "\r\nCaminho_Base_Dados=" + folder.string() + "/\r\n");
    return folder / "Korv.ini";
}

struct Fixture {
    std::string good, rejecting, badYear, noDatabase, noClient, driverless;
};

const Fixture& Installations() {
    static const Fixture fixture = [] {
        fs::remove_all(Root());
        fs::create_directories(Root());
        Fixture f;
        f.good = Installation("good", "2024", true).string();
        f.rejecting = Installation("rejecting", "2024", false).string();
        f.badYear = Installation("badyear", "abc", true).string();
        f.noDatabase = (Root() / "nodb" / "Korv.ini").string();
        fs::create_directories(Root() / "nodb");
        WriteBytes(f.noDatabase,
                   "[KORV]\r\nano=1999\r\nCaminho_Base_Dados=" + (Root() / "nodb").string() + "/\r\n");
        f.noClient = (Root() / "noclient" / "Korv.ini").string();
        fs::create_directories(Root() / "noclient");
        WriteBytes(f.noClient,
                   "[KORV]\r\nano=2024\r\nDLL=/nonexistent/libfbclient.so\r\nCaminho_Base_Dados=" +
                       (Root() / "good").string() + "/\r\n");
        // The program without the driver beside it.
        fs::create_directories(Root() / "nodriver");
        f.driverless = (Root() / "nodriver" / "lrf-export").string();
        fs::copy_file(LRF_BIN_DIR "/lrf-export", f.driverless);
        WriteBytes(Root() / "plainfile", "x");
        fs::create_directories(Root() / "out");
        return f;
    }();
    return fixture;
}

struct CliCase {
    const char* name;
    std::vector<std::string> arguments; // "{good}", "{out}" ... are replaced by the fixture's paths
    int exitCode;
    std::optional<std::string> out; // the whole standard output, when it matters
    std::string errContains;
    bool driverless = false;
};

std::string Expand(std::string text, const std::string& caseName) {
    const Fixture& f = Installations();
    const std::pair<std::string, std::string> names[] = {
        {"{good}", f.good},
        {"{rejecting}", f.rejecting},
        {"{badyear}", f.badYear},
        {"{nodb}", f.noDatabase},
        {"{noclient}", f.noClient},
        {"{out}", (Root() / "out" / caseName).string()},
        {"{blocked}", (Root() / "plainfile" / "out").string()},
    };
    for (const auto& [from, to] : names)
        if (const std::size_t at = text.find(from); at != std::string::npos)
            text.replace(at, from.size(), to);
    return text;
}

class CliExitCodeTest : public ::testing::TestWithParam<CliCase> {};

TEST_P(CliExitCodeTest, ReportsTheOutcome) {
    const CliCase& c = GetParam();
    const Fixture& f = Installations();
    QStringList arguments;
    for (const std::string& argument : c.arguments)
        arguments << QString::fromStdString(Expand(argument, c.name));
    QProcess process;
    process.start(
        QString::fromStdString(c.driverless ? f.driverless : std::string(LRF_BIN_DIR "/lrf-export")),
        arguments);
    ASSERT_TRUE(process.waitForFinished(120000));
    ASSERT_EQ(process.exitStatus(), QProcess::NormalExit);
    const std::string out = process.readAllStandardOutput().toStdString();
    const std::string err = process.readAllStandardError().toStdString();
    EXPECT_EQ(process.exitCode(), c.exitCode) << out << err;
    if (c.out) {
        EXPECT_EQ(out, *c.out);
    }
    EXPECT_NE(err.find(c.errContains), std::string::npos) << err;
    if (c.exitCode == 64) {
        EXPECT_TRUE(out.empty());
        EXPECT_TRUE(err.ends_with(kUsage)) << err;
    }
}

const std::string kTwoCreated = "Arquivo DED_ORCD.TXT criado com sucesso !\n"
                                "Arquivo REC_ORCD.TXT criado com sucesso !\n"
                                ".: Finalizei :.\n"
                                "2 arquivo(s) criado(s) com sucesso!\n"
                                "0 arquivo(s) n\xC3\xA3o criado(s) por algum erro!\n";

INSTANTIATE_TEST_SUITE_P(
    Outcomes, CliExitCodeTest,
    ::testing::Values(
        CliCase{"Created",
                {"--bimestre", "2", "--entidades", "1", "--arquivos", "rec_orcd,DED_ORCD.txt,Div_Rzda",
                 "--saida", "{out}", "--ini", "{good}"},
                0,
                kTwoCreated,
                ""},
        CliCase{"EqualsForm",
                {"--bimestre=2", "--arquivos=REC_ORCD,DED_ORCD", "--saida={out}/", "--ini={good}"},
                0,
                kTwoCreated,
                ""},
        CliCase{"FileFailed",
                {"--bimestre", "2", "--arquivos", "DED_ORCD", "--saida", "{blocked}", "--ini", "{good}"},
                1,
                "ERRO NA CRIA\xC3\x87\xC3\x83O DO ARQUIVO: DED_ORCD.TXT !\n.: Finalizei :.\n"
                "0 arquivo(s) criado(s) com sucesso!\n1 arquivo(s) n\xC3\xA3o criado(s) por algum erro!\n",
                "lrf-export: DED_ORCD.TXT: Not a directory\n"},
        CliCase{"QueryRejected",
                {"--bimestre", "2", "--arquivos", "DED_ORCD,DED_RZDA", "--saida", "{out}", "--ini",
                 "{rejecting}"},
                2,
                "Arquivo DED_ORCD.TXT criado com sucesso !\n",
                "RECALP"},
        CliCase{"InvalidYear",
                {"--bimestre", "1", "--saida", "{out}", "--ini", "{badyear}"},
                2,
                "",
                "'01/01/abc' is not a valid date\n"},
        CliCase{"DatabaseMissing",
                {"--bimestre", "1", "--ini", "{nodb}"},
                3,
                "",
                std::string(kDatabaseNotFoundMessage) +
                    "\nlrf-export: I/O error during \"open\" operation for file \"" +
                    (Root() / "nodb" / "ARQ1999" / "KORV1999.FDB").string() + "\""},
        CliCase{"ClientLibraryMissing",
                {"--bimestre", "1", "--ini", "{noclient}"},
                3,
                "",
                std::string(kDatabaseNotFoundMessage) +
                    "\nlrf-export: Cannot load the client library \"/nonexistent/libfbclient.so\""},
        CliCase{"DriverMissing",
                {"--bimestre", "1", "--ini", "{good}"},
                3,
                "",
                "\nO Sistema ser\xC3\xA1 finalizado.\nlrf-export: DBEXPIDA.dll n\xC3\xA3o encontrado em " +
                    (Root() / "nodriver").string() + "/\n",
                true},
        CliCase{"SettingsFileMissing", {"--bimestre", "1", "--ini", "{out}.ini"}, 3, "", ".ini"},
        CliCase{"EmptyFolder", {"--bimestre", "1", "--saida="}, 64, std::nullopt, "--saida"},
        CliCase{"NoBimester", {"--ini", "{good}"}, 64, std::nullopt, "--bimestre"},
        CliCase{"BimesterZero", {"--bimestre", "0"}, 64, std::nullopt, "\"0\""},
        CliCase{"BimesterSeven", {"--bimestre=7"}, 64, std::nullopt, "\"7\""},
        CliCase{"BimesterNotANumber", {"--bimestre", "2x"}, 64, std::nullopt, "\"2x\""},
        CliCase{"BimesterValueMissing", {"--bimestre"}, 64, std::nullopt, "--bimestre"},
        CliCase{"UnknownOption", {"--bimestre", "1", "--pasta", "x"}, 64, std::nullopt, "--pasta"},
        CliCase{"UnknownFile",
                {"--bimestre", "1", "--arquivos", "REC_ORCD,REC_XXX"},
                64,
                std::nullopt,
                "REC_XXX"},
        CliCase{"EntityNotANumber", {"--bimestre", "1", "--entidades", "1,x"}, 64, std::nullopt, "\"x\""},
        CliCase{"EntityEmptyInList", {"--bimestre", "1", "--entidades", "1,,2"}, 64, std::nullopt, "\"\""},
        CliCase{"EntityRepeatedTicksOnce",
                {"--bimestre", "2", "--entidades", "1,01,1", "--arquivos", "Rec_Orcd.TXT,ded_orcd,REC_ORCD",
                 "--saida", "{out}", "--ini", "{good}"},
                0,
                kTwoCreated,
                ""},
        CliCase{"OptionRepeated", {"--bimestre", "1", "--bimestre=2"}, 64, std::nullopt, "--bimestre"},
        CliCase{"RepeatedWithOtherOptionsBetween",
                {"--saida", "x", "--bimestre", "1", "--saida=y"},
                64,
                std::nullopt,
                "opção repetida: --saida"},
        CliCase{"SingleDashUnknown", {"--bimestre", "1", "-x"}, 64, std::nullopt, "\"-x\""},
        CliCase{"HelpTakesNoValue", {"--help=sim"}, 64, std::nullopt, "--help"},
        CliCase{"VersionTakesNoValue", {"--version=1"}, 64, std::nullopt, "--version"},
        CliCase{"SettingsValueMissing", {"--bimestre", "1", "--ini"}, 64, std::nullopt, "--ini"},
        CliCase{
            "FileNameOnlyExtension", {"--bimestre", "1", "--arquivos", ".TXT"}, 64, std::nullopt, "\".TXT\""},
        CliCase{"FileListEmpty", {"--bimestre", "1", "--arquivos="}, 64, std::nullopt, "\"\""},
        CliCase{"PositionalArgument", {"design", "--bimestre", "1"}, 64, std::nullopt, "\"design\""},
        CliCase{"FolderIsAFile",
                {"--bimestre", "2", "--arquivos", "DED_ORCD", "--saida", "{good}", "--ini", "{good}"},
                1,
                "ERRO NA CRIA\xC3\x87\xC3\x83O DO ARQUIVO: DED_ORCD.TXT !\n.: Finalizei :.\n"
                "0 arquivo(s) criado(s) com sucesso!\n1 arquivo(s) n\xC3\xA3o criado(s) por algum erro!\n",
                "lrf-export: DED_ORCD.TXT: Not a directory\n"},
        CliCase{"EntityNotInTable",
                {"--bimestre", "1", "--entidades", "1,9", "--saida", "{out}", "--ini", "{good}"},
                64,
                std::nullopt,
                "9"}),
    [](const auto& test) { return std::string(test.param.name); });

std::string RunForOutput(const QStringList& arguments, int& exitCode) {
    QProcess process;
    process.start(QStringLiteral(LRF_BIN_DIR "/lrf-export"), arguments);
    EXPECT_TRUE(process.waitForFinished(120000));
    exitCode = process.exitCode();
    EXPECT_TRUE(process.readAllStandardError().isEmpty());
    return process.readAllStandardOutput().toStdString();
}

// Every option the parser takes is on its own line of help, and so is every exit code.
TEST(CliOutputTest, HelpListsEveryOptionTheExitCodesAndAnExample) {
    int exitCode = -1;
    const std::string help = RunForOutput({QStringLiteral("--help")}, exitCode);
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(help.starts_with(kUsage)) << help;
    for (const char* option : {"--bimestre N ", "--entidades C1,C2,... ", "--arquivos NOME1,...|todos ",
                               "--saida PASTA ", "--ini ARQUIVO ", "-h, --help ", "--version "}) {
        const std::size_t at = help.find(std::string("\n  ") + option);
        ASSERT_NE(at, std::string::npos) << option << "\n" << help;
        const std::string line = help.substr(at + 1, help.find('\n', at + 1) - at - 1);
        EXPECT_GT(line.size(), 40u) << line; // the option, then its line of help
    }
    for (const char* code : {"\n  0   ", "\n  1   ", "\n  2   ", "\n  3   ", "\n  64  "})
        EXPECT_NE(help.find(code), std::string::npos) << code;
    EXPECT_NE(help.find("Exemplo:\n  lrf-export --bimestre "), std::string::npos);
    int shortExit = -1;
    EXPECT_EQ(RunForOutput({QStringLiteral("-h")}, shortExit), help);
}

TEST(CliOutputTest, VersionIsTheFileVersion) {
    int exitCode = -1;
    EXPECT_EQ(RunForOutput({QStringLiteral("--version")}, exitCode), "lrf-export 8.21.0.3\n");
    EXPECT_EQ(exitCode, 0);
}

TEST(CliOutputTest, WritesTheFilesIntoTheFolderGivenWithoutSeparator) {
    const Fixture& f = Installations();
    const fs::path out = Root() / "out" / "NoSeparator";
    QProcess process;
    process.start(QStringLiteral(LRF_BIN_DIR "/lrf-export"),
                  {QStringLiteral("--bimestre"), QStringLiteral("2"), QStringLiteral("--entidades"),
                   QStringLiteral("1"), QStringLiteral("--arquivos"), QStringLiteral("DED_ORCD"),
                   QStringLiteral("--saida"), QString::fromStdString(out.string()), QStringLiteral("--ini"),
                   QString::fromStdString(f.good)});
    ASSERT_TRUE(process.waitForFinished(120000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(ReadBytes(out / "DED_ORCD.TXT"),
              "9.7.2.1.01.00;300,00;\r\n9.7.2.1.02.00;-25,50;\r\n9.7....;0,00;\r\n9.7.2.1.03.00;0,00;\r\n");
}

struct Outcome {
    int exitCode = -1;
    std::string out, err;
};

Outcome RunProgram(const std::vector<std::string>& arguments) {
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    QProcess process;
    process.start(QStringLiteral(LRF_BIN_DIR "/lrf-export"), list);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

const std::string kOneFailed = "ERRO NA CRIA\xC3\x87\xC3\x83O DO ARQUIVO: DED_ORCD.TXT !\n.: Finalizei :.\n"
                               "0 arquivo(s) criado(s) com sucesso!\n"
                               "1 arquivo(s) n\xC3\xA3o criado(s) por algum erro!\n";

// The database's text does not say which file's statement it refused: the last line does.
TEST(CliReasonTest, ARefusedQueryNamesItsFile) {
    const Fixture& f = Installations();
    const Outcome run = RunProgram({"--bimestre", "2", "--arquivos", "DED_RZDA", "--saida",
                                    (Root() / "out" / "RefusedQuery").string(), "--ini", f.rejecting});
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out;
    EXPECT_NE(run.err.find("Table unknown\n-RECALP\n"), std::string::npos) << run.err;
    EXPECT_TRUE(run.err.ends_with("\nlrf-export: A consulta do arquivo DED_RZDA.TXT falhou.\n")) << run.err;
}

// Another program holds the database: the start-up message, and the engine's own words on why.
TEST(CliReasonTest, ADatabaseLockedByAnotherProcessSaysSo) {
    const Fixture& f = Installations();
    const fs::path database = Root() / "good" / "ARQ2024" / "KORV2024.FDB";
    auto holder = tools::DatabaseWriter::Attach(database.string());
    const Outcome run = RunProgram({"--bimestre", "2", "--ini", f.good});
    EXPECT_EQ(run.exitCode, 3) << run.err;
    EXPECT_EQ(run.err, std::string(kDatabaseNotFoundMessage) +
                           "\nlrf-export: I/O error during \"lock\" operation for file \"" +
                           database.string() +
                           "\"\n-Database already opened with engine instance, incompatible with current\n");
}

#ifdef __linux__ // tmpfs and the immutable flag
// A folder on a full disk: the failure line, exit code 1, the system's reason, and nothing under the
// file's name, not even the earlier run's file.
TEST(CliReasonTest, AFullDiskIsAFailedFileWithItsReason) {
    const Fixture& f = Installations();
    const SmallFileSystem disk(Root() / "tmpfs");
    if (!disk.Mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(disk.Error());
    const fs::path folder = Root() / "tmpfs" / "out";
    fs::create_directories(folder);
    WriteBytes(folder / "DED_ORCD.TXT", "9.7.2.1.01.00;1,00;\r\n");
    ASSERT_TRUE(disk.FillUp(0));
    const Outcome run = RunProgram(
        {"--bimestre", "2", "--arquivos", "DED_ORCD", "--saida", folder.string(), "--ini", f.good});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(run.out, kOneFailed);
    EXPECT_EQ(run.err, "lrf-export: DED_ORCD.TXT: No space left on device\n");
    EXPECT_TRUE(fs::is_empty(folder));
}

// A file that can be neither replaced nor rewritten nor emptied stays as it was: the failure line stands
// and standard error says the old file is still there.
TEST(CliReasonTest, AnEarlierFileThatCannotBeRemovedIsTold) {
    const Fixture& f = Installations();
    const fs::path folder = Root() / "out" / "Kept";
    fs::remove_all(folder);
    fs::create_directories(folder);
    WriteBytes(folder / "DED_ORCD.TXT", "9.7.2.1.01.00;1,00;\r\n");
    const Protected file(folder / "DED_ORCD.TXT");
    const Protected guard(folder);
    if (!file.Held() || !guard.Held())
        GTEST_SKIP() << "this process can neither set the immutable flag nor be kept out by permissions";
    const Outcome run = RunProgram(
        {"--bimestre", "2", "--arquivos", "DED_ORCD", "--saida", folder.string(), "--ini", f.good});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(run.out, kOneFailed);
    EXPECT_TRUE(run.err.starts_with("lrf-export: DED_ORCD.TXT: ")) << run.err;
    EXPECT_NE(run.err.find("o arquivo com este nome n\xC3\xA3o p\xC3\xB4"
                           "de ser apagado nem esvaziado"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(ReadBytes(folder / "DED_ORCD.TXT"), "9.7.2.1.01.00;1,00;\r\n");
}
#endif

// A log that cannot be written is no summary: a script must not read success.
TEST(CliOutputTest, UnwritableStandardOutputIsARunError) {
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full on this system";
    const Fixture& f = Installations();
    QProcess process;
    process.setStandardOutputFile(QStringLiteral("/dev/full"));
    process.start(QStringLiteral(LRF_BIN_DIR "/lrf-export"),
                  {QStringLiteral("--bimestre"), QStringLiteral("2"), QStringLiteral("--arquivos"),
                   QStringLiteral("DED_ORCD"), QStringLiteral("--saida"),
                   QString::fromStdString((Root() / "out" / "FullOutput").string()), QStringLiteral("--ini"),
                   QString::fromStdString(f.good)});
    ASSERT_TRUE(process.waitForFinished(120000));
    const std::string err = process.readAllStandardError().toStdString();
    EXPECT_EQ(process.exitCode(), 2) << err;
    EXPECT_NE(err.find("sa\xC3\xAD"
                       "da padr\xC3\xA3o"),
              std::string::npos)
        << err;
}

} // namespace
} // namespace lrf::test
