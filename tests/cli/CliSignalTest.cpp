// lrf-export given a real signal: at start-up, during a long statement and between files. It ends at
// once with 128 + the signal's number and "interrompido", and the folder holds only complete files.
#include "ExportFixture.h"
#include "ProcessState.h"
#include "SlowStatement.h"

#include <QElapsedTimer>
#include <QProcess>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/types.h>

namespace fs = std::filesystem;

namespace lrf::test {
namespace {

// An installation whose REC_ORCD statement takes several seconds.
const fs::path& SlowInstallation() {
    static const fs::path ini = [] {
        const fs::path folder = ScratchPath("cli-signal");
        fs::remove_all(folder);
        fs::create_directories(folder / "ARQ2024");
        auto db = tools::DatabaseWriter::Create((folder / "ARQ2024" / "KORV2024.FDB").string());
        for (const std::string& statement : SlowStatementDatabase(20000000))
            db.Execute(statement);
        WriteBytes(folder / "Korv.ini",
                   "[KORV]\r\nano=2024\r\nCaminho_Base_Dados=" + folder.string() + "/\r\n");
        return folder / "Korv.ini";
    }();
    return ini;
}

enum class When { StartUp, DuringStatement, BetweenFiles };

struct SignalCase {
    const char* name;
    When when;
    int signal;
    std::vector<std::string> files; // the folder afterwards
};

class CliSignalTest : public ::testing::TestWithParam<SignalCase> {};

TEST_P(CliSignalTest, EndsAtOnceAndSaysSo) {
    const SignalCase& c = GetParam();
    const fs::path folder = ScratchPath("cli-signal-out") / c.name;
    fs::remove_all(folder);
    fs::create_directories(folder);

    QProcess process;
    process.start(QStringLiteral(LRF_BIN_DIR "/lrf-export"),
                  {QStringLiteral("--bimestre"), QStringLiteral("2"), QStringLiteral("--arquivos"),
                   QStringLiteral("DED_ORCD,REC_ORCD"), QStringLiteral("--saida"),
                   QString::fromStdString(folder.string()), QStringLiteral("--ini"),
                   QString::fromStdString(SlowInstallation().string())});
    ASSERT_TRUE(process.waitForStarted());
    const qint64 pid = process.processId();
    std::string out;
    switch (c.when) {
    case When::StartUp:
        ASSERT_TRUE(WaitFor(pid, HoldsSignals));
        break;
    case When::DuringStatement:
    case When::BetweenFiles:
        while (out.find("DED_ORCD.TXT criado") == std::string::npos) {
            ASSERT_TRUE(process.waitForReadyRead(30000)) << out;
            out += process.readAllStandardOutput().toStdString();
        }
        if (c.when == When::DuringStatement)
            QThread::msleep(700); // REC_ORCD's statement runs for seconds
        break;
    }
    QElapsedTimer sinceSignal;
    sinceSignal.start();
    ASSERT_EQ(::kill(static_cast<pid_t>(pid), c.signal), 0);
    ASSERT_TRUE(process.waitForFinished(30000));
    // Starting up, the signal waits for the connection to open; during the run it is taken at once.
    if (c.when != When::StartUp) {
        EXPECT_LT(sinceSignal.elapsed(), 2000);
    }
    out += process.readAllStandardOutput().toStdString();
    const std::string err = process.readAllStandardError().toStdString();
    ASSERT_EQ(process.exitStatus(), QProcess::NormalExit) << err;
    EXPECT_EQ(process.exitCode(), 128 + c.signal) << out << err;
    EXPECT_NE(err.find("interrompido"), std::string::npos) << err;
    EXPECT_EQ(out.find("Finalizei"), std::string::npos) << out;

    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, c.files);
    if (!files.empty()) {
        EXPECT_EQ(ReadBytes(folder / "DED_ORCD.TXT"), "9.7.2.1.01.00;300,00;\r\n");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Signals, CliSignalTest,
    ::testing::Values(SignalCase{"StartUp", When::StartUp, SIGTERM, {}},
                      SignalCase{"DuringStatement", When::DuringStatement, SIGINT, {"DED_ORCD.TXT"}},
                      SignalCase{"BetweenFiles", When::BetweenFiles, SIGHUP, {"DED_ORCD.TXT"}}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

} // namespace
} // namespace lrf::test
