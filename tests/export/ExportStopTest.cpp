// A run asked to stop, from its own thread (between files, inside a file) and from another one while a
// statement runs: it ends at once, the file being written is discarded and nothing cut stays behind.
#include "ExportFixture.h"
#include "SlowStatement.h"

#include "export/ExportSteps.h"
#include "export/ExportThread.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace lrf::test {
namespace {

const fs::path& RevenueDatabase() {
    static const fs::path path = [] {
        const fs::path p = ScratchPath("export_stop_revenue.fdb");
        auto db = CreateRevenueTables(p, "NUMERIC(18,4)");
        FillRevenueRows(db);
        return p;
    }();
    return path;
}

// Several seconds of REC_ORCD.
const fs::path& SlowDatabase() {
    static const fs::path path = [] {
        const fs::path p = ScratchPath("export_stop_slow.fdb");
        fs::remove(p);
        auto db = tools::DatabaseWriter::Create(p.string());
        for (const std::string& statement : SlowStatementDatabase(20000000))
            db.Execute(statement);
        return p;
    }();
    return path;
}

fs::path FreshFolder(const std::string& name) {
    const fs::path folder = ScratchPath("export_stop_out") / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

ExportRequest Request(const fs::path& folder, std::initializer_list<std::string_view> stems) {
    ExportRequest request;
    request.bimesterIndex = 1;
    request.entities = {{"1 - PREFEITURA", true}};
    request.entityCodeLength = 1;
    for (std::size_t i = 0; i < kStepCount; ++i)
        for (std::string_view stem : stems)
            request.ticked[i] = request.ticked[i] || ExportSteps()[i].fileStem == stem;
    request.folderText = QString::fromStdString(folder.string()) + u'/';
    request.fiscalYear = QStringLiteral("2024");
    return request;
}

std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A sink that asks for the stop at a chosen point of the run.
class StoppingSink : public RecordingSink {
public:
    RunStop stop;
    std::string stopAfterLine; // after this log line
    int stopAtRecord = 0;      // or once a file reaches this record
    void AppendLog(const QString& line) override {
        RecordingSink::AppendLog(line);
        if (line.toStdString() == stopAfterLine)
            stop.Request();
    }
    void SetFilePosition(int position) override {
        RecordingSink::SetFilePosition(position);
        if (stopAtRecord != 0 && position == stopAtRecord)
            stop.Request();
    }
};

struct StopCase {
    const char* name;
    std::string stopAfterLine;
    int stopAtRecord;
    std::vector<std::string> logBefore; // what the log holds when the run ends
    std::vector<std::string> files;     // what the folder holds then
};

class ExportStopTest : public ::testing::TestWithParam<StopCase> {};

TEST_P(ExportStopTest, EndsAtOnceAndLeavesNoCutFile) {
    const StopCase& c = GetParam();
    TCRSQLConnection connection;
    OpenConnection(connection, RevenueDatabase());
    TSQLClientDataSet cds1(&connection);
    const fs::path folder = FreshFolder(c.name);
    // A complete file of an earlier run stays as it was.
    WriteBytes(folder / "REC_ORCD.TXT", "earlier run\r\n");

    StoppingSink sink;
    sink.stopAfterLine = c.stopAfterLine;
    sink.stopAtRecord = c.stopAtRecord;
    ExportRequest request = Request(folder, {"DED_ORCD", "REC_ORCD"});
    request.stop = &sink.stop;
    EXPECT_THROW(RunExport(request, connection, cds1, sink, RegionalSettings{}), ExportInterrupted);

    EXPECT_EQ(sink.log, c.logBefore);
    EXPECT_EQ(Entries(folder), c.files);
    EXPECT_EQ(ReadBytes(folder / "REC_ORCD.TXT"), "earlier run\r\n");
    EXPECT_FALSE(cds1.Active());
}

INSTANTIATE_TEST_SUITE_P(
    Points, ExportStopTest,
    ::testing::Values(StopCase{"BetweenFiles",
                               "Arquivo DED_ORCD.TXT criado com sucesso !",
                               0,
                               {"Arquivo DED_ORCD.TXT criado com sucesso !"},
                               {"DED_ORCD.TXT", "REC_ORCD.TXT"}},
                      // DED_ORCD has four lines for entity 1: the stop comes at its second.
                      StopCase{"InsideAFile", "", 2, {}, {"REC_ORCD.TXT"}}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

QCoreApplication& Application() {
    static int argc = 1;
    static char name[] = "test_export";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    return application;
}

// The run on its own thread: Stop() cancels the statement the engine is running, and the run reports
// that it was interrupted within a moment, the file never written.
TEST(ExportThreadTest, StopCancelsTheRunningStatement) {
    Application();
    TCRSQLConnection connection;
    OpenConnection(connection, SlowDatabase());
    TSQLClientDataSet cds1(&connection);
    const fs::path folder = FreshFolder("thread-stop");
    RecordingSink sink;

    ExportThread thread;
    std::optional<ExportOutcome> outcome;
    QEventLoop loop;
    QElapsedTimer sinceStop;
    thread.Start(Request(folder, {"REC_ORCD"}), connection, cds1, sink, RegionalSettings{},
                 [&](const ExportOutcome& ended) {
                     outcome = ended;
                     loop.quit();
                 });
    EXPECT_TRUE(thread.Running());
    QTimer::singleShot(700, [&] {
        sinceStop.start();
        thread.Stop();
    });
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    loop.exec();

    ASSERT_TRUE(outcome.has_value());
    EXPECT_LT(sinceStop.elapsed(), 1500);
    EXPECT_TRUE(outcome->interrupted);
    EXPECT_FALSE(outcome->failed);
    EXPECT_FALSE(thread.Running());
    EXPECT_TRUE(Entries(folder).empty());
    EXPECT_TRUE(sink.fileMaxima.empty()); // stopped inside the statement
}

// Without a stop the run on its thread ends as RunExport does, and its errors come back as text.
TEST(ExportThreadTest, ReportsTheRunAndItsError) {
    Application();
    TCRSQLConnection connection;
    OpenConnection(connection, RevenueDatabase());
    TSQLClientDataSet cds1(&connection);
    const fs::path folder = FreshFolder("thread-run");
    for (const char* year : {"2024", "abc"}) {
        RecordingSink sink;
        ExportThread thread;
        ExportRequest request = Request(folder, {"DED_ORCD"});
        request.fiscalYear = QString::fromLatin1(year);
        std::optional<ExportOutcome> outcome;
        QEventLoop loop;
        thread.Start(request, connection, cds1, sink, RegionalSettings{}, [&](const ExportOutcome& ended) {
            outcome = ended;
            loop.quit();
        });
        loop.exec();
        ASSERT_TRUE(outcome.has_value());
        EXPECT_FALSE(outcome->interrupted);
        if (std::string(year) == "2024") {
            EXPECT_FALSE(outcome->failed);
            EXPECT_EQ(outcome->result.filesCreated, 1);
            EXPECT_EQ(sink.log.back(), "0 arquivo(s) n\xC3\xA3o criado(s) por algum erro!");
        } else {
            EXPECT_TRUE(outcome->failed);
            try {
                std::rethrow_exception(outcome->error);
            } catch (const std::exception& error) {
                EXPECT_STREQ(error.what(), "'01/03/abc' is not a valid date");
            }
        }
    }
}

} // namespace
} // namespace lrf::test
