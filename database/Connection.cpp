#include "database/Connection.h"

#include "database/DatabaseError.h"
#include "database/DynamicLibrary.h"
#include "settings/AsciiText.h"
#include "settings/Installation.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <new>
#include <utility>

namespace lrf {

namespace {

constexpr const char* kDefaultDriverEntry = "getSQLDriverInterBase";

std::string_view NameOf(std::string_view line) {
    return line.substr(0, line.find('='));
}

// An exception thrown inside the driver module is rethrown as one of ours: the module's copy of its
// type goes away when the module is unloaded, possibly before the caller catches it.
template <typename Call> auto CallModule(Call&& call) -> decltype(call()) {
    try {
        return call();
    } catch (const std::bad_alloc&) {
        throw std::bad_alloc();
    } catch (const std::exception& e) {
        throw DatabaseError(e.what());
    } catch (...) {
        throw DatabaseError("The database driver failed without a message");
    }
}

// The driver file, found without regard to case as Windows would; a bare name is looked for beside
// the executable.
std::string LocateModule(const std::string& libraryName) {
    if (libraryName.empty())
        throw DatabaseError("No database driver is named (LibraryName is empty)");
    const std::filesystem::path path = PathFromUtf8(libraryName);
    const std::filesystem::path folder =
        path.has_parent_path() ? path.parent_path() : PathFromUtf8(ExecutableFolder());
    const std::optional<std::filesystem::path> found = FindFileNoCase(folder, Utf8FromPath(path.filename()));
    if (!found)
        throw DatabaseError("The database driver \"" + libraryName + "\" was not found");
    return Utf8FromPath(*found);
}

int DialectOf(const std::string& text) {
    if (text.empty())
        return 3;
    const auto dialect = ParseWholeNumber<int>(text);
    if (!dialect)
        throw DatabaseError("SQLDialect \"" + text + "\" is not a whole number");
    return *dialect;
}

} // namespace

TCRSQLConnection::TCRSQLConnection() = default;

TCRSQLConnection::~TCRSQLConnection() {
    Close();
}

TCRSQLConnection::TCRSQLConnection(TCRSQLConnection&&) noexcept = default;

TCRSQLConnection& TCRSQLConnection::operator=(TCRSQLConnection&& other) noexcept {
    if (this != &other) {
        Close(); // our session must go before our module
        GetDriverFunc = std::move(other.GetDriverFunc);
        LibraryName = std::move(other.LibraryName);
        VendorLib = std::move(other.VendorLib);
        Params = std::move(other.Params);
        module_ = std::move(other.module_);
        session_ = std::move(other.session_);
        listed_ = std::move(other.listed_);
    }
    return *this;
}

void TCRSQLConnection::SetParam(std::string_view name, std::string_view value) {
    std::string line = std::string(name) + "=" + std::string(value);
    const auto existing = std::find_if(Params.begin(), Params.end(),
                                       [&](const std::string& p) { return EqualNoCase(NameOf(p), name); });
    if (existing != Params.end())
        *existing = std::move(line);
    else
        Params.push_back(std::move(line));
}

std::string TCRSQLConnection::Param(std::string_view name) const {
    for (const std::string& line : Params) {
        if (EqualNoCase(NameOf(line), name)) {
            const std::size_t equals = line.find('=');
            return equals == std::string::npos ? std::string() : line.substr(equals + 1);
        }
    }
    return {};
}

void TCRSQLConnection::Open() {
    if (Connected())
        return;
    const std::string modulePath = LocateModule(LibraryName);
    std::string reason;
    auto module = std::make_unique<DynamicLibrary>(DynamicLibrary::Load(modulePath, reason));
    if (!module->Loaded())
        throw DatabaseError("Cannot load the database driver \"" + modulePath + "\": " + reason);

    const std::string entryName = GetDriverFunc.empty() ? kDefaultDriverEntry : GetDriverFunc;
    using Entry = driver::Driver* (*)();
    const auto entry = reinterpret_cast<Entry>(module->Symbol(entryName.c_str()));
    if (!entry)
        throw DatabaseError("The database driver \"" + modulePath + "\" has no entry " + entryName);
    driver::Driver* const driver = entry();
    if (!driver || CallModule([&] { return driver->ApiVersion(); }) != driver::kApiVersion)
        throw DatabaseError("The database driver \"" + modulePath + "\" is of another version");

    driver::ConnectParams params;
    params.vendorLib = VendorLib;
    params.database = Param("DataBase");
    params.user = Param("User_Name");
    params.password = Param("Password");
    params.role = Param("RoleName");
    params.charset = Param("Charset");
    params.dialect = DialectOf(Param("SQLDialect"));
    params.waitOnLocks = !EqualNoCase(Param("WaitOnLocks"), "False");

    std::unique_ptr<driver::Session> session = CallModule([&] { return driver->Connect(params); });
    module_ = std::move(module);
    session_ = std::move(session);
    listed_ = RegisterLoadedModule(modulePath, *module_);
}

void TCRSQLConnection::Close() noexcept {
    // The session's code lives in the module: it goes first.
    session_.reset();
    listed_ = ModuleRegistration();
    module_.reset();
}

driver::ResultSet TCRSQLConnection::Query(const std::string& sql) {
    if (!Connected())
        throw DatabaseError("Connection not open");
    return CallModule([&] { return session_->Query(sql); });
}

void TCRSQLConnection::Cancel() noexcept {
    if (driver::Session* session = session_.get())
        session->Cancel();
}

TCRSQLConnection::Snapshot::Snapshot(TCRSQLConnection& connection)
    : connection_(&connection), session_(connection.session_.get()) {
    if (!session_)
        throw DatabaseError("Connection not open");
    CallModule([&] { session_->BeginSnapshot(); });
}

TCRSQLConnection::Snapshot::~Snapshot() {
    // A connection closed meanwhile took its snapshot with it.
    if (connection_->session_.get() == session_)
        session_->EndSnapshot();
}

} // namespace lrf
