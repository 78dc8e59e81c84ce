#pragma once
// Real Firebird databases and connections for the database tests, under the build's test folder.
#include "TestFiles.h"

#include "database/Connection.h"
#include "tools/DatabaseWriter.h"
#include "tools/KorvSchema.h"

#include <filesystem>
#include <string>
#include <vector>

namespace lrf::test {

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

// The window's design-time connection on `database`, with the driver of this build.
inline TCRSQLConnection DesignConnection(const std::string& database) {
    TCRSQLConnection connection;
    ApplyDesignTimeSettings(connection);
    connection.LibraryName = DriverPath();
    connection.SetParam("DataBase", database);
    return connection;
}

} // namespace lrf::test
