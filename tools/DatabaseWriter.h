#pragma once
// A writable Firebird attachment for building the sample installation and test fixtures.
// The program itself never writes to the accounting database; only tools and tests use this.
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lrf::tools {

// A parameter or result value as text (raw bytes, no transliteration); nullopt is SQL NULL.
using Value = std::optional<std::string>;
using Row = std::vector<Value>;

class DatabaseWriter {
public:
    // Creates a new database file (dialect 3, page size 16384, default character set WIN1252),
    // replacing nothing: an existing file is an error. Text is sent and stored as raw bytes.
    static DatabaseWriter Create(const std::string& path, const std::string& user = "SYSDBA",
                                 const std::string& password = "masterkey");
    static DatabaseWriter Attach(const std::string& path, const std::string& user = "SYSDBA",
                                 const std::string& password = "masterkey");
    ~DatabaseWriter();
    DatabaseWriter(DatabaseWriter&&) noexcept;
    DatabaseWriter& operator=(DatabaseWriter&&) noexcept;
    DatabaseWriter(const DatabaseWriter&) = delete;
    DatabaseWriter& operator=(const DatabaseWriter&) = delete;

    // Runs one statement (DDL, DML or EXECUTE BLOCK) in its own committed transaction.
    // Throws std::runtime_error with Firebird's message.
    void Execute(const std::string& sql);
    // Runs the statements in order in one committed transaction (rolled back on the first error).
    // Firebird applies DDL at commit: a table created here cannot be filled in the same call.
    void ExecuteAll(const std::vector<std::string>& statements);
    // Prepares the statement once and runs it for every row of parameters, in one committed
    // transaction. Values are text and the server converts them to the parameters' types
    // (dates as "YYYY-MM-DD", money as "123.45"). Each row must have one value per "?".
    void ExecuteRows(const std::string& sql, const std::vector<Row>& rows);
    // Runs a SELECT in a read-only transaction and returns every row, each column as text
    // (numbers as Firebird writes them, text as its stored bytes, dates as "YYYY-MM-DD").
    std::vector<Row> Query(const std::string& sql);

private:
    struct Impl;
    explicit DatabaseWriter(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

} // namespace lrf::tools
