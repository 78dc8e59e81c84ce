// lrf-tce itself, offscreen, given a real signal in each state: starting up, idle, showing the start-up
// message, showing the package information window. It ends within two seconds with 128 + the number.
#include "../cli/ProcessState.h"
#include "AppFixtures.h"
#include "AppTestRegistry.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/types.h>

namespace fs = std::filesystem;

namespace {

enum class When { StartUp, Idle };

// lrf-tce and its driver copied to a folder of their own, beside a Korv.ini that names `ini`'s
// installation (the program reads the settings file beside itself).
QString ProgramFolder(const std::string& name, const std::string& ini) {
    const fs::path folder = fs::path(LRF_TEST_TMP) / ("app-bin-" + name);
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::copy_file(LRF_BIN_DIR "/lrf-tce", folder / "lrf-tce");
    fs::copy_file(LRF_BIN_DIR "/dbexpida.dll", folder / "dbexpida.dll");
    fs::copy_file(ini, folder / "Korv.ini");
    return QString::fromStdString(folder.string());
}

} // namespace

Q_DECLARE_METATYPE(When)

class ProgramSignalTest : public QObject {
    Q_OBJECT
private slots:
    void endsOnSignal_data() {
        QTest::addColumn<bool>("withDatabase");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<When>("when");
        QTest::addColumn<int>("signal");
        QTest::newRow("starting up") << true << QStringList() << When::StartUp << SIGTERM;
        QTest::newRow("idle") << true << QStringList() << When::Idle << SIGTERM;
        QTest::newRow("idle, interrupted") << true << QStringList() << When::Idle << SIGINT;
        QTest::newRow("start-up message") << false << QStringList() << When::Idle << SIGHUP;
        QTest::newRow("package information")
            << true << QStringList{QStringLiteral("design")} << When::Idle << SIGTERM;
    }
    void endsOnSignal() {
        QFETCH(bool, withDatabase);
        QFETCH(QStringList, arguments);
        QFETCH(When, when);
        QFETCH(int, signal);
        const std::string ini = withDatabase ? lrf::test::EntitiesInstallation()
                                             : lrf::test::MakeInstallation("program-nodb", "2024", false, {});
        const QString folder = ProgramFolder(withDatabase ? "db" : "nodb", ini);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(environment);
        program.start(folder + QStringLiteral("/lrf-tce"), arguments);
        QVERIFY(program.waitForStarted());
        const qint64 pid = program.processId();
        if (when == When::StartUp) {
            QVERIFY(lrf::test::WaitFor(pid, lrf::test::HoldsSignals));
        } else {
            QVERIFY(lrf::test::WaitFor(pid, lrf::test::HandlesSignals));
            QTest::qWait(300); // the window, box or package list is up by now
            QCOMPARE(program.state(), QProcess::Running);
        }
        QElapsedTimer sinceSignal;
        sinceSignal.start();
        QCOMPARE(::kill(static_cast<pid_t>(pid), signal), 0);
        QVERIFY(program.waitForFinished(10000));
        // Starting up, the signal waits for the connection to open; in every other state it is at once.
        if (when != When::StartUp)
            QVERIFY2(sinceSignal.elapsed() < 2000, qPrintable(QString::number(sinceSignal.elapsed())));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 128 + signal);
    }
};

LRF_APP_TEST(ProgramSignalTest)
#include "ProgramSignalTest.moc"
