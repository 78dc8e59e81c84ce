// Start-up: the driver check, the probe, the opening of the connection, and what the operator is told.
#include "AppFixtures.h"
#include "AppTestRegistry.h"

#include "app/BuildInfo.h"
#include "app/HandlerGuard.h"
#include "app/PackForm.h"
#include "app/Principal.h"
#include "database/Startup.h"
#include "settings/Installation.h"

#include <QListWidget>
#include <QProcess>
#include <filesystem>
#include <fstream>

using lrf::StartupResult;
using Outcome = lrf::StartupResult::Outcome;
Q_DECLARE_METATYPE(Outcome)
Q_DECLARE_METATYPE(std::string)

namespace {

// A folder of its own holding `driverBytes` as DBEXPIDA.dll (in capitals), or no driver file at all.
std::string FolderWithDriver(const std::string& name, const char* driverBytes) {
    const std::filesystem::path folder = std::filesystem::path(LRF_TEST_TMP) / ("app-driver-" + name);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    if (driverBytes != nullptr)
        std::ofstream(folder / "DBEXPIDA.DLL", std::ios::binary) << driverBytes;
    return folder.string() + "/";
}

QString Lines(const char* message) {
    return QString::fromUtf8(message).replace(u'\r', u'\n');
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { lrf::UseSettingsFile({}); }

    void missingDriverMessage() {
        const QString message = QString::fromUtf8(lrf::kMissingDriverMessage);
        QCOMPARE(message.size(), 255);
        QCOMPARE(message.split(u'\r').size(), 6);
        QVERIFY(!message.contains(u'\n'));
        QVERIFY(message.startsWith(QStringLiteral("Um arquivo DLL necessário")));
        QVERIFY(message.contains(QStringLiteral("(DBEXPIDA.dll) !!! \r\rSOLUÇÃO:\r")));
        QVERIFY(message.contains(QStringLiteral("marque a opção \"Biblioteca para Conexão (I)\" .\r\r")));
        QVERIFY(message.endsWith(QStringLiteral("\rO Sistema será finalizado.")));
    }

    // StartUp itself, for every outcome. The probe takes the driver of this build; `Conexao` the driver
    // file in the folder given, so a damaged file there makes only the opening fail.
    void outcomes_data() {
        QTest::addColumn<std::string>("folder");
        QTest::addColumn<std::string>("settings");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<std::string>("fiscalYear");
        const std::string good = lrf::test::EntitiesInstallation();
        const std::string noDatabase = lrf::test::MakeInstallation("nodatabase", "2031", false, {});
        QTest::newRow("connected") << lrf::test::DriverFolder() << good << Outcome::Connected
                                   << std::string("2024");
        QTest::newRow("driver missing")
            << FolderWithDriver("missing", nullptr) << good << Outcome::DriverMissing << std::string();
        QTest::newRow("database missing")
            << lrf::test::DriverFolder() << noDatabase << Outcome::DatabaseNotFound << std::string("2031");
        QTest::newRow("no settings file")
            << lrf::test::DriverFolder() << std::string(LRF_TEST_TMP "/app-none/Korv.ini")
            << Outcome::DatabaseNotFound << std::string();
        QTest::newRow("damaged driver") << FolderWithDriver("damaged", "not a module") << good
                                        << Outcome::OpenFailed << std::string("2024");
    }
    void outcomes() {
        QFETCH(std::string, folder);
        QFETCH(std::string, settings);
        QFETCH(Outcome, outcome);
        QFETCH(std::string, fiscalYear);
        lrf::UseSettingsFile(settings);
        lrf::TCRSQLConnection conexao;
        lrf::ApplyDesignTimeSettings(conexao);
        const StartupResult result = lrf::StartUp(conexao, folder);
        QCOMPARE(result.outcome, outcome);
        QCOMPARE(result.fiscalYear, fiscalYear);
        QCOMPARE(conexao.Connected(), outcome == Outcome::Connected);
        QCOMPARE(result.openError.empty(), outcome != Outcome::OpenFailed);
        QCOMPARE(result.reason.empty(), outcome == Outcome::Connected || outcome == Outcome::OpenFailed);
        if (outcome == Outcome::Connected) {
            QCOMPARE(conexao.LibraryName, folder + "dbexpida.dll");
            QCOMPARE(conexao.VendorLib, std::string("gds32.DLL"));
            QCOMPARE(conexao.Param("DataBase"),
                     std::filesystem::path(settings).parent_path().string() + "/ARQ2024/KORV2024.FDB");
        }
    }

    // A database that another program holds (here isql, through the embedded engine): the message stays
    // the fixed one, and the engine's reason is in the box's details.
    void databaseInUseSaysWhy() {
        const std::string settings = lrf::test::MakeInstallation(
            "in-use", "2024", true, {"CREATE TABLE TABEMPRESA (EMPRESA INTEGER, NOME VARCHAR(60))"});
        const QString database = QString::fromStdString(
            (std::filesystem::path(settings).parent_path() / "ARQ2024" / "KORV2024.FDB").string());
        QProcess holder;
        holder.start(QStringLiteral("isql-fb"),
                     {QStringLiteral("-q"), QStringLiteral("-user"), QStringLiteral("SYSDBA"), database});
        QVERIFY(holder.waitForStarted());
        holder.write("SELECT 'held' FROM RDB$DATABASE;\n");
        QByteArray said;
        while (!said.contains("held")) {
            QVERIFY2(holder.waitForReadyRead(20000), (said + holder.readAllStandardError()).constData());
            said += holder.readAllStandardOutput();
        }

        lrf::UseSettingsFile(settings);
        lrf::test::BoxCloser closer;
        lrf::TFrmPrincipalLRF window(lrf::test::DriverFolder());
        holder.closeWriteChannel();
        QVERIFY(holder.waitForFinished(20000));
        QVERIFY(!window.StartedUp());
        QCOMPARE(closer.boxes.size(), std::size_t(1));
        QCOMPARE(closer.boxes[0].text, Lines(lrf::kDatabaseNotFoundMessage));
        QVERIFY2(closer.boxes[0].detailedText.contains(QStringLiteral("lock")),
                 qPrintable(closer.boxes[0].detailedText));
        QVERIFY2(closer.boxes[0].detailedText.contains(database), qPrintable(closer.boxes[0].detailedText));
    }

    // What the window shows for each outcome, and whether the program goes on.
    void windowStartup_data() {
        QTest::addColumn<std::string>("folder");
        QTest::addColumn<std::string>("settings");
        QTest::addColumn<bool>("startedUp");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("detail");
        const std::string good = lrf::test::EntitiesInstallation();
        const std::string missing = FolderWithDriver("missing", nullptr);
        const std::string noDatabase = lrf::test::MakeInstallation("nodatabase2", "2032", false, {});
        QTest::newRow("driver missing")
            << missing << good << false << QStringLiteral("Erro na Base de Dados")
            << Lines(lrf::kMissingDriverMessage)
            << QStringLiteral("DBEXPIDA.dll não encontrado em ") + QString::fromStdString(missing);
        QTest::newRow("database missing")
            << lrf::test::DriverFolder() << noDatabase << false << QStringLiteral("Erro na Base de Dados")
            << Lines(lrf::kDatabaseNotFoundMessage)
            << QStringLiteral("I/O error during \"open\" operation for file \"") +
                   QString::fromStdString(std::filesystem::path(noDatabase).parent_path().string()) +
                   QStringLiteral("/ARQ2032/KORV2032.FDB\"\n-Error while trying to open file\n-No such file "
                                  "or directory");
        QTest::newRow("open fails") << FolderWithDriver("damaged", "not a module") << good << true
                                    << QStringLiteral("LRF - TCE-MT") << QString() << QString();
    }
    void windowStartup() {
        QFETCH(std::string, folder);
        QFETCH(std::string, settings);
        QFETCH(bool, startedUp);
        QFETCH(QString, caption);
        QFETCH(QString, text);
        QFETCH(QString, detail);
        lrf::UseSettingsFile(settings);
        lrf::test::BoxCloser closer;
        lrf::TFrmPrincipalLRF window(folder);
        QCOMPARE(window.StartedUp(), startedUp);
        QCOMPARE(closer.boxes.size(), std::size_t(1));
        QCOMPARE(closer.boxes[0].caption, caption);
        QCOMPARE(closer.boxes[0].icon, QMessageBox::Critical);
        if (!text.isEmpty())
            QCOMPARE(closer.boxes[0].text, text);
        else
            QVERIFY(closer.boxes[0].text.contains(QString::fromUtf8(folder.c_str())));
        // The fixed message stays as the operator knows it; why is in the detailed text (the engine may add
        // the system's own line).
        QVERIFY2(closer.boxes[0].detailedText.startsWith(detail), qPrintable(closer.boxes[0].detailedText));
        QCOMPARE(closer.boxes[0].detailedText.isEmpty(), detail.isEmpty());
        QVERIFY(!window.isVisible());
        if (startedUp) {
            // The window still opens; with no connection the list cannot be filled and says so.
            window.show();
            QCOMPARE(closer.boxes.size(), std::size_t(2));
            QCOMPARE(window.Lista->count(), 0);
            QCOMPARE(window.windowTitle(), QStringLiteral("Exportar LRF Zelvar - TCE-MT"));
        }
    }

    void errorBoxText_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << QStringLiteral("Table unknown") << QStringLiteral("Table unknown.");
        QTest::newRow("digit") << QStringLiteral("código 12") << QStringLiteral("código 12.");
        QTest::newRow("quote") << QStringLiteral("'AB' is not a valid integer value")
                               << QStringLiteral("'AB' is not a valid integer value.");
        QTest::newRow("full stop") << QStringLiteral("Já tem ponto.") << QStringLiteral("Já tem ponto.");
        QTest::newRow("exclamation") << QStringLiteral("Erro!") << QStringLiteral("Erro!");
        QTest::newRow("line end") << QStringLiteral("Erro\n") << QStringLiteral("Erro\n");
        QTest::newRow("slash sorts after") << QStringLiteral("C:/") << QStringLiteral("C:/.");
        QTest::newRow("accented") << QStringLiteral("finalizaçã") << QStringLiteral("finalizaçã.");
        QTest::newRow("empty") << QString() << QString();
    }
    void errorBoxText() {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(lrf::ErrorBoxText(message), shown);
    }

    // An error's text is the program's own UTF-8, or bytes the database gave in its Windows-1252.
    void errorMessageText_data() {
        QTest::addColumn<QByteArray>("what");
        QTest::addColumn<QString>("text");
        QTest::newRow("ascii") << QByteArray("Table unknown") << QStringLiteral("Table unknown");
        QTest::newRow("utf-8") << QByteArray("'\xC3\xA9' is not a valid integer value")
                               << QStringLiteral("'é' is not a valid integer value");
        QTest::newRow("windows-1252")
            << QByteArray("Field 'EMPRESA': 'C\xE2mara' is not a valid integer value")
            << QStringLiteral("Field 'EMPRESA': 'Câmara' is not a valid integer value");
        QTest::newRow("windows-1252 euro") << QByteArray("valor \x80 1") << QStringLiteral("valor € 1");
        QTest::newRow("utf-8 cut short") << QByteArray("a\xC3") << QStringLiteral("aÃ");
        QTest::newRow("empty") << QByteArray() << QString();
    }
    void errorMessageText() {
        QFETCH(QByteArray, what);
        QFETCH(QString, text);
        QCOMPARE(lrf::ErrorMessageText(what.constData()), text);
    }

    // Only an exact "design" as the first argument opens the package window.
    void designSwitch_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("design");
        QTest::newRow("design") << QStringList{QStringLiteral("design")} << true;
        QTest::newRow("design and more")
            << QStringList{QStringLiteral("design"), QStringLiteral("x")} << true;
        QTest::newRow("Design") << QStringList{QStringLiteral("Design")} << false;
        QTest::newRow("DESIGN") << QStringList{QStringLiteral("DESIGN")} << false;
        QTest::newRow("second") << QStringList{QStringLiteral("x"), QStringLiteral("design")} << false;
        QTest::newRow("designer") << QStringList{QStringLiteral("designer")} << false;
        QTest::newRow("none") << QStringList{} << false;
    }
    void designSwitch() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, design);
        std::vector<std::string> texts{"lrf-tce"};
        for (const QString& argument : arguments)
            texts.push_back(argument.toStdString());
        std::vector<const char*> argv;
        for (const std::string& text : texts)
            argv.push_back(text.c_str());
        QCOMPARE(lrf::IsDesignSwitch(static_cast<int>(argv.size()), argv.data()), design);
    }

    void fileVersionText_data() {
        QTest::addColumn<uint>("ms");
        QTest::addColumn<uint>("ls");
        QTest::addColumn<QString>("text");
        QTest::newRow("8.21.0.3") << ((8u << 16) | 21u) << 3u << QStringLiteral("8.21.0.3");
        QTest::newRow("10.0.0.12") << (10u << 16) << 12u << QStringLiteral("10.0.0.12");
        QTest::newRow("65535.0.1.0") << (65535u << 16) << (1u << 16) << QStringLiteral("65535.0.1.0");
        QTest::newRow("all high") << 0xFFFFFFFFu << 0xFFFFFFFFu << QStringLiteral("65535.65535.65535.65535");
    }
    void fileVersionText() {
        QFETCH(uint, ms);
        QFETCH(uint, ls);
        QFETCH(QString, text);
        QCOMPARE(lrf::FileVersionText({ms, ls}), text);
    }

    // The version is read from the executable file itself.
    void fileVersionOfExecutables() {
        const auto program = lrf::ReadFileVersion(LRF_BIN_DIR "/lrf-tce");
        QVERIFY(program.has_value());
        QCOMPARE(lrf::FileVersionText(*program), QStringLiteral("8.21.0.3"));
        QCOMPARE(lrf::GetBuildInfo(), QStringLiteral("8.21.0.3"));
        QVERIFY(!lrf::ReadFileVersion(LRF_BIN_DIR "/dbexpida.dll").has_value());
        QVERIFY(!lrf::ReadFileVersion(LRF_TEST_TMP "/app-no-such-file").has_value());
        const std::string notElf = LRF_TEST_TMP "/app-not-elf";
        std::ofstream(notElf) << "\x7F"
                                 "ELF but nothing more";
        QVERIFY(!lrf::ReadFileVersion(notElf).has_value());
    }
};

LRF_APP_TEST(StartupTest)
#include "StartupTest.moc"
