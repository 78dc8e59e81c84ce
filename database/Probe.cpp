#include "database/Probe.h"

#include "database/Connection.h"
#include "settings/Installation.h"
#include "settings/SystemPath.h"

namespace lrf {

bool ProbeDatabase(const std::string& fileName, const std::string& pathCode) {
    // Outside the guard: a settings or resolver error reaches the caller.
    std::string vendorLib = ReadKorvSetting("DLL");
    // The database server's view of the folder: only the first upper-case D becomes B.
    std::string code = pathCode;
    if (const std::size_t at = code.find('D'); at != std::string::npos)
        code[at] = 'B';
    const std::string database = ResolveSystemPath(code) + fileName;
    if (vendorLib.empty())
        vendorLib = "gds32.DLL";

    TCRSQLConnection connection;
    try {
        connection.GetDriverFunc = "getSQLDriverInterBase";
        connection.SetParam("DriverName", "DevartInterBase");
        connection.SetParam("User_Name", "EPMDGZG2");
        connection.SetParam("Password", "mavo");
        connection.SetParam("SQLDialect", "3");
        connection.SetParam("BlobSize", "-1");
        connection.SetParam("LocaleCode", "0000");
        connection.SetParam("DevartInterBase TransIsolation", "ReadCommited");
        connection.SetParam("WaitOnLocks", "True");
        connection.SetParam("CharLength", "1");
        connection.SetParam("EnableBCD", "True");
        connection.SetParam("OptimizedNumerics", "True");
        connection.SetParam("LongStrings", "True");
        connection.SetParam("UseQuoteChar", "False");
        connection.SetParam("FetchAll", "False");
        connection.LibraryName = ExecutableFolder() + "dbexpida.dll";
        connection.VendorLib = vendorLib;
        connection.SetParam("DataBase", database);
        connection.Open();
        connection.Close();
        return true;
    } catch (...) {
        // The single start-up message covers every cause; the reason is not kept.
        connection.Close();
        return false;
    }
}

} // namespace lrf
