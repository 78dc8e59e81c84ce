// The start-up probe against a local installation described by a Korv.ini of the test's own: it
// answers true only when the database opens, and false, silently, for every cause of failure; the
// error that stopped it is handed on to a caller that asks.
#include "database/Probe.h"

#include "settings/Installation.h"

#include "DatabaseFixtures.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

class ProbeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        root_ = new fs::path(fs::path(LRF_TEST_TMP) / "probe_test");
        fs::remove_all(*root_);
        fs::create_directories(*root_ / "inst" / "ARQ2024");
        lrf::test::FreshDatabase("probe_test/inst/ARQ2024/KORV2024.FDB", {});
        lrf::test::WriteFile((*root_ / "inst" / "ARQ2024" / "KORV2023.FDB").string(), "not a database");
    }
    static void TearDownTestSuite() {
        lrf::UseSettingsFile({});
        delete root_;
    }

    // A Korv.ini of a local installation rooted in the test folder, with `extra` lines added.
    static void UseSettings(const std::string& extra) {
        const fs::path ini = *root_ / "Korv.ini";
        lrf::test::WriteFile(ini.string(), "[KORV]\r\nano=2024\r\nCaminho_Base_Dados=" +
                                               (*root_ / "inst").string() + "/\r\n" + extra);
        lrf::UseSettingsFile(ini);
    }

    static fs::path* root_;
};
fs::path* ProbeTest::root_ = nullptr;

struct ProbeCase {
    const char* name;
    const char* settings; // lines added to the Korv.ini
    const char* fileName;
    const char* pathCode;
    bool found;
    const char* reasonHas; // in the error a failed probe hands on
};

TEST_F(ProbeTest, AnswersWhetherTheDatabaseOpens) {
    const ProbeCase cases[] = {
        {"Found", "", "KORV2024.FDB", "D", true, ""},
        {"LowerCaseCodeIsReadAsD", "", "KORV2024.FDB", "d", true, ""},
        {"NoDatabaseFileAtThePath", "", "KORV2099.FDB", "D", false, "ARQ2024/KORV2099.FDB"},
        {"FileIsNoDatabase", "", "KORV2023.FDB", "D", false, "ARQ2024/KORV2023.FDB"},
        {"EmptyFileNameNamesTheFolder", "", "", "D", false, "ARQ2024/\""},
        {"ClientLibraryMissing", "DLL=/nonexistent/libfbclient.so\r\n", "KORV2024.FDB", "D", false,
         "/nonexistent/libfbclient.so: cannot open shared object file"},
        {"ClientLibraryIsNoFirebirdClient", "DLL=libm.so.6\r\n", "KORV2024.FDB", "D", false,
         "\"libm.so.6\" is not a Firebird 3 client"},
        {"DefaultClientInAnyCase", "DLL=GDS32.dll\r\n", "KORV2024.FDB", "D", true, ""},
        {"ClientLibraryByItsFile", "DLL=libfbclient.so.2\r\n", "KORV2024.FDB", "D", true, ""},
        {"BlankClientLibraryIsTheDefault", "DLL=   \r\n", "KORV2024.FDB", "D", true, ""},
        {"ServerNotListening", "Servidor=127.0.0.1/3999\r\nSO_Servidor=LINUX\r\n", "KORV2024.FDB", "D", false,
         "Unable to complete network request to host \"127.0.0.1\""},
    };
    for (const ProbeCase& c : cases) {
        SCOPED_TRACE(c.name);
        UseSettings(c.settings);
        std::string reason;
        EXPECT_EQ(lrf::ProbeDatabase(c.fileName, c.pathCode, &reason), c.found);
        if (c.found)
            EXPECT_EQ(reason, "");
        else
            EXPECT_NE(reason.find(c.reasonHas), std::string::npos) << reason;
    }
}

// A server installation whose server is unreachable but whose folder this machine reaches directly:
// the probe must ask for the server's view, so only the first upper-case D may change.
TEST_F(ProbeTest, AsksForTheServersViewThroughTheFirstUpperCaseD) {
    const struct {
        const char* code;
        bool found;
    } cases[] = {
        {"D", false},   // B: 127.0.0.1/3999:/nowhere/ARQ2024/
        {"d", true},    // not changed: this machine's view of the year folder
        {"DA0", false}, // BA0: the server's view of the year folder
        {"dA0", true},  // not changed: DA0, this machine's view
    };
    const fs::path ini = *root_ / "Korv.ini";
    lrf::test::WriteFile(ini.string(),
                         "[KORV]\r\nano=2024\r\nServidor=127.0.0.1/3999\r\nSO_Servidor=LINUX\r\n"
                         "Caminho_Base_Dados=/nowhere/\r\nDiretorio_Servidor=" +
                             (*root_ / "inst").string() + "/\r\n");
    lrf::UseSettingsFile(ini);
    for (const auto& c : cases)
        EXPECT_EQ(lrf::ProbeDatabase("KORV2024.FDB", c.code), c.found) << c.code;
}

TEST_F(ProbeTest, NoSettingsFileLooksForARelativeFolderAndAnswersFalse) {
    lrf::UseSettingsFile(*root_ / "missing" / "Korv.ini");
    EXPECT_FALSE(lrf::ProbeDatabase("KORV.FDB", "D"));
}

TEST_F(ProbeTest, ResolverErrorsReachTheCaller) {
    UseSettings("");
    // "DAX" becomes the year code "BAX", whose count of years is no number.
    EXPECT_ANY_THROW(lrf::ProbeDatabase("KORV2024.FDB", "DAX"));
}

} // namespace
