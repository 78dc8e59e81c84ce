#include "tools/DatabaseWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace fs = std::filesystem;
using lrf::tools::DatabaseWriter;
using lrf::tools::Row;
using lrf::tools::Value;

namespace {

std::string FreshPath(const std::string& name) {
    const fs::path path = fs::path(LRF_TEST_TMP) / ("dbwriter_" + name + ".fdb");
    fs::remove(path);
    return path.string();
}

// Runs the call and returns the message it throws, or "" when it does not throw.
template <class F> std::string ErrorOf(F&& call) {
    try {
        call();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return {};
}

struct RoundTrip {
    const char* name;
    const char* columnType;
    Value input;
    Value expected;
};

const RoundTrip kRoundTrips[] = {
    {"Integer", "INTEGER", "42", "42"},
    {"NegativeInteger", "INTEGER", "-7", "-7"},
    {"MoneyPadsDecimals", "NUMERIC(15,2)", "1234.5", "1234.50"},
    {"MoneyNegativeCent", "NUMERIC(15,2)", "-0.01", "-0.01"},
    {"MoneyLargest18", "NUMERIC(18,2)", "9999999999999999.99", "9999999999999999.99"},
    {"Date", "DATE", "2024-02-29", "2024-02-29"},
    {"Win1252BytesPassThrough", "VARCHAR(60) CHARACTER SET WIN1252", "S\xE3o Jos\xE9 \xC7",
     "S\xE3o Jos\xE9 \xC7"},
    {"CharKeepsPadding", "CHAR(3)", "10", "10 "},
    {"NullStaysNull", "NUMERIC(15,2)", std::nullopt, std::nullopt},
    {"NullText", "VARCHAR(20)", std::nullopt, std::nullopt},
    {"EmptyTextIsNotNull", "VARCHAR(20)", "", ""},
};

class DatabaseWriterRoundTrip : public testing::TestWithParam<RoundTrip> {};

TEST_P(DatabaseWriterRoundTrip, ValueComesBackAsStored) {
    const RoundTrip& c = GetParam();
    DatabaseWriter db = DatabaseWriter::Create(FreshPath(std::string("rt_") + c.name));
    db.Execute(std::string("CREATE TABLE T (V ") + c.columnType + ")");
    db.ExecuteRows("INSERT INTO T (V) VALUES (?)", {{c.input}});
    const auto rows = db.Query("SELECT V FROM T");
    ASSERT_EQ(rows.size(), 1u);
    ASSERT_EQ(rows[0].size(), 1u);
    EXPECT_EQ(rows[0][0], c.expected);
}

INSTANTIATE_TEST_SUITE_P(Types, DatabaseWriterRoundTrip, testing::ValuesIn(kRoundTrips),
                         [](const auto& test) { return std::string(test.param.name); });

class DatabaseWriterTest : public testing::Test {
protected:
    void SetUp() override {
        path_ = FreshPath(testing::UnitTest::GetInstance()->current_test_info()->name());
        DatabaseWriter db = DatabaseWriter::Create(path_);
        db.Execute("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(10))");
        db.Execute("INSERT INTO T VALUES (1, 'um')");
    }
    std::vector<Row> Rows() {
        return DatabaseWriter::Attach(path_).Query("SELECT ID, NOME FROM T ORDER BY ID");
    }
    std::string path_;
};

TEST_F(DatabaseWriterTest, CreatedDatabaseIsDialect3Win1252With16kPages) {
    const auto rows = DatabaseWriter::Attach(path_).Query(
        "SELECT TRIM(D.RDB$CHARACTER_SET_NAME), M.MON$PAGE_SIZE, M.MON$SQL_DIALECT "
        "FROM RDB$DATABASE D CROSS JOIN MON$DATABASE M");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (Row{"WIN1252", "16384", "3"}));
}

TEST_F(DatabaseWriterTest, CreateRefusesAnExistingFileAndKeepsIt) {
    const std::string message = ErrorOf([&] { DatabaseWriter::Create(path_); });
    EXPECT_NE(message, "");
    ASSERT_EQ(Rows().size(), 1u);
}

TEST_F(DatabaseWriterTest, AttachToMissingFileFails) {
    EXPECT_NE(ErrorOf([&] { DatabaseWriter::Attach(path_ + ".missing"); }), "");
}

TEST_F(DatabaseWriterTest, ErrorCarriesFirebirdText) {
    DatabaseWriter db = DatabaseWriter::Attach(path_);
    const std::string message = ErrorOf([&] { db.Execute("INSERT INTO NOWHERE VALUES (1)"); });
    EXPECT_NE(message.find("Table unknown"), std::string::npos) << message;
    EXPECT_NE(message.find("NOWHERE"), std::string::npos) << message;
    // The attachment stays usable after an error.
    db.Execute("INSERT INTO T VALUES (2, 'dois')");
    EXPECT_EQ(Rows().size(), 2u);
}

TEST_F(DatabaseWriterTest, ExecuteAllRollsBackOnFirstError) {
    DatabaseWriter db = DatabaseWriter::Attach(path_);
    EXPECT_NE(
        ErrorOf([&] {
            db.ExecuteAll({"INSERT INTO T VALUES (2, 'dois')", "INSERT INTO T VALUES (1, 'duplicate')"});
        }),
        "");
    EXPECT_EQ(Rows().size(), 1u);
    db.ExecuteAll({"INSERT INTO T VALUES (2, 'dois')", "INSERT INTO T VALUES (3, 'tres')"});
    EXPECT_EQ(Rows().size(), 3u);
}

TEST_F(DatabaseWriterTest, ExecuteRowsIsAllOrNothing) {
    DatabaseWriter db = DatabaseWriter::Attach(path_);
    // Row 3 repeats key 1: rows 2 and 4 must not stay behind.
    EXPECT_NE(ErrorOf([&] {
                  db.ExecuteRows("INSERT INTO T VALUES (?, ?)", {{"2", "a"}, {"1", "b"}, {"4", "c"}});
              }),
              "");
    EXPECT_EQ(Rows().size(), 1u);
}

TEST_F(DatabaseWriterTest, ExecuteRowsRejectsBadRows) {
    DatabaseWriter db = DatabaseWriter::Attach(path_);
    const struct {
        const char* name;
        Row row;
    } cases[] = {
        {"too few values", {"2"}},
        {"too many values", {"2", "a", "b"}},
        {"text too long for the column", {"2", "longer than ten"}},
        {"not a number", {"dois", "a"}},
    };
    for (const auto& c : cases)
        EXPECT_NE(ErrorOf([&] { db.ExecuteRows("INSERT INTO T VALUES (?, ?)", {c.row}); }), "") << c.name;
    EXPECT_EQ(Rows().size(), 1u);
}

TEST_F(DatabaseWriterTest, QueryCannotWrite) {
    DatabaseWriter db = DatabaseWriter::Attach(path_);
    const std::string message = ErrorOf([&] {
        db.Query(
            "EXECUTE BLOCK RETURNS (X INTEGER) AS BEGIN INSERT INTO T VALUES (9, 'x'); X = 1; SUSPEND; END");
    });
    EXPECT_NE(message.find("read-only"), std::string::npos) << message;
    EXPECT_EQ(Rows().size(), 1u);
}

TEST_F(DatabaseWriterTest, MovedWriterKeepsTheAttachment) {
    DatabaseWriter first = DatabaseWriter::Attach(path_);
    DatabaseWriter second = std::move(first);
    second.Execute("INSERT INTO T VALUES (2, 'dois')");
    first = std::move(second);
    first.Execute("INSERT INTO T VALUES (3, 'tres')");
    EXPECT_EQ(Rows().size(), 3u);
}

} // namespace
