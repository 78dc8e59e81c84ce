#include "database/Probe.h"

#include "database/Connection.h"
#include "settings/Installation.h"
#include "settings/SystemPath.h"

#include <exception>

namespace lrf {

bool ProbeDatabase(const std::string& fileName, const std::string& pathCode, std::string* reason) {
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
    } catch (const std::exception& error) {
        // The start-up message is one for every cause; the reason is only handed on.
        if (reason != nullptr)
            *reason = error.what();
        connection.Close();
        return false;
    } catch (...) {
        if (reason != nullptr)
            reason->clear();
        connection.Close();
        return false;
    }
}

} // namespace lrf
