// A two-digit year in Korv.ini: the database is found under the year as written (ARQ24/KORV24.FDB) and
// the period dates fall in 2024.
#include "ExportFixture.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace lrf::test {
namespace {

TEST(CliShortYearTest, NamesTheDatabaseByTheTextAndDatesTheRunInItsCentury) {
    const fs::path folder = ScratchPath("cli_short_year");
    fs::remove_all(folder);
    fs::create_directories(folder / "ARQ24");
    {
        auto db = CreateRevenueTables(folder / "ARQ24" / "KORV24.FDB", "NUMERIC(18,4)");
        FillRevenueRows(db);
    }
    WriteBytes(folder / "Korv.ini", "[KORV]\r\nano=24\r\nCaminho_Base_Dados=" + folder.string() + "/\r\n");

    QProcess process;
    process.start(QStringLiteral(LRF_BIN_DIR "/lrf-export"),
                  {QStringLiteral("--bimestre"), QStringLiteral("2"), QStringLiteral("--entidades"),
                   QStringLiteral("1"), QStringLiteral("--arquivos"), QStringLiteral("REC_RZDA"),
                   QStringLiteral("--saida"), QString::fromStdString((folder / "out").string()),
                   QStringLiteral("--ini"), QString::fromStdString((folder / "Korv.ini").string())});
    ASSERT_TRUE(process.waitForFinished(120000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    // March and April 2024 of the fixture: the posting of 1 May and the one of 29 February stay out.
    EXPECT_EQ(ReadBytes(folder / "out" / "REC_RZDA.TXT"), "1.1.1.2.01.00;30,00;1012,00;40,00;1023,00;\r\n"
                                                          "1.1.1.2.01.00;0,00;10,00;0,00;10,00;\r\n"
                                                          "1.1.1.2.02.00;0,00;200,01;0,00;200,01;\r\n"
                                                          "1.1.1.3..;0,00;0,00;0,00;0,00;\r\n"
                                                          "1.1.1.4.\xC7"
                                                          "1.00;0,00;1,00;0,00;1,00;\r\n");
}

} // namespace
} // namespace lrf::test
