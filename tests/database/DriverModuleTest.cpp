// The driver module as the window finds and loads it, from a folder whose name is not ASCII: the
// start-up's driver check, the module's entry and package information, and a client library that is
// not there. No Firebird client is needed: these run in the Windows build under Wine too.
#include "database/Connection.h"
#include "database/DatabaseError.h"
#include "database/DynamicLibrary.h"
#include "database/ModuleList.h"
#include "database/Startup.h"
#include "settings/Installation.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using lrf::PathFromUtf8;
using lrf::Utf8FromPath;

// LRF_TEST_TMP/<name>/, emptied, as UTF-8 text ending with the separator.
std::string FreshFolder(const std::string& name) {
    const fs::path folder = fs::path(LRF_TEST_TMP) / PathFromUtf8(name);
    fs::remove_all(folder);
    fs::create_directories(folder);
    return Utf8FromPath(folder) + lrf::kPathSeparator;
}

// "Instalação São João", holding this build's driver as DBEXPIDA.DLL: the check and the window's
// LibraryName ask for it in other letter cases.
const std::string& DriverFolder() {
    static const std::string folder = [] {
        const std::string f = FreshFolder("Instala\xC3\xA7\xC3\xA3o S\xC3\xA3o Jo\xC3\xA3o");
        fs::copy_file(lrf::test::DriverPath(), PathFromUtf8(f + "DBEXPIDA.DLL"));
        return f;
    }();
    return folder;
}

// A Korv.ini of a local installation in `folder`, whose year's database does not exist.
void UseSettingsIn(const std::string& folder) {
    lrf::test::WriteFile(folder + "Korv.ini", "[KORV]\r\nano=2024\r\nCaminho_Base_Dados=" + folder + "\r\n");
    lrf::UseSettingsFile(PathFromUtf8(folder + "Korv.ini"));
}

class DriverModule : public testing::Test {
protected:
    ~DriverModule() override { lrf::UseSettingsFile({}); }
};

std::optional<lrf::ModuleEntry> ListedModule(const std::string& path) {
    for (const lrf::ModuleEntry& entry : lrf::ProgramModules())
        if (entry.path == path)
            return entry;
    return std::nullopt;
}

TEST_F(DriverModule, StartUpChecksForTheDriverFileBeforeReadingTheSettings) {
    const std::string empty = FreshFolder("driver-module-none");
    UseSettingsIn(empty);
    lrf::TCRSQLConnection conexao;
    lrf::ApplyDesignTimeSettings(conexao);
    const lrf::StartupResult missing = lrf::StartUp(conexao, empty);
    EXPECT_EQ(missing.outcome, lrf::StartupResult::Outcome::DriverMissing);
    EXPECT_EQ(missing.fiscalYear, "");

    // Found without regard to case; then the probe finds no database (nor, on a machine without
    // Firebird, a client) and the program would end with its message.
    UseSettingsIn(DriverFolder());
    const lrf::StartupResult found = lrf::StartUp(conexao, DriverFolder());
    EXPECT_EQ(found.outcome, lrf::StartupResult::Outcome::DatabaseNotFound);
    EXPECT_EQ(found.fiscalYear, "2024");
    EXPECT_FALSE(conexao.Connected());
}

TEST_F(DriverModule, ExportsItsEntryAndCarriesItsPackageInformation) {
    const std::string path = DriverFolder() + "DBEXPIDA.DLL";
    std::string reason;
    const lrf::DynamicLibrary module = lrf::DynamicLibrary::Load(path, reason);
    ASSERT_TRUE(module.Loaded()) << reason;
    EXPECT_NE(module.Symbol("getSQLDriverInterBase"), nullptr);

    const lrf::ModuleRegistration registration = lrf::RegisterLoadedModule(path, module);
    const std::optional<lrf::ModuleEntry> listed = ListedModule(path);
    ASSERT_TRUE(listed.has_value());
    EXPECT_EQ(listed->description, "Driver de acesso InterBase/Firebird");
    ASSERT_TRUE(listed->package.has_value());
    EXPECT_EQ(listed->package->flags, unsigned{kLrfRunOnly});
    const std::vector<lrf::PackageUnit>& units = listed->package->units;
    ASSERT_FALSE(units.empty());
    EXPECT_EQ(units.front().name, "FirebirdDriver");
    EXPECT_EQ(units.front().flags, unsigned{kLrfMainUnit});
    const auto client = std::find_if(units.begin(), units.end(), [](const lrf::PackageUnit& unit) {
        return unit.name == "ClientLibrary";
    });
    ASSERT_NE(client, units.end());
    EXPECT_EQ(client->flags, unsigned{kLrfPackageUnit});
}

struct ClientCase {
    const char* name;
    const char* vendorLib;
    const char* file; // the file the reason must name
};

// The window's connection as start-up sets it, on the driver in the non-ASCII folder: the driver loads,
// its entry runs, and the missing client library is named in the error.
TEST_F(DriverModule, MissingClientLibraryIsNamedInTheReason) {
    std::vector<ClientCase> cases = {{"NamedBySettings", "fbclient-ausente.dll", "fbclient-ausente.dll"}};
#ifdef _WIN32
    // The window's default, on a machine without a Firebird client (Wine's).
    std::string loadError;
    if (!lrf::DynamicLibrary::Load("gds32.DLL", loadError).Loaded())
        cases.push_back({"WindowsDefault", "gds32.DLL", "gds32.DLL"});
#endif
    for (const ClientCase& c : cases) {
        SCOPED_TRACE(c.name);
        lrf::TCRSQLConnection conexao;
        lrf::ApplyDesignTimeSettings(conexao);
        conexao.LibraryName = DriverFolder() + "dbexpida.dll";
        conexao.VendorLib = c.vendorLib;
        conexao.SetParam("DataBase", DriverFolder() + "ARQ2024" + lrf::kPathSeparator + "KORV2024.FDB");
        const std::string error = lrf::test::ErrorOf([&] { conexao.Open(); });
        const std::string named = std::string("Cannot load the client library \"") + c.file + "\": ";
        ASSERT_EQ(error.substr(0, named.size()), named) << error;
        EXPECT_GT(error.size(), named.size()) << "the system's reason is missing";
        EXPECT_FALSE(conexao.Connected());
        for (const lrf::ModuleEntry& entry : lrf::ProgramModules())
            EXPECT_FALSE(entry.path.starts_with(DriverFolder())) << entry.path << " stayed listed";
    }
}

} // namespace
