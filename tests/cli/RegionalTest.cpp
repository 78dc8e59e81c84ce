// The decimal separator of the files follows the numeric locale the environment names at start-up.
#include "ExportFixture.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace lrf::test {
namespace {

struct LocaleCase {
    const char* name;
    std::vector<std::pair<const char*, const char*>> variables; // beside these, no locale variable is set
    const char* expected;                                       // REC_ORCD.TXT of entity 1, bimester 2
};

class CliRegionalTest : public ::testing::TestWithParam<LocaleCase> {
protected:
    static void SetUpTestSuite() {
        const fs::path folder = ScratchPath("cli_regional");
        fs::remove_all(folder);
        fs::create_directories(folder / "ARQ2024");
        fs::create_directories(folder / "out");
        auto db = CreateRevenueTables(folder / "ARQ2024" / "KORV2024.FDB", "NUMERIC(18,4)");
        FillRevenueRows(db);
        WriteBytes(folder / "Korv.ini",
                   "[KORV]\r\nano=2024\r\nCaminho_Base_Dados=" + folder.string() + "/\r\n");
    }
};

TEST_P(CliRegionalTest, WritesTheDecimalSeparatorOfTheNumericLocale) {
    const LocaleCase& c = GetParam();
    const fs::path folder = ScratchPath("cli_regional");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& variable : environment.keys())
        if (variable.startsWith(QLatin1String("LC_")) || variable == QLatin1String("LANG") ||
            variable == QLatin1String("LANGUAGE"))
            environment.remove(variable);
    for (const auto& [variable, value] : c.variables)
        environment.insert(QString::fromLatin1(variable), QString::fromLatin1(value));
    QProcess process;
    process.setProcessEnvironment(environment);
    const fs::path out = folder / "out" / c.name;
    process.start(QStringLiteral(LRF_BIN_DIR "/lrf-export"),
                  {QStringLiteral("--bimestre"), QStringLiteral("2"), QStringLiteral("--entidades"),
                   QStringLiteral("1"), QStringLiteral("--arquivos"), QStringLiteral("REC_ORCD"),
                   QStringLiteral("--saida"), QString::fromStdString(out.string()), QStringLiteral("--ini"),
                   QString::fromStdString((folder / "Korv.ini").string())});
    ASSERT_TRUE(process.waitForFinished(120000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_EQ(ReadBytes(out / "REC_ORCD.TXT"), c.expected);
}

const char* const kComma = "1.1.1.2.01.00;1000,00;\r\n1.1.1.2.01.00;10,00;\r\n1.1.1.2.02.00;200,01;\r\n"
                           "1.1.1.3..;0,00;\r\n1.1.1.4.\xC7"
                           "1.00;1,00;\r\n";
const char* const kPoint = "1.1.1.2.01.00;1000.00;\r\n1.1.1.2.01.00;10.00;\r\n1.1.1.2.02.00;200.01;\r\n"
                           "1.1.1.3..;0.00;\r\n1.1.1.4.\xC7"
                           "1.00;1.00;\r\n";

INSTANTIATE_TEST_SUITE_P(
    Environments, CliRegionalTest,
    ::testing::Values(
        LocaleCase{"NoLocale", {}, kComma}, LocaleCase{"CLang", {{"LANG", "C"}}, kComma},
        LocaleCase{"NumericUnderCLang", {{"LANG", "C"}, {"LC_NUMERIC", "en_US.UTF-8"}}, kPoint},
        LocaleCase{"NumericOverLang", {{"LANG", "en_US.UTF-8"}, {"LC_NUMERIC", "pt_BR.UTF-8"}}, kComma},
        LocaleCase{"AllOverNumeric", {{"LC_ALL", "en_US.UTF-8"}, {"LC_NUMERIC", "de_DE.UTF-8"}}, kPoint},
        LocaleCase{"MessagesPlayNoPart", {{"LANG", "pt_BR.UTF-8"}, {"LC_MESSAGES", "en_US.UTF-8"}}, kComma}),
    [](const auto& test) { return std::string(test.param.name); });

} // namespace
} // namespace lrf::test
