#pragma once
// The dbExpress-style connection: settings and a parameter list, opened through the driver module.
#include "database/DriverApi.h"
#include "database/ModuleList.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lrf {

class DynamicLibrary;

class TCRSQLConnection {
public:
    TCRSQLConnection();
    ~TCRSQLConnection();
    TCRSQLConnection(TCRSQLConnection&&) noexcept;
    TCRSQLConnection& operator=(TCRSQLConnection&&) noexcept;
    TCRSQLConnection(const TCRSQLConnection&) = delete;
    TCRSQLConnection& operator=(const TCRSQLConnection&) = delete;

    std::string GetDriverFunc;
    std::string LibraryName; // path of the driver module
    std::string VendorLib;   // client library the driver loads

    // One "Name=Value" line per parameter, in order.
    std::vector<std::string> Params;
    // Replaces the value of the first line named `name` (without regard to case), or appends a line.
    void SetParam(std::string_view name, std::string_view value);
    // The value of the line named `name`, or "" when absent.
    std::string Param(std::string_view name) const;

    // Loads the driver module, then attaches. Throws lrf::DatabaseError with a clear message.
    void Open();
    void Close() noexcept;
    bool Connected() const { return session_ != nullptr; }

    // Runs one SELECT on the open connection and fetches the whole result.
    driver::ResultSet Query(const std::string& sql);
    // From another thread, while a query of this connection runs: that query fails at once. Does
    // nothing when the connection is closed.
    void Cancel() noexcept;

    // While alive, every query of this connection reads one read-only snapshot. Guards may nest;
    // the outermost one ends the snapshot. The connection must outlive the guard (closing it is fine).
    class Snapshot {
    public:
        explicit Snapshot(TCRSQLConnection& connection);
        ~Snapshot();
        Snapshot(const Snapshot&) = delete;
        Snapshot& operator=(const Snapshot&) = delete;

    private:
        TCRSQLConnection* connection_;
        driver::Session* session_;
    };

private:
    std::unique_ptr<DynamicLibrary> module_;
    std::unique_ptr<driver::Session> session_;
    ModuleRegistration listed_; // in the program's module list while the module is loaded
};

// The window's connection as it stands at design time: "Devart InterBase", its driver settings and
// its parameter list in order.
void ApplyDesignTimeSettings(TCRSQLConnection& connection);

} // namespace lrf
