#include "settings/ProfileReader.h"

#include "ScratchFiles.h"

#include <gtest/gtest.h>

#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

using namespace std::string_literals;

namespace {

const std::filesystem::path& Folder() {
    static const std::filesystem::path folder = lrf::test::FreshFolder("settings-profile");
    return folder;
}

struct ProfileCase {
    const char* name;
    std::string file; // the file's bytes
    const char* section;
    const char* key;
    std::string expected; // with "<default>" as the caller's default
};

const std::string kDefault = "<default>";

const std::string kLongLine = "Junk=" + std::string(1 << 20, 'x') + "\r\n";

// The UTF-16 little-endian form, with its byte-order mark, of text given as code units.
std::string Utf16(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

std::vector<ProfileCase> ProfileCases() {
    return {
        {"Plain", "[KORV]\r\nAno=2024\r\n", "KORV", "Ano", "2024"},
        {"NamesIgnoreCase", "[korv]\r\nANO=2024\r\n", "KoRv", "ano", "2024"},
        {"OnlyAsciiFolds",
         "[KORV]\r\n\xC7"
         "AO=1\r\n",
         "KORV",
         "\xE7"
         "ao",
         kDefault},
        {"MissingSection", "[OUTRA]\r\nAno=2024\r\n", "KORV", "Ano", kDefault},
        {"MissingKey", "[KORV]\r\nServidor=x\r\n", "KORV", "Ano", kDefault},
        {"EmptyValueIsNotDefault", "[KORV]\r\nAno=\r\n", "KORV", "Ano", ""},
        {"BlanksOnlyValueIsEmpty", "[KORV]\r\nDLL= \t \r\n", "KORV", "DLL", ""},
        {"BlanksAroundDropped", "[KORV]\r\n \tAno \t= \t2024 \t\r\n", "KORV", "Ano", "2024"},
        {"BlanksInsideKept", "[KORV]\r\nCaminho=C:\\LRF  Zelvar\\ \r\n", "KORV", "Caminho",
         "C:\\LRF  Zelvar\\"},
        {"BlanksInSectionHeader", "  [ KORV ]  \r\nAno=2024\r\n", "KORV", "Ano", "2024"},
        {"TextAfterHeader", "[KORV] ; settings\r\nAno=2024\r\n", "KORV", "Ano", "2024"},
        {"EqualsInValueKept", "[KORV]\r\nDLL=a=b\r\n", "KORV", "DLL", "a=b"},
        {"QuotesKept", "[KORV]\r\nDLL=\"fbclient.dll\"\r\n", "KORV", "DLL", "\"fbclient.dll\""},
        {"BytesKept", "[KORV]\r\nCaminho=C:\\S\xC3O\\\x80\r\n", "KORV", "Caminho", "C:\\S\xC3O\\\x80"},
        {"FirstKeyWins", "[KORV]\r\nAno=2023\r\nano=2024\r\n", "KORV", "Ano", "2023"},
        {"FirstSectionWins", "[KORV]\r\nAno=2023\r\n[OUTRA]\r\n[korv]\r\nAno=2024\r\n", "KORV", "Ano",
         "2023"},
        {"SecondOccurrenceNotSearched", "[KORV]\r\nAno=2023\r\n[KORV]\r\nDLL=x.dll\r\n", "KORV", "DLL",
         kDefault},
        {"KeyOfOtherSectionIgnored", "[OUTRA]\r\nAno=2023\r\n[KORV]\r\nDLL=x\r\n", "KORV", "Ano", kDefault},
        {"KeyBeforeAnySectionIgnored", "Ano=2023\r\n[KORV]\r\n", "KORV", "Ano", kDefault},
        {"LineWithoutEqualsIsNoKey", "[KORV]\r\nAno\r\nAno 2023\r\nAno=2024\r\n", "KORV", "Ano", "2024"},
        {"CommentLine", "[KORV]\r\n;Ano=2023\r\n  ;Ano=2022\r\nAno=2024\r\n", "KORV", "Ano", "2024"},
        {"CommentedSection", ";[KORV]\r\nAno=2023\r\n", "KORV", "Ano", kDefault},
        {"UnclosedHeaderIsNoSection", "[KORV]\r\n[OUTRA\r\nAno=2024\r\n", "KORV", "Ano", "2024"},
        {"EmptyKeyNameNeverMatches", "[KORV]\r\n=x\r\n", "KORV", "", kDefault},
        {"LfLineEnds", "[KORV]\nServidor=db\nAno=2024\n", "KORV", "Ano", "2024"},
        {"LoneCrLineEnds", "[KORV]\rServidor=db\rAno=2024\r", "KORV", "Ano", "2024"},
        {"MixedLineEnds", "[A]\r\nx=1\n[KORV]\rAno=2024\r\n", "KORV", "Ano", "2024"},
        {"NoFinalLineEnd", "[KORV]\r\nAno=2024", "KORV", "Ano", "2024"},
        {"Utf8ByteOrderMark", "\xEF\xBB\xBF[KORV]\r\nAno=2024\r\n", "KORV", "Ano", "2024"},
        // Notepad's "Unicode": read as the ANSI reader reads it, in Windows-1252, '?' where it has no byte.
        {"Utf16File", Utf16(u"[KORV]\r\nAno=2024\r\n"), "KORV", "Ano", "2024"},
        {"Utf16TextInWindows1252", Utf16(u"[korv]\nCaminho= C:\\S\u00C3O\\\u20AC \r\n"), "KORV", "Caminho",
         "C:\\S\xC3O\\\x80"},
        {"Utf16UnmappableIsQuestionMark", Utf16(u"[KORV]\r\nNome=\u4E2D\U0001F600x\r\n"), "KORV", "Nome",
         "??x"},
        {"Utf16OddLastByteDropped", Utf16(u"[KORV]\r\nAno=2024") + "\x35", "KORV", "Ano", "2024"},
        {"Utf16NulEndsTheLine",
         Utf16(u"[KORV]\r\nAno=20\0"
               u"24\r\n"s),
         "KORV", "Ano", "20"},
        {"ByteOrderMarkOnlyAtStart", "[A]\r\n\xEF\xBB\xBF[KORV]\r\nAno=2024\r\n", "KORV", "Ano", kDefault},
        {"NulEndsTheLine",
         "[KORV]\r\nAno=2024\0"
         "99\r\nDLL=x\r\n"s,
         "KORV", "Ano", "2024"},
        {"NulHidesTheKey", "[KORV]\r\n\0Ano=2023\r\nAno=2024\r\n"s, "KORV", "Ano", "2024"},
        {"BinaryGarbage", "\x00\xFF\xFE\x01[\x7F\r\n]\x9D=\x00\r\n[KORV]\r\nAno=2024\r\n\xFF\xFF"s, "KORV",
         "Ano", "2024"},
        {"EmptyFile", "", "KORV", "Ano", kDefault},
        {"MegabyteLineBefore", "[KORV]\r\n" + kLongLine + "Ano=2024\r\n", "KORV", "Ano", "2024"},
        {"MegabyteValueCut", "[KORV]\r\n" + kLongLine, "KORV", "Junk",
         std::string(lrf::kProfileValueLimit, 'x')},
        {"ValueAtLimitWhole", "[KORV]\r\nv=" + std::string(2047, 'y') + "\r\n", "KORV", "v",
         std::string(2047, 'y')},
        {"CutAfterBlanksDropped", "[KORV]\r\nv=" + std::string(3000, ' ') + std::string(2048, 'z') + "\r\n",
         "KORV", "v", std::string(2047, 'z')},
    };
}

void PrintTo(const ProfileCase& c, std::ostream* os) {
    *os << c.name;
}

class ProfileRules : public testing::TestWithParam<ProfileCase> {};

TEST_P(ProfileRules, ReadsAsTheProfileReader) {
    const ProfileCase& c = GetParam();
    const auto file = Folder() / (std::string(c.name) + ".ini");
    lrf::test::WriteBytes(file, c.file);

    EXPECT_EQ(lrf::ReadProfileString(file, c.section, c.key, kDefault), c.expected);
    // The whole-section read must agree key for key.
    EXPECT_EQ(lrf::ReadProfileSection(file, c.section).Value(c.key, kDefault), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Files, ProfileRules, testing::ValuesIn(ProfileCases()),
                         [](const testing::TestParamInfo<ProfileCase>& test) { return test.param.name; });

TEST(ProfileFiles, UnusableFilesGiveTheDefault) {
    const auto folder = Folder() / "unusable";
    std::filesystem::create_directories(folder / "Korv.ini");
    const std::filesystem::path cases[] = {
        folder / "missing.ini",
        folder / "Korv.ini", // a folder
        folder / "no-such-folder" / "Korv.ini",
        "",
    };
    for (const auto& file : cases) {
        SCOPED_TRACE(file.string());
        EXPECT_EQ(lrf::ReadProfileString(file, "KORV", "Ano", kDefault), kDefault);
        EXPECT_EQ(lrf::ReadProfileSection(file, "KORV").Value("Ano", kDefault), kDefault);
    }
}

// A file that cannot be read: without permission, or on Windows (where permissions only set the
// read-only mark) held open without sharing, as by another program writing it.
class UnreadableFile {
public:
    explicit UnreadableFile(const std::filesystem::path& file) : file_(file) {
#ifdef _WIN32
        lock_ = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
#else
        std::filesystem::permissions(file, std::filesystem::perms::none);
#endif
    }
    ~UnreadableFile() {
#ifdef _WIN32
        if (lock_ != INVALID_HANDLE_VALUE)
            CloseHandle(lock_);
#else
        std::filesystem::permissions(file_, std::filesystem::perms::owner_all);
#endif
    }
    UnreadableFile(const UnreadableFile&) = delete;
    UnreadableFile& operator=(const UnreadableFile&) = delete;

private:
    std::filesystem::path file_;
#ifdef _WIN32
    HANDLE lock_ = INVALID_HANDLE_VALUE;
#endif
};

TEST(ProfileFiles, UnreadableFileGivesTheDefault) {
    const auto file = Folder() / "unreadable.ini";
    lrf::test::WriteBytes(file, "[KORV]\r\nAno=2024\r\n");
    const UnreadableFile unreadable(file);
    if (std::ifstream(file).good())
        GTEST_SKIP() << "this user reads files without permission";
    EXPECT_EQ(lrf::ReadProfileString(file, "KORV", "Ano", kDefault), kDefault);
    EXPECT_EQ(lrf::ReadProfileSection(file, "KORV").Value("Ano", kDefault), kDefault);
}

TEST(ProfileFiles, ReadAfreshAtEveryCall) {
    const auto file = Folder() / "afresh.ini";
    lrf::test::WriteBytes(file, "[KORV]\r\nAno=2023\r\n");
    EXPECT_EQ(lrf::ReadProfileString(file, "KORV", "Ano", kDefault), "2023");
    lrf::test::WriteBytes(file, "[KORV]\r\nAno=2024\r\n");
    EXPECT_EQ(lrf::ReadProfileString(file, "KORV", "Ano", kDefault), "2024");
    std::filesystem::remove(file);
    EXPECT_EQ(lrf::ReadProfileString(file, "KORV", "Ano", kDefault), kDefault);
}

} // namespace
