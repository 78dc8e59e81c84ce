#include "settings/Installation.h"
#include "settings/SystemPath.h"

#include "ScratchFiles.h"

#include <gtest/gtest.h>

#include <cctype>

namespace {

namespace fs = std::filesystem;

const fs::path& Folder() {
    static const fs::path folder = [] {
        const fs::path f = lrf::test::FreshFolder("settings-install");
        lrf::test::WriteBytes(f / "KORV.INI", "x");
        lrf::test::WriteBytes(f / "dbexpida.dll", "x");
        lrf::test::WriteBytes(f / "Korv.ini.bak", "x");
        fs::create_directories(f / "sub");
        return f;
    }();
    return folder;
}

// Windows' own file names: matched without regard to case, and blanks at the end of a name dropped.
constexpr bool kWindowsNames = lrf::kPathSeparator == '\\';

struct FindCase {
    const char* name;
    const char* expected; // entry found, or nullptr
};

const FindCase kFindCases[] = {
    {"KORV.INI", "KORV.INI"},
    {"Korv.ini", "KORV.INI"},
    {"DBEXPIDA.dll", "dbexpida.dll"},
    {"dbexpida.dll", "dbexpida.dll"},
    {"SUB", "sub"},
    {"korv.in", nullptr},
    {"Korv.ini ", kWindowsNames ? "KORV.INI" : nullptr},
    {"", nullptr},
    {"gds32.dll", nullptr},
};

// The path found names the entry; where the system matches names without regard to case it may keep
// the letters asked for.
TEST(FindFileNoCase, MatchesNamesWithoutRegardToCase) {
    for (const FindCase& c : kFindCases) {
        SCOPED_TRACE(c.name);
        const auto found = lrf::FindFileNoCase(Folder(), c.name);
        if (c.expected == nullptr) {
            EXPECT_FALSE(found.has_value());
        } else {
            ASSERT_TRUE(found.has_value());
            EXPECT_TRUE(fs::equivalent(*found, Folder() / c.expected)) << *found;
        }
    }
}

TEST(FindFileNoCase, ExactNameWinsOverOtherCase) {
    const fs::path folder = lrf::test::FreshFolder("settings-install-exact");
    lrf::test::WriteBytes(folder / "korv.ini", "x");
    lrf::test::WriteBytes(folder / "Korv.ini", "x");
    const auto found = lrf::FindFileNoCase(folder, "Korv.ini");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->filename(), "Korv.ini");
}

TEST(FindFileNoCase, UnusableFolderFindsNothing) {
    for (const fs::path& folder : {Folder() / "missing", Folder() / "KORV.INI", fs::path()}) {
        SCOPED_TRACE(folder.string());
        EXPECT_FALSE(lrf::FindFileNoCase(folder, "Korv.ini").has_value());
    }
}

// The build names this program's file (LRF_TEST_PROGRAM): test_settings, test_settings.exe, ...
TEST(ExecutableFolder, IsTheFolderOfThisTest) {
    const std::string folder = lrf::ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), lrf::kPathSeparator);
    EXPECT_TRUE(fs::equivalent(lrf::PathFromUtf8(folder + LRF_TEST_PROGRAM),
                               fs::path(LRF_BIN_DIR) / LRF_TEST_PROGRAM))
        << folder;
}

// Restores the settings file of the process whatever the test does.
class SettingsOverride : public testing::Test {
protected:
    ~SettingsOverride() override { lrf::UseSettingsFile({}); }
};

TEST_F(SettingsOverride, SettingsFileLiesBesideTheExecutable) {
    const fs::path file = lrf::SettingsFilePath();
    EXPECT_EQ(file.parent_path(), lrf::PathFromUtf8(lrf::ExecutableFolder()).parent_path());
    std::string name = file.filename().string();
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(name, "korv.ini");
}

TEST_F(SettingsOverride, GivenFileIsReadAfreshAndDefaultRestored) {
    const fs::path file = Folder() / "given.ini";
    lrf::test::WriteBytes(file, "[KORV]\r\nano=2024\r\nDLL=fbclient.dll\r\nCaminho_Base_Dados=/k/\r\n");
    const fs::path before = lrf::SettingsFilePath();

    lrf::UseSettingsFile(file);
    EXPECT_EQ(lrf::SettingsFilePath(), file);
    EXPECT_EQ(lrf::ReadKorvSetting("Ano"), "2024");
    EXPECT_EQ(lrf::ReadKorvSetting("dll", "gds32.DLL"), "fbclient.dll");
    EXPECT_EQ(lrf::ReadKorvSetting("Servidor", "none"), "none");
    EXPECT_EQ(lrf::ResolveSystemPath("b"), std::string("/k/ARQ2024") + lrf::kPathSeparator);

    lrf::test::WriteBytes(file, "[KORV]\r\nano=2025\r\n");
    EXPECT_EQ(lrf::ReadKorvSetting("ano"), "2025");

    lrf::UseSettingsFile({});
    EXPECT_EQ(lrf::SettingsFilePath(), before);
}

TEST_F(SettingsOverride, MissingGivenFileReadsAsEmpty) {
    lrf::UseSettingsFile(Folder() / "absent.ini");
    EXPECT_EQ(lrf::ReadKorvSetting("ano", "default"), "default");
    EXPECT_EQ(lrf::ResolveSystemPath("B"), std::string("ARQ") + lrf::kPathSeparator);
}

} // namespace
