// The connection's parameter list and the window's design-time settings: no driver, no database.
#include "database/Connection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using lrf::TCRSQLConnection;

struct ParamCase {
    const char* name;
    std::vector<std::string> before;
    const char* param;
    const char* value;
    std::vector<std::string> after;
};

TEST(ConnectionParams, SetParamReplacesTheNamedLineOrAppendsOne) {
    const ParamCase cases[] = {
        {"ReplacesWithoutRegardToCase",
         {"DriverName=X", "DataBase=", "RoleName="},
         "database",
         "/a.fdb",
         {"DriverName=X", "database=/a.fdb", "RoleName="}},
        {"AppendsWhenAbsent",
         {"DriverName=X"},
         "User_Name",
         "EPMDGZG2",
         {"DriverName=X", "User_Name=EPMDGZG2"}},
        {"PrefixIsNotAMatch", {"DataBaseX=1"}, "DataBase", "2", {"DataBaseX=1", "DataBase=2"}},
        {"FirstOfTwoIsReplaced", {"A=1", "a=2"}, "A", "3", {"A=3", "a=2"}},
        {"NameWithBlank",
         {"DevartInterBase TransIsolation=ReadCommited"},
         "DevartInterBase TransIsolation",
         "Snapshot",
         {"DevartInterBase TransIsolation=Snapshot"}},
        {"EmptyValueKeepsTheLine", {"Charset=WIN1252"}, "Charset", "", {"Charset="}},
    };
    for (const ParamCase& c : cases) {
        SCOPED_TRACE(c.name);
        TCRSQLConnection connection;
        connection.Params = c.before;
        connection.SetParam(c.param, c.value);
        EXPECT_EQ(connection.Params, c.after);
    }
}

TEST(ConnectionParams, ParamReadsTheValueAfterTheFirstEquals) {
    TCRSQLConnection connection;
    connection.Params = {"DataBase=host:/a=b.fdb", "Flag", "Password=mavo"};
    EXPECT_EQ(connection.Param("DATABASE"), "host:/a=b.fdb");
    EXPECT_EQ(connection.Param("password"), "mavo");
    EXPECT_EQ(connection.Param("Flag"), "");
    EXPECT_EQ(connection.Param("RoleName"), "");
}

TEST(ConnectionParams, DesignTimeSettingsOfTheWindowsConnection) {
    TCRSQLConnection connection;
    connection.Params = {"Stale=1"};
    lrf::ApplyDesignTimeSettings(connection);
    EXPECT_EQ(connection.GetDriverFunc, "getSQLDriverInterBase");
    EXPECT_EQ(connection.LibraryName, "dbexpida.dll");
    EXPECT_EQ(connection.VendorLib, "gds32.DLL");
    EXPECT_FALSE(connection.Connected());
    const std::vector<std::string> expected = {
        "DriverName=DevartInterBase",
        "DataBase=",
        "RoleName=",
        "User_Name=EPMDGZG2",
        "Password=mavo",
        "SQLDialect=3",
        "BlobSize=-1",
        "ErrorResourceFile=",
        "LocaleCode=0000",
        "DevartInterBase TransIsolation=ReadCommited",
        "WaitOnLocks=True",
        "Charset=",
        "CharLength=1",
        "EnableBCD=True",
        "OptimizedNumerics=True",
        "LongStrings=True",
        "UseQuoteChar=False",
        "FetchAll=False",
    };
    EXPECT_EQ(connection.Params, expected);
}

} // namespace
