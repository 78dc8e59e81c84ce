// A server installation: the database lies on a Firebird server reached as "host:path". Runs when
// LRF_TEST_SERVER_HOST names a server on which user EPMDGZG2 (password mavo) exists.
#include "database/ClientDataSet.h"
#include "database/Connection.h"
#include "database/DatabaseError.h"
#include "database/Probe.h"

#include "settings/Installation.h"
#include "settings/SystemPath.h"

#include "DatabaseFixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

// The server runs as its own user: the database lies where that user may read and lock it.
const fs::path kServerRoot = "/tmp/lrf-server-test";
const char* const kCamara = "C\xE2mara";

class ServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* host = std::getenv("LRF_TEST_SERVER_HOST");
        if (!host || !*host)
            GTEST_SKIP() << "LRF_TEST_SERVER_HOST is not set: no Firebird server to reach";
        host_ = host;
        static const bool ready = PrepareDatabase();
        ASSERT_TRUE(ready);
    }
    void TearDown() override { lrf::UseSettingsFile({}); }

    // Built through the embedded engine before the server touches it, then opened up to the server.
    static bool PrepareDatabase() {
        const fs::path folder = kServerRoot / "ARQ2024";
        const fs::path database = folder / "KORV2024.FDB";
        fs::create_directories(folder);
        for (const fs::path& f : {kServerRoot, folder})
            fs::permissions(f, fs::perms::all);
        fs::remove(database);
        {
            lrf::tools::DatabaseWriter writer = lrf::tools::DatabaseWriter::Create(database.string());
            writer.Execute(lrf::tools::CreateTableSql("TABEMPRESA"));
            writer.Execute(lrf::tools::GrantSelectSql("TABEMPRESA"));
            writer.ExecuteRows("INSERT INTO TABEMPRESA VALUES (?, ?)", {{"1", "PREFEITURA"}, {"2", kCamara}});
        }
        fs::permissions(database, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                      fs::perms::group_write | fs::perms::others_read |
                                      fs::perms::others_write);
        return true;
    }

    // Korv.ini of a server installation whose database server is `server`.
    void UseServerSettings(const std::string& server, const std::string& year = "2024") {
        const fs::path ini = fs::path(LRF_TEST_TMP) / "server_test" / "Korv.ini";
        lrf::test::WriteFile(ini.string(),
                             "[KORV]\r\nano=" + year + "\r\nServidor=" + server +
                                 "\r\nSO_Servidor=LINUX\r\nCaminho_Base_Dados=" + kServerRoot.string() +
                                 "/\r\nDiretorio_Servidor=" + kServerRoot.string() + "/\r\n");
        lrf::UseSettingsFile(ini);
    }

    std::string host_;
};

TEST_F(ServerTest, ProbeReachesTheDatabaseThroughTheServer) {
    UseServerSettings(host_);
    EXPECT_EQ(lrf::ResolveSystemPath("B") + "KORV2024.FDB",
              host_ + ":/tmp/lrf-server-test/ARQ2024/KORV2024.FDB");
    EXPECT_TRUE(lrf::ProbeDatabase("KORV2024.FDB", "D"));
}

TEST_F(ServerTest, ProbeAnswersFalseWhenTheServerCannotGiveTheDatabase) {
    struct Case {
        const char* name;
        std::string server;
        const char* year;
        const char* reasonHas; // in the server's or the client's text the probe hands on
    };
    const Case cases[] = {
        {"NoSuchDatabaseOnTheServer", host_, "2099", "KORV2099.FDB"},
        {"NoServerListening", host_ + "/3999", "2024", "Unable to complete network request"},
        {"UnknownHost", "no-such-host.invalid", "2024", "no-such-host.invalid"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseServerSettings(c.server, c.year);
        std::string reason;
        EXPECT_FALSE(lrf::ProbeDatabase("KORV" + std::string(c.year) + ".FDB", "D", &reason));
        EXPECT_NE(reason.find(c.reasonHas), std::string::npos) << reason;
    }
}

TEST_F(ServerTest, ConnectionReadsRowsThroughHostAndPath) {
    lrf::TCRSQLConnection connection =
        lrf::test::DesignConnection(host_ + ":" + (kServerRoot / "ARQ2024" / "KORV2024.FDB").string());
    connection.Open();
    lrf::TSQLClientDataSet dataSet(&connection);
    dataSet.CommandText = "SELECT EMPRESA, NOME FROM TABEMPRESA ORDER BY EMPRESA";
    dataSet.Open();
    ASSERT_EQ(dataSet.RecordCount(), 2u);
    dataSet.Next();
    EXPECT_EQ(dataSet.FieldByName("empresa").AsInteger(), 2);
    EXPECT_EQ(dataSet.FieldByName("nome").AsString(), kCamara);
}

TEST_F(ServerTest, WrongPasswordIsRefusedWithTheServersMessage) {
    lrf::TCRSQLConnection connection =
        lrf::test::DesignConnection(host_ + ":" + (kServerRoot / "ARQ2024" / "KORV2024.FDB").string());
    connection.SetParam("Password", "wrong");
    const std::string error = lrf::test::ErrorOf([&] { connection.Open(); });
    EXPECT_NE(error.find("password"), std::string::npos) << error;
    EXPECT_FALSE(connection.Connected());
}

// The probe always logs in as EPMDGZG2 with "mavo": to see it refused, the user's password on the server
// is changed for the duration of the test (a user may change its own) and put back afterwards.
TEST_F(ServerTest, ProbeAnswersFalseWhenTheServerRefusesThePassword) {
    const std::string database = host_ + ":" + (kServerRoot / "ARQ2024" / "KORV2024.FDB").string();
    struct PasswordChange {
        std::string database;
        PasswordChange(std::string db) : database(std::move(db)) {
            lrf::tools::DatabaseWriter::Attach(database, "EPMDGZG2", "mavo")
                .Execute("ALTER CURRENT USER SET PASSWORD 'outra'");
        }
        ~PasswordChange() {
            try {
                lrf::tools::DatabaseWriter::Attach(database, "EPMDGZG2", "outra")
                    .Execute("ALTER CURRENT USER SET PASSWORD 'mavo'");
            } catch (const std::exception& error) {
                ADD_FAILURE() << "password of EPMDGZG2 not restored: " << error.what();
            }
        }
    };
    UseServerSettings(host_);
    {
        PasswordChange change(database);
        std::string reason;
        EXPECT_FALSE(lrf::ProbeDatabase("KORV2024.FDB", "D", &reason));
        EXPECT_NE(reason.find("password"), std::string::npos) << reason;
    }
    EXPECT_TRUE(lrf::ProbeDatabase("KORV2024.FDB", "D"));
}

} // namespace
