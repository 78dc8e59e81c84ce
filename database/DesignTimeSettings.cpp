#include "database/Connection.h"

namespace lrf {

void ApplyDesignTimeSettings(TCRSQLConnection& connection) {
    connection.GetDriverFunc = "getSQLDriverInterBase";
    connection.LibraryName = "dbexpida.dll";
    connection.VendorLib = "gds32.DLL";
    connection.Close();
    connection.Params = {
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
}

} // namespace lrf
