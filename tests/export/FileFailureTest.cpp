// A file that cannot be written whole, failing where it fails in use: a full disk (the file size limit of
// this process, lowered around the writing only, and a small tmpfs), a folder that vanishes before the
// file is put in place, and a folder that takes no new name. Every such file is logged as failed, and
// nothing stays under its name: no cut file, no temporary file, no file of an earlier run.
#ifdef __linux__ // the file size limit, the immutable flag and tmpfs
#include "ExportFixture.h"
#include "FileSystemTraps.h"

#include "export/ExportSteps.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>

namespace fs = std::filesystem;

namespace lrf::test {
namespace {

const std::string kFailed = "ERRO NA CRIA\xC3\x87\xC3\x83O DO ARQUIVO: DED_ORCD.TXT !";
constexpr const char* kEarlier = "9.7.2.1.01.00;1,00;\r\n"; // a file of an earlier run, of another bimester

// DED_ORCD of entity 1 is two lines; of entity 2, 1500 lines (well over the 16 KB that Qt buffers).
const fs::path& Database() {
    static const fs::path path = [] {
        const fs::path p = ScratchPath("file_failure.fdb");
        auto db = CreateRevenueTables(p, "NUMERIC(18,4)");
        db.ExecuteRows("INSERT INTO TABEMPRESA VALUES (?, ?)", {{"1", "PREFEITURA"}, {"2", "CAMARA"}});
        std::vector<tools::Row> rows{{"9721.01.00", "-300", "1"}, {"9721.02.00", "25.5", "1"}};
        for (int i = 0; i < 1500; ++i)
            rows.push_back({"9721.01.00", std::to_string(-1000 - i), "2"});
        db.ExecuteRows("INSERT INTO RECORC VALUES (?, ?, ?)", rows);
        db.ExecuteRows("INSERT INTO RECDIS VALUES (?, ?, ?, ?)", {{"1", "1112.01.00", "1000", "1"}});
        return p;
    }();
    return path;
}

constexpr const char* kSmall = "9.7.2.1.01.00;300,00;\r\n9.7.2.1.02.00;-25,50;\r\n";

std::string LargeFile() {
    std::string bytes;
    for (int i = 0; i < 1500; ++i)
        bytes += "9.7.2.1.01.00;" + std::to_string(1000 + i) + ",00;\r\n";
    return bytes;
}

fs::path FreshFolder(const std::string& name) {
    const fs::path folder = ScratchPath("file_failure_out") / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

ExportRequest Request(const fs::path& folder, bool large, std::initializer_list<std::string_view> stems) {
    ExportRequest request;
    request.bimesterIndex = 1;
    request.entities = {{"1 - PREFEITURA", !large}, {"2 - CAMARA", large}};
    request.entityCodeLength = 1;
    for (std::size_t i = 0; i < kStepCount; ++i)
        for (std::string_view stem : stems)
            request.ticked[i] = request.ticked[i] || ExportSteps()[i].fileStem == stem;
    request.folderText = QString::fromStdString(folder.string()) + u'/';
    request.fiscalYear = QStringLiteral("2024");
    return request;
}

std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A write beyond the limit then fails with EFBIG instead of ending the process.
class IgnoreFileSizeSignal {
public:
    IgnoreFileSizeSignal() { previous_ = std::signal(SIGXFSZ, SIG_IGN); }
    ~IgnoreFileSizeSignal() { std::signal(SIGXFSZ, previous_); }

private:
    void (*previous_)(int);
};

// Lowers this process's file size limit while the first file of the run is written, and only then: the
// embedded engine's own files must never meet it.
class FileSizeLimitSink : public RecordingSink {
public:
    explicit FileSizeLimitSink(rlim_t limit) : limit_(limit) {}
    ~FileSizeLimitSink() override { Restore(); }

    void SetFileMaximum(int maximum) override {
        RecordingSink::SetFileMaximum(maximum);
        if (filesStarted_++ != 0)
            return;
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit lowered = saved_;
        lowered.rlim_cur = limit_;
        lowered_ = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    void AppendLog(const QString& line) override {
        Restore();
        RecordingSink::AppendLog(line);
    }
    void AppendFailure(const QString& line, const QString& fileName, const QString& reason) override {
        Restore();
        RecordingSink::AppendFailure(line, fileName, reason);
    }

private:
    void Restore() {
        if (lowered_)
            setrlimit(RLIMIT_FSIZE, &saved_);
        lowered_ = false;
    }
    rlim_t limit_;
    rlimit saved_{};
    bool lowered_ = false;
    int filesStarted_ = 0;
};

class FileFailureTest : public ::testing::Test {
protected:
    void SetUp() override { OpenConnection(connection, Database()); }

    ExportResult Run(const ExportRequest& request, ExportSink& sink) {
        return RunExport(request, connection, cds1, sink, RegionalSettings{});
    }

    TCRSQLConnection connection;
    TSQLClientDataSet cds1{&connection};
};

struct LimitCase {
    const char* name;
    bool large;
    // The limit, from the file's whole size: 0 is a full disk, size - 1 fails at the last byte.
    std::size_t (*limit)(std::size_t size);
};

void PrintTo(const LimitCase& c, std::ostream* out) {
    *out << c.name;
}

class FileSizeLimitTest : public FileFailureTest, public ::testing::WithParamInterface<LimitCase> {};

// The failing file leaves nothing behind, and the next file of the run is written whole.
TEST_P(FileSizeLimitTest, AFullDiskFailsTheFileAndClearsItsName) {
    const LimitCase& c = GetParam();
    const std::string whole = c.large ? LargeFile() : std::string(kSmall);
    const fs::path folder = FreshFolder(c.name);
    WriteBytes(folder / "DED_ORCD.TXT", kEarlier);
    const IgnoreFileSizeSignal ignore;
    FileSizeLimitSink sink(static_cast<rlim_t>(c.limit(whole.size())));
    const ExportResult result = Run(Request(folder, c.large, {"DED_ORCD", "REC_ORCD"}), sink);

    EXPECT_EQ(result.filesFailed, 1);
    EXPECT_EQ(result.filesCreated, 1);
    ASSERT_GE(sink.log.size(), 2u);
    EXPECT_EQ(sink.log[0], kFailed);
    EXPECT_EQ(sink.log[1], "Arquivo REC_ORCD.TXT criado com sucesso !");
    ASSERT_EQ(sink.reasons.size(), 1u);
    EXPECT_EQ(sink.reasons[0], std::strerror(EFBIG));
    EXPECT_EQ(Names(folder), std::vector<std::string>{"REC_ORCD.TXT"});
}

INSTANTIATE_TEST_SUITE_P(
    Files, FileSizeLimitTest,
    ::testing::Values(LimitCase{"SmallNoRoom", false, [](std::size_t) { return std::size_t{0}; }},
                      LimitCase{"SmallHalf", false, [](std::size_t size) { return size / 2; }},
                      LimitCase{"SmallAllButOneByte", false, [](std::size_t size) { return size - 1; }},
                      LimitCase{"LargeNoRoom", true, [](std::size_t) { return std::size_t{0}; }},
                      LimitCase{"LargeHalf", true, [](std::size_t size) { return size / 2; }},
                      LimitCase{"LargeAllButOneByte", true, [](std::size_t size) { return size - 1; }}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

// The limit that the file just fits: the harness itself fails nothing.
TEST_F(FileFailureTest, AFileThatJustFitsIsWrittenWhole) {
    for (bool large : {false, true}) {
        const std::string whole = large ? LargeFile() : std::string(kSmall);
        const fs::path folder = FreshFolder(large ? "LargeFits" : "SmallFits");
        WriteBytes(folder / "DED_ORCD.TXT", kEarlier);
        const IgnoreFileSizeSignal ignore;
        FileSizeLimitSink sink(static_cast<rlim_t>(whole.size()));
        const ExportResult result = Run(Request(folder, large, {"DED_ORCD"}), sink);
        EXPECT_EQ(result.filesCreated, 1) << large;
        EXPECT_EQ(ReadBytes(folder / "DED_ORCD.TXT"), whole);
        EXPECT_EQ(Names(folder), std::vector<std::string>{"DED_ORCD.TXT"});
    }
}

// The folder is removed with the temporary file in it after the last line: the file cannot be put in
// place, and nothing is made again where the folder was.
TEST_F(FileFailureTest, AFolderThatVanishesBeforeTheFileIsPutInPlace) {
    for (bool large : {false, true}) {
        const fs::path folder = FreshFolder(large ? "VanishLarge" : "VanishSmall");
        WriteBytes(folder / "DED_ORCD.TXT", kEarlier);
        struct VanishingSink : RecordingSink {
            fs::path folder;
            int maximum = 0;
            void SetFileMaximum(int m) override { maximum = m; }
            void SetFilePosition(int position) override {
                if (position == maximum)
                    fs::remove_all(folder);
            }
        } vanishing;
        vanishing.folder = folder;
        const ExportResult result = Run(Request(folder, large, {"DED_ORCD"}), vanishing);
        EXPECT_EQ(result.filesFailed, 1) << large;
        EXPECT_EQ(vanishing.log.front(), kFailed);
        ASSERT_EQ(vanishing.reasons.size(), 1u);
        EXPECT_EQ(vanishing.reasons[0], "No such file or directory");
        EXPECT_FALSE(fs::exists(folder));
    }
}

struct ProtectedCase {
    const char* name;
    bool earlierFile;   // a file of an earlier run under the name
    bool fileProtected; // that file cannot be rewritten either
    bool diskFull;      // the file size limit stops the writing
    bool created;
    const char* left; // what stays under the name, or nullptr for nothing
    const char* reasonHas;
};

void PrintTo(const ProtectedCase& c, std::ostream* out) {
    *out << c.name;
}

class ProtectedFolderTest : public FileFailureTest, public ::testing::WithParamInterface<ProtectedCase> {};

// A folder that takes no new name (nor gives one up): no temporary file can be made, so the file is
// written in place when it exists; when that fails, it is emptied, as it cannot be removed.
TEST_P(ProtectedFolderTest, WritesInPlaceOrSaysWhatStays) {
    const ProtectedCase& c = GetParam();
    const fs::path folder = FreshFolder(c.name);
    if (c.earlierFile)
        WriteBytes(folder / "DED_ORCD.TXT", kEarlier);
    std::optional<Protected> file;
    if (c.fileProtected)
        file.emplace(folder / "DED_ORCD.TXT");
    const Protected guard(folder);
    if (!guard.Held() || (file && !file->Held()))
        GTEST_SKIP() << "this process can neither set the immutable flag nor be kept out by permissions";

    const IgnoreFileSizeSignal ignore;
    FileSizeLimitSink sink(c.diskFull ? 10 : RLIM_INFINITY);
    const ExportResult result = Run(Request(folder, false, {"DED_ORCD"}), sink);
    EXPECT_EQ(result.filesCreated, c.created ? 1 : 0);
    EXPECT_EQ(sink.log.front(), c.created ? "Arquivo DED_ORCD.TXT criado com sucesso !" : kFailed);
    if (c.left == nullptr) {
        EXPECT_FALSE(fs::exists(folder / "DED_ORCD.TXT"));
        EXPECT_TRUE(Names(folder).empty());
    } else {
        EXPECT_EQ(ReadBytes(folder / "DED_ORCD.TXT"), c.left);
        EXPECT_EQ(Names(folder), std::vector<std::string>{"DED_ORCD.TXT"});
    }
    if (c.created) {
        EXPECT_TRUE(sink.reasons.empty());
    } else {
        ASSERT_EQ(sink.reasons.size(), 1u);
        EXPECT_NE(sink.reasons[0].find(c.reasonHas), std::string::npos) << sink.reasons[0];
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProtectedFolderTest,
    ::testing::Values(ProtectedCase{"InPlace", true, false, false, true, kSmall, ""},
                      ProtectedCase{"InPlaceDiskFull", true, false, true, false, "", "ficou vazio"},
                      ProtectedCase{"NeitherFolderNorFile", true, true, false, false, kEarlier,
                                    "nem esvaziado"},
                      ProtectedCase{"NoFileToRewrite", false, false, false, false, nullptr, ""}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

// A real small file system, filled up: the disk is completely full, or has less room than the file.
// Needs the right to mount (root in CI); skipped otherwise.
TEST_F(FileFailureTest, ASmallFileSystemThatFillsUp) {
    const SmallFileSystem disk(ScratchPath("file_failure_tmpfs"));
    if (!disk.Mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(disk.Error());
    const struct {
        bool large;
        std::size_t freeBytes; // left free by the filler
    } cases[] = {{false, 0}, {true, 0}, {true, 8192}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.large ? "large" : "small") + " file, " + std::to_string(c.freeBytes) +
                     " bytes free");
        const fs::path folder = ScratchPath("file_failure_tmpfs") / "out";
        fs::remove_all(folder);
        fs::create_directories(folder);
        WriteBytes(folder / "DED_ORCD.TXT", kEarlier);
        ASSERT_TRUE(disk.FillUp(c.freeBytes));
        RecordingSink sink;
        const ExportResult result = Run(Request(folder, c.large, {"DED_ORCD"}), sink);
        EXPECT_EQ(result.filesFailed, 1);
        EXPECT_EQ(sink.log.front(), kFailed);
        ASSERT_EQ(sink.reasons.size(), 1u);
        EXPECT_EQ(sink.reasons[0], "No space left on device");
        EXPECT_TRUE(Names(folder).empty());
    }
}

} // namespace
} // namespace lrf::test
#endif
