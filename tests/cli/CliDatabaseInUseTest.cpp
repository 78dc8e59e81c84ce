// A local database that another program holds: lrf-export gives the fixed start-up message and, on the
// next line, the engine's reason.
#include "ExportFixture.h"

#include "database/Startup.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace lrf::test {
namespace {

TEST(CliDatabaseInUseTest, SaysWhyTheDatabaseCannotBeOpened) {
    const fs::path folder = ScratchPath("cli-in-use");
    fs::remove_all(folder);
    fs::create_directories(folder / "ARQ2024");
    const fs::path database = folder / "ARQ2024" / "KORV2024.FDB";
    CreateRevenueTables(database, "NUMERIC(18,4)");
    WriteBytes(folder / "Korv.ini", "[KORV]\r\nano=2024\r\nCaminho_Base_Dados=" + folder.string() + "/\r\n");

    // isql keeps it open through the embedded engine until its input ends.
    QProcess holder;
    holder.start(QStringLiteral("isql-fb"),
                 {QStringLiteral("-q"), QStringLiteral("-user"), QStringLiteral("SYSDBA"),
                  QString::fromStdString(database.string())});
    ASSERT_TRUE(holder.waitForStarted());
    holder.write("SELECT 'held' FROM RDB$DATABASE;\n");
    QByteArray said;
    while (!said.contains("held")) {
        ASSERT_TRUE(holder.waitForReadyRead(20000)) << said.toStdString();
        said += holder.readAllStandardOutput();
    }

    QProcess process;
    process.start(QStringLiteral(LRF_BIN_DIR "/lrf-export"),
                  {QStringLiteral("--bimestre"), QStringLiteral("1"), QStringLiteral("--ini"),
                   QString::fromStdString((folder / "Korv.ini").string())});
    ASSERT_TRUE(process.waitForFinished(60000));
    holder.closeWriteChannel();
    holder.waitForFinished(20000);

    const std::string err = process.readAllStandardError().toStdString();
    EXPECT_EQ(process.exitCode(), 3) << err;
    const std::string first = std::string(kDatabaseNotFoundMessage) + "\n";
    ASSERT_EQ(err.substr(0, first.size()), first) << err;
    const std::string reason = err.substr(first.size());
    EXPECT_NE(reason.find("lock"), std::string::npos) << err;
    EXPECT_NE(reason.find(database.string()), std::string::npos) << err;
}

} // namespace
} // namespace lrf::test
