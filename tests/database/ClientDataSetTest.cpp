// The dataset over a real Firebird database: how each column type reads as currency, text and
// integer, the walk over the records, and the names of the columns.
#include "database/ClientDataSet.h"
#include "database/Connection.h"
#include "database/DatabaseError.h"

#include "DatabaseFixtures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>

namespace {

using lrf::TCRSQLConnection;
using lrf::TSQLClientDataSet;
using lrf::test::ErrorOf;

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

class ClientDataSetTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        database_ = new std::string(lrf::test::FreshDatabase(
            "clientdataset_test.fdb",
            {lrf::tools::CreateTableSql("TABEMPRESA"), "INSERT INTO TABEMPRESA VALUES (1, 'PREFEITURA')",
             "INSERT INTO TABEMPRESA VALUES (12, 'CAMARA')", lrf::tools::CreateTableSql("RECORC"),
             lrf::tools::GrantSelectSql("TABEMPRESA"), lrf::tools::GrantSelectSql("RECORC")}));
        connection_ = new TCRSQLConnection(lrf::test::DesignConnection(*database_));
        connection_->Open();
    }
    static void TearDownTestSuite() {
        delete connection_;
        delete database_;
    }

    // One record of one column V.
    static TSQLClientDataSet Single(const std::string& expression) {
        TSQLClientDataSet dataSet(connection_);
        dataSet.CommandText = "SELECT " + expression + " AS V FROM RDB$DATABASE";
        dataSet.Open();
        return dataSet;
    }

    static std::string* database_;
    static TCRSQLConnection* connection_;
};
std::string* ClientDataSetTest::database_ = nullptr;
TCRSQLConnection* ClientDataSetTest::connection_ = nullptr;

struct CurrencyCase {
    const char* expression;
    std::int64_t units;
};

TEST_F(ClientDataSetTest, CurrencyIsExactForEveryNumericType) {
    const CurrencyCase cases[] = {
        {"CAST(0.0001 AS NUMERIC(18,4))", 1},
        {"CAST(-0.5 AS NUMERIC(18,4))", -5000},
        {"CAST(922337203685477.5807 AS NUMERIC(18,4))", kMax},
        {"CAST(-922337203685477.5807 AS NUMERIC(18,4)) - CAST(0.0001 AS NUMERIC(18,4))", kMin},
        {"CAST(NULL AS NUMERIC(18,4))", 0},
        {"CAST(12.3 AS NUMERIC(18,2))", 123000},
        {"CAST(-0.01 AS NUMERIC(18,2))", -100},
        {"CAST(1.000050 AS NUMERIC(18,6))", 10001},
        {"CAST(-1.000050 AS NUMERIC(18,6))", -10001},
        {"CAST(1.000049 AS NUMERIC(18,6))", 10000},
        {"CAST(123.45 AS NUMERIC(9,2))", 1234500},
        {"CAST(12.34 AS NUMERIC(4,2))", 123400},
        {"CAST(-32768 AS SMALLINT)", -327680000},
        {"CAST(2147483647 AS INTEGER)", 21474836470000},
        {"CAST(922337203685477 AS BIGINT)", 9223372036854770000},
        {"CAST(0.1 AS DOUBLE PRECISION)", 1000},
        {"CAST(-1.25 AS DOUBLE PRECISION)", -12500},
        {"CAST(' 12,5 ' AS VARCHAR(10))", 125000},
        {"CAST('-0.0001' AS CHAR(10))", -1},
    };
    for (const CurrencyCase& c : cases) {
        SCOPED_TRACE(c.expression);
        TSQLClientDataSet dataSet = Single(c.expression);
        EXPECT_EQ(dataSet.FieldByName("V").AsCurrency().Units(), c.units);
    }
}

TEST_F(ClientDataSetTest, ValuesThatDoNotFitAreRefusedNeverWrong) {
    const char* const cases[] = {
        "CAST(922337203685478 AS BIGINT)",
        "CAST(-922337203685478 AS BIGINT)",
        "CAST(9999999999999999.99 AS NUMERIC(18,2))",
        "CAST(1e300 AS DOUBLE PRECISION)",
        "CAST('922337203685478' AS VARCHAR(20))",
        "CAST('abc' AS VARCHAR(10))",
        "CAST('2024-03-01' AS DATE)",
    };
    for (const char* expression : cases) {
        SCOPED_TRACE(expression);
        TSQLClientDataSet dataSet = Single(expression);
        const std::string error = ErrorOf([&] { dataSet.FieldByName("V").AsCurrency(); });
        EXPECT_NE(error.find("'V'"), std::string::npos) << error;
    }
}

TEST_F(ClientDataSetTest, SumOverNoRowsReadsZero) {
    TSQLClientDataSet dataSet(connection_);
    dataSet.CommandText = "SELECT SUM(TOTOR) AS TOTOR FROM RECORC WHERE EMPRESA = 1";
    dataSet.Open();
    ASSERT_EQ(dataSet.RecordCount(), 1u);
    EXPECT_TRUE(dataSet.FieldByName("totor").IsNull());
    EXPECT_EQ(dataSet.FieldByName("totor").AsCurrency().Units(), 0);
    EXPECT_EQ(dataSet.FieldByName("totor").AsString(), "");
}

struct TextCase {
    const char* expression;
    const char* text;
};

TEST_F(ClientDataSetTest, AsStringGivesStoredTextAndPlainNumbersAndDates) {
    const TextCase cases[] = {
        {"CAST(12.30 AS NUMERIC(18,2))", "12.3"},
        {"CAST(12 AS NUMERIC(18,2))", "12"},
        {"CAST(-0.05 AS NUMERIC(18,2))", "-0.05"},
        {"CAST(42 AS INTEGER)", "42"},
        {"CAST(-9223372036854775807 AS BIGINT) - 1", "-9223372036854775808"},
        {"CAST('2024-03-01' AS DATE)", "01/03/2024"},
        {"CAST('2024-03-01 13:45:10' AS TIMESTAMP)", "01/03/2024 13:45:10"},
        {"CAST('2024-03-01 00:00:00' AS TIMESTAMP)", "01/03/2024"},
        {"CAST('07:08:09' AS TIME)", "07:08:09"},
        {"CAST('ab' AS CHAR(6))", "ab    "},
        {"CAST('ab ' AS VARCHAR(6))", "ab "},
        {"CAST(NULL AS VARCHAR(5))", ""},
        {"TRUE", "1"},
        {"CAST('memo text' AS BLOB SUB_TYPE TEXT)", "memo text"},
        {"CAST('x' AS BLOB SUB_TYPE BINARY)", "(BLOB)"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.expression);
        EXPECT_EQ(Single(c.expression).FieldByName("V").AsString(), c.text);
    }
}

TEST_F(ClientDataSetTest, AsIntegerTakesOnlyWholeNumbers) {
    const std::pair<const char*, std::optional<std::int64_t>> cases[] = {
        {"CAST(-7 AS INTEGER)", -7},
        {"CAST(12.00 AS NUMERIC(18,2))", 12},
        {"CAST(' 42 ' AS CHAR(6))", 42},
        {"CAST(NULL AS INTEGER)", 0},
        {"CAST(3 AS DOUBLE PRECISION)", 3},
        {"CAST(12.5 AS NUMERIC(18,2))", std::nullopt},
        {"CAST(2.5 AS DOUBLE PRECISION)", std::nullopt},
        {"'x'", std::nullopt},
        {"CAST('2024-03-01' AS DATE)", std::nullopt},
    };
    for (const auto& [expression, value] : cases) {
        SCOPED_TRACE(expression);
        TSQLClientDataSet dataSet = Single(expression);
        if (value) {
            EXPECT_EQ(dataSet.FieldByName("V").AsInteger(), *value);
        } else {
            EXPECT_THROW(dataSet.FieldByName("V").AsInteger(), lrf::DatabaseError);
        }
    }
}

TEST_F(ClientDataSetTest, FieldNamesMatchWithoutRegardToCase) {
    const std::pair<const char*, const char*> cases[] = {
        {"SELECT 1 AS codre FROM RDB$DATABASE", "CODRE"},
        {"SELECT 1 AS CODRE FROM RDB$DATABASE", "codre"},
        {"SELECT 1 AS \"codre\" FROM RDB$DATABASE", "CoDrE"},
        {"SELECT EMPRESA, NOME FROM TABEMPRESA", "nome"},
        {"SELECT E.EMPRESA FROM TABEMPRESA E", "empresa"},
    };
    for (const auto& [sql, name] : cases) {
        SCOPED_TRACE(sql);
        TSQLClientDataSet dataSet(connection_);
        dataSet.CommandText = sql;
        dataSet.Open();
        EXPECT_FALSE(dataSet.FieldByName(name).AsString().empty());
    }
}

TEST_F(ClientDataSetTest, UnknownFieldNamesItself) {
    TSQLClientDataSet dataSet = Single("1");
    EXPECT_EQ(ErrorOf([&] { dataSet.FieldByName("CATEC"); }), "Field 'CATEC' not found");
    EXPECT_EQ(ErrorOf([&] { dataSet.FieldByName("V "); }), "Field 'V ' not found");
}

TEST_F(ClientDataSetTest, WalksEveryRecordInOrder) {
    TSQLClientDataSet dataSet(connection_);
    dataSet.CommandText = "SELECT EMPRESA, NOME FROM TABEMPRESA ORDER BY EMPRESA";
    dataSet.Open();
    ASSERT_EQ(dataSet.RecordCount(), 2u);
    EXPECT_EQ(dataSet.RecNo(), 1u);
    EXPECT_EQ(dataSet.FieldByName("EMPRESA").AsInteger(), 1);
    dataSet.Next();
    EXPECT_EQ(dataSet.RecNo(), 2u);
    EXPECT_EQ(dataSet.FieldByName("NOME").AsString(), "CAMARA");
    EXPECT_FALSE(dataSet.Eof());
    dataSet.Next();
    EXPECT_TRUE(dataSet.Eof());
    EXPECT_EQ(dataSet.RecNo(), 2u);
    dataSet.Next();
    EXPECT_TRUE(dataSet.Eof());
    dataSet.First();
    EXPECT_EQ(dataSet.FieldByName("EMPRESA").AsString(), "1");
}

TEST_F(ClientDataSetTest, EmptyResultIsAtItsEndAndReadsNull) {
    TSQLClientDataSet dataSet(connection_);
    dataSet.CommandText = "SELECT EMPRESA FROM TABEMPRESA WHERE EMPRESA IS NULL";
    dataSet.Open();
    EXPECT_EQ(dataSet.RecordCount(), 0u);
    EXPECT_EQ(dataSet.RecNo(), 0u);
    EXPECT_TRUE(dataSet.Eof());
    EXPECT_TRUE(dataSet.FieldByName("EMPRESA").IsNull());
    EXPECT_EQ(dataSet.FieldByName("EMPRESA").AsInteger(), 0);
}

TEST_F(ClientDataSetTest, OpenNeedsAnOpenConnection) {
    TSQLClientDataSet noConnection;
    noConnection.CommandText = "SELECT 1 FROM RDB$DATABASE";
    EXPECT_EQ(ErrorOf([&] { noConnection.Open(); }), "Connection not open");

    TCRSQLConnection closed = lrf::test::DesignConnection(*database_);
    TSQLClientDataSet onClosed(&closed);
    onClosed.CommandText = "SELECT 1 FROM RDB$DATABASE";
    EXPECT_EQ(ErrorOf([&] { onClosed.Open(); }), "Connection not open");
    EXPECT_FALSE(onClosed.Active());
}

TEST_F(ClientDataSetTest, FailedOpenLeavesTheDataSetClosed) {
    TSQLClientDataSet dataSet = Single("1");
    dataSet.CommandText = "SELECT NOPE FROM TABEMPRESA";
    EXPECT_THROW(dataSet.Open(), lrf::DatabaseError);
    EXPECT_FALSE(dataSet.Active());
    EXPECT_EQ(dataSet.RecordCount(), 0u);
    EXPECT_THROW(dataSet.FieldByName("V"), lrf::DatabaseError);
}

TEST_F(ClientDataSetTest, OpenAgainRunsTheNewCommand) {
    TSQLClientDataSet dataSet = Single("1");
    dataSet.CommandText = "SELECT 2 AS W FROM RDB$DATABASE";
    dataSet.Open();
    EXPECT_EQ(dataSet.FieldByName("W").AsInteger(), 2);
    EXPECT_THROW(dataSet.FieldByName("V"), lrf::DatabaseError);
}

TEST_F(ClientDataSetTest, FieldOfAClosedDataSetRefusesToRead) {
    TSQLClientDataSet dataSet = Single("1");
    const lrf::TField field = dataSet.FieldByName("V");
    dataSet.Close();
    EXPECT_THROW(field.AsCurrency(), lrf::DatabaseError);
}

} // namespace
