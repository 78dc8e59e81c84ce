#pragma once
// A writable Firebird attachment for building the sample installation and test fixtures.
// The program itself never writes to the accounting database; only tools and tests use this.
#include <memory>
#include <string>
#include <vector>

namespace lrf::tools {

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
    void ExecuteAll(const std::vector<std::string>& statements);

private:
    struct Impl;
    explicit DatabaseWriter(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

} // namespace lrf::tools
