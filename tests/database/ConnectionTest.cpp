// The connection over the driver module and a real Firebird database: opening and its failures,
// read-only transactions, the snapshot and text bytes.
#include "database/Connection.h"
#include "database/ClientDataSet.h"
#include "database/DatabaseError.h"

#include "DatabaseFixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

using lrf::TCRSQLConnection;
using lrf::TSQLClientDataSet;
using lrf::test::ErrorOf;
using lrf::tools::DatabaseWriter;

const char* const kCamara = "C\xE2mara";                         // Câmara in Windows-1252
const char* const kSaoJoao = "S\xE3o Jo\xE3o \x96 n\xBA 1 \x80"; // São João – nº 1 €

class ConnectionTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        database_ = new std::string(lrf::test::FreshDatabase(
            "connection_test.fdb", {"CREATE TABLE TEXTS (ID INTEGER, V VARCHAR(30) CHARACTER SET WIN1252, C "
                                    "CHAR(10) CHARACTER SET WIN1252)",
                                    "CREATE TABLE ITEMS (ID INTEGER, VALOR NUMERIC(15,2))",
                                    "CREATE TABLE SNAP (ID INTEGER)", "GRANT SELECT ON TEXTS TO PUBLIC",
                                    "GRANT SELECT ON ITEMS TO PUBLIC", "GRANT SELECT ON SNAP TO PUBLIC"}));
        DatabaseWriter writer = DatabaseWriter::Attach(*database_);
        writer.ExecuteRows("INSERT INTO TEXTS VALUES (?, ?, ?)",
                           {{"1", kCamara, kCamara}, {"2", kSaoJoao, "x"}});
        writer.ExecuteAll({"INSERT INTO ITEMS VALUES (1, 10.50)", "INSERT INTO ITEMS VALUES (2, -0.25)"});
    }
    static void TearDownTestSuite() { delete database_; }

    static TCRSQLConnection Open() {
        TCRSQLConnection connection = lrf::test::DesignConnection(*database_);
        connection.Open();
        return connection;
    }

    static std::string* database_;
};
std::string* ConnectionTest::database_ = nullptr;

TEST_F(ConnectionTest, OpensAndReadsRows) {
    TCRSQLConnection connection = Open();
    EXPECT_TRUE(connection.Connected());
    const lrf::driver::ResultSet result = connection.Query("SELECT ID, VALOR FROM ITEMS ORDER BY ID");
    ASSERT_EQ(result.RowCount(), 2u);
    ASSERT_EQ(result.columns.size(), 2u);
    EXPECT_EQ(result.columns[1].name, "VALOR");
    EXPECT_EQ(result.At(0, 1).fixed, 1050);
    EXPECT_EQ(result.At(0, 1).scale, -2);
    EXPECT_EQ(result.At(1, 1).fixed, -25);
    connection.Close();
    EXPECT_FALSE(connection.Connected());
    EXPECT_EQ(ErrorOf([&] { connection.Query("SELECT 1 FROM RDB$DATABASE"); }), "Connection not open");
}

TEST_F(ConnectionTest, OpenTwiceKeepsTheSession) {
    TCRSQLConnection connection = Open();
    connection.Open();
    EXPECT_EQ(connection.Query("SELECT COUNT(*) FROM ITEMS").At(0, 0).fixed, 2);
}

TEST_F(ConnectionTest, DriverFileIsFoundWithoutRegardToCase) {
    TCRSQLConnection connection = lrf::test::DesignConnection(*database_);
    connection.LibraryName = std::string(LRF_BIN_DIR) + "/DBEXPIDA.DLL";
    connection.Open();
    EXPECT_TRUE(connection.Connected());
}

TEST_F(ConnectionTest, Windows1252BytesComeBackAsStored) {
    TCRSQLConnection connection = Open();
    TSQLClientDataSet dataSet(&connection);
    dataSet.CommandText = "SELECT V, C FROM TEXTS ORDER BY ID";
    dataSet.Open();
    EXPECT_EQ(dataSet.FieldByName("V").AsString(), kCamara);
    EXPECT_EQ(dataSet.FieldByName("C").AsString(), std::string(kCamara) + "    ");
    dataSet.Next();
    EXPECT_EQ(dataSet.FieldByName("v").AsString(), kSaoJoao);
}

TEST_F(ConnectionTest, QueryErrorCarriesFirebirdsMessage) {
    TCRSQLConnection connection = Open();
    const std::string error = ErrorOf([&] { connection.Query("SELECT * FROM NO_SUCH_TABLE"); });
    EXPECT_NE(error.find("Table unknown"), std::string::npos) << error;
    EXPECT_NE(error.find("NO_SUCH_TABLE"), std::string::npos) << error;
    // The session is still usable after a failed statement.
    EXPECT_EQ(connection.Query("SELECT COUNT(*) FROM ITEMS").At(0, 0).fixed, 2);
}

struct OpenFailure {
    const char* name;
    std::function<void(TCRSQLConnection&)> change;
    std::string named; // the message must hold this
};

TEST_F(ConnectionTest, OpenFailuresSayWhatIsMissing) {
    const std::string missingDatabase = lrf::test::TmpPath("connection_test_missing.fdb");
    const std::string notADatabase = lrf::test::TmpPath("connection_test_not_a_database.fdb");
    lrf::test::WriteFile(notADatabase, "this is no database");
    const std::string noDriver = lrf::test::TmpPath("connection_test_no_driver/dbexpida.dll");
    std::filesystem::create_directories(std::filesystem::path(noDriver).parent_path());
    const std::string fakeDriver = lrf::test::TmpPath("connection_test_fake_driver/dbexpida.dll");
    lrf::test::WriteFile(fakeDriver, "not a library");

    const OpenFailure cases[] = {
        {"MissingDatabase", [&](TCRSQLConnection& c) { c.SetParam("DataBase", missingDatabase); },
         missingDatabase},
        {"NotADatabase", [&](TCRSQLConnection& c) { c.SetParam("DataBase", notADatabase); }, notADatabase},
        {"EmptyDatabaseName", [](TCRSQLConnection& c) { c.SetParam("DataBase", ""); }, "No database name"},
        {"MissingClientLibrary", [](TCRSQLConnection& c) { c.VendorLib = "/nonexistent/libx.so"; },
         "/nonexistent/libx.so"},
        {"NotAFirebirdClient", [](TCRSQLConnection& c) { c.VendorLib = "libm.so.6"; },
         "fb_get_master_interface"},
        {"MissingDriverModule", [&](TCRSQLConnection& c) { c.LibraryName = noDriver; }, noDriver},
        {"DriverNotALibrary", [&](TCRSQLConnection& c) { c.LibraryName = fakeDriver; }, fakeDriver},
        {"DriverWithoutTheEntry", [](TCRSQLConnection& c) { c.GetDriverFunc = "getSQLDriverORACLE"; },
         "getSQLDriverORACLE"},
        {"DialectNotANumber", [](TCRSQLConnection& c) { c.SetParam("SQLDialect", "three"); }, "three"},
        {"DialectOutOfRange", [](TCRSQLConnection& c) { c.SetParam("SQLDialect", "4"); }, "dialect 4"},
    };
    for (const OpenFailure& c : cases) {
        SCOPED_TRACE(c.name);
        TCRSQLConnection connection = lrf::test::DesignConnection(*database_);
        c.change(connection);
        std::string error;
        try {
            connection.Open();
        } catch (const lrf::DatabaseError& e) {
            error = e.what();
        }
        EXPECT_NE(error.find(c.named), std::string::npos) << error;
        EXPECT_FALSE(connection.Connected());
    }
}

TEST_F(ConnectionTest, ClientLibraryNamedByAnyCaseOfTheDefaultOrByItsFile) {
    for (const char* vendorLib : {"gds32.DLL", "GDS32.dll", "", "libfbclient.so.2"}) {
        SCOPED_TRACE(vendorLib);
        TCRSQLConnection connection = lrf::test::DesignConnection(*database_);
        connection.VendorLib = vendorLib;
        connection.Open();
        EXPECT_EQ(connection.Query("SELECT COUNT(*) FROM ITEMS").At(0, 0).fixed, 2);
    }
}

// Only a statement of the SELECT type runs; every other one is refused after its preparation and before
// it runs, with what it is. As the database's owner, so that nothing but the driver stands in the way.
TEST_F(ConnectionTest, OnlySelectStatementsRun) {
    struct Refusal {
        const char* sql;
        const char* kind;
    };
    const Refusal cases[] = {
        {"UPDATE ITEMS SET VALOR = VALOR + 1", "an UPDATE"},
        {"UPDATE ITEMS SET VALOR = 0 WHERE ID = 1 RETURNING ID", "a change with RETURNING"},
        {"INSERT INTO ITEMS VALUES (3, 1)", "an INSERT"},
        {"DELETE FROM ITEMS", "a DELETE"},
        {"EXECUTE BLOCK AS BEGIN UPDATE ITEMS SET VALOR = 0; END", "an EXECUTE BLOCK without result rows"},
        {"CREATE TABLE X (A INTEGER)", "a change of the database's definition"},
        {"SELECT ID FROM ITEMS FOR UPDATE", "a SELECT ... FOR UPDATE"},
        {"SET TRANSACTION READ WRITE", "a SET TRANSACTION"},
        {"COMMIT", "a COMMIT"},
        {"ROLLBACK", "a ROLLBACK"},
        {"SAVEPOINT S1", "a SAVEPOINT"},
    };
    TCRSQLConnection connection = lrf::test::DesignConnection(*database_);
    connection.SetParam("User_Name", "SYSDBA");
    connection.Open();
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.sql);
        const std::string error = ErrorOf([&] { connection.Query(c.sql); });
        EXPECT_EQ(
            error.rfind("Statement refused before it ran: this program runs only SELECT statements, and "
                        "this one is ",
                        0),
            0u)
            << error;
        EXPECT_NE(error.find(c.kind), std::string::npos) << error;
    }
    {
        TCRSQLConnection::Snapshot snapshot(connection);
        EXPECT_NE(ErrorOf([&] { connection.Query("DELETE FROM ITEMS"); }).find("a DELETE"),
                  std::string::npos);
    }
    // Through the data set, as the export runs its statements.
    TSQLClientDataSet dataSet(&connection);
    dataSet.CommandText = "UPDATE ITEMS SET VALOR = 0";
    EXPECT_NE(ErrorOf([&] { dataSet.Open(); }).find("an UPDATE"), std::string::npos);
    EXPECT_FALSE(dataSet.Active());

    DatabaseWriter writer = DatabaseWriter::Attach(*database_);
    const std::vector<lrf::tools::Row> rows = writer.Query("SELECT COUNT(*), SUM(VALOR) FROM ITEMS");
    EXPECT_EQ(rows.at(0).at(0), "2");
    EXPECT_EQ(rows.at(0).at(1), "10.25");
    EXPECT_EQ(connection.Query("SELECT COUNT(*) FROM ITEMS").At(0, 0).fixed, 2);
}

// A block that returns rows and a SELECT ... WITH LOCK are SELECT statements to Firebird: they run, and
// their writes and locks meet the read-only transaction.
TEST_F(ConnectionTest, SelectsThatWriteMeetTheReadOnlyTransaction) {
    TCRSQLConnection connection = lrf::test::DesignConnection(*database_);
    connection.SetParam("User_Name", "SYSDBA");
    connection.Open();
    EXPECT_EQ(
        connection.Query("EXECUTE BLOCK RETURNS (N INTEGER) AS BEGIN N = 7; SUSPEND; END").At(0, 0).fixed, 7);
    const std::string error = ErrorOf([&] {
        connection.Query("EXECUTE BLOCK RETURNS (N INTEGER) AS BEGIN UPDATE ITEMS SET VALOR = 0; N = 1; "
                         "SUSPEND; END");
    });
    EXPECT_NE(error.find("read-only transaction"), std::string::npos) << error;
    const std::string lockError = ErrorOf([&] { connection.Query("SELECT ID FROM ITEMS WITH LOCK"); });
    EXPECT_NE(lockError.find("read-only transaction"), std::string::npos) << lockError;
    DatabaseWriter writer = DatabaseWriter::Attach(*database_);
    EXPECT_EQ(writer.Query("SELECT SUM(VALOR) FROM ITEMS").at(0).at(0), "10.25");
}

TEST_F(ConnectionTest, SnapshotHidesRowsCommittedAfterItBegan) {
    TCRSQLConnection connection = Open();
    const auto count = [&] { return connection.Query("SELECT COUNT(*) FROM SNAP").At(0, 0).fixed; };
    const std::int64_t before = count();
    DatabaseWriter writer = DatabaseWriter::Attach(*database_);
    {
        TCRSQLConnection::Snapshot snapshot(connection);
        EXPECT_EQ(count(), before);
        writer.Execute("INSERT INTO SNAP VALUES (1)");
        EXPECT_EQ(count(), before);
        {
            TCRSQLConnection::Snapshot inner(connection);
            EXPECT_EQ(count(), before);
        }
        EXPECT_EQ(count(), before); // the outer guard still holds the snapshot
    }
    EXPECT_EQ(count(), before + 1);
    writer.Execute("INSERT INTO SNAP VALUES (2)");
    EXPECT_EQ(count(), before + 2); // read committed outside a snapshot
}

TEST_F(ConnectionTest, SnapshotNeedsAnOpenConnectionAndSurvivesItsClose) {
    TCRSQLConnection closed = lrf::test::DesignConnection(*database_);
    EXPECT_EQ(ErrorOf([&] { TCRSQLConnection::Snapshot snapshot(closed); }), "Connection not open");

    TCRSQLConnection connection = Open();
    {
        TCRSQLConnection::Snapshot snapshot(connection);
        connection.Close();
    }
    EXPECT_FALSE(connection.Connected());
}

TEST_F(ConnectionTest, MovedConnectionKeepsItsSession) {
    TCRSQLConnection first = Open();
    TCRSQLConnection second = std::move(first);
    EXPECT_EQ(second.Query("SELECT COUNT(*) FROM ITEMS").At(0, 0).fixed, 2);
    TCRSQLConnection third = Open();
    third = std::move(second);
    EXPECT_EQ(third.Query("SELECT COUNT(*) FROM ITEMS").At(0, 0).fixed, 2);
}

} // namespace
