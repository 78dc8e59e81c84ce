#pragma once
// Real Firebird databases and connections for the database tests, under the build's test folder.
#include "database/Connection.h"
#include "tools/DatabaseWriter.h"
#include "tools/KorvSchema.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace lrf::test {

inline std::string TmpPath(const std::string& name) {
    return (std::filesystem::path(LRF_TEST_TMP) / name).string();
}

inline std::string DriverPath() {
    return std::string(LRF_BIN_DIR) + "/dbexpida.dll";
}

// A new database at LRF_TEST_TMP/<name> (an earlier run's file is replaced), each statement committed
// on its own so that tables exist before rows go in.
inline std::string FreshDatabase(const std::string& name, const std::vector<std::string>& statements) {
    const std::string path = TmpPath(name);
    std::filesystem::remove(path);
    tools::DatabaseWriter writer = tools::DatabaseWriter::Create(path);
    for (const std::string& statement : statements)
        writer.Execute(statement);
    return path;
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// The window's design-time connection on `database`, with the driver of this build.
inline TCRSQLConnection DesignConnection(const std::string& database) {
    TCRSQLConnection connection;
    ApplyDesignTimeSettings(connection);
    connection.LibraryName = DriverPath();
    connection.SetParam("DataBase", database);
    return connection;
}

// The message the call throws, or "" when it does not throw.
template <typename Call> std::string ErrorOf(Call&& call) {
    try {
        call();
    } catch (const std::exception& error) {
        return error.what();
    }
    return {};
}

} // namespace lrf::test
