// The window while a run's statement keeps the engine busy: it stays painted with a wait cursor, takes
// no second run, and a signal closes it at once, the file being written discarded.
#include "AppFixtures.h"
#include "AppTestRegistry.h"
#include "SlowStatement.h"

#include "app/EndOnSignal.h"
#include "app/Principal.h"
#include "app/TerminationSignals.h"
#include "settings/Installation.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

class WindowRunTest : public QObject {
    Q_OBJECT
    std::unique_ptr<lrf::TFrmPrincipalLRF> window;
    fs::path folder;

    template <class Widget = QWidget> Widget* Find(const QString& name) const {
        return window->findChild<Widget*>(name);
    }

    // The window over a database whose REC_ORCD statement takes about `seconds`, REC_ORCD ticked.
    void Open(const std::string& name, double seconds) {
        lrf::UseSettingsFile(lrf::test::MakeInstallation(
            name, "2024", true, lrf::test::SlowStatementDatabase(static_cast<long>(seconds * 3000000))));
        window = std::make_unique<lrf::TFrmPrincipalLRF>(lrf::test::DriverFolder());
        QVERIFY(window->StartedUp());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        folder = fs::path(LRF_TEST_TMP) / ("app-run-" + name);
        fs::remove_all(folder);
        Find<QComboBox>(QStringLiteral("cbBimestre"))->setCurrentIndex(1);
        Find<QLineEdit>(QStringLiteral("edDiretorio"))
            ->setText(QString::fromStdString(folder.string() + "/"));
        Find<QCheckBox>(QStringLiteral("cbRec_orcd"))->setChecked(true);
    }

private slots:
    void cleanup() {
        window.reset();
        lrf::UseSettingsFile({});
    }

    // A timer of the window's thread keeps firing and the log keeps being painted while the statement
    // runs; the wait cursor shows meanwhile; a second "&Exportar" starts nothing.
    void staysPaintedDuringAStatement() {
        Open("slow", 1.5);
        auto* log = Find<QPlainTextEdit>(QStringLiteral("Memo1"));
        PaintCounter counter;
        log->viewport()->installEventFilter(&counter);
        int ticks = 0;
        int paintsDuringRun = 0;
        QTimer timer;
        timer.setInterval(50);
        connect(&timer, &QTimer::timeout, this, [&] {
            if (!window->Exporting())
                return;
            ++ticks;
            paintsDuringRun = counter.paints;
            log->viewport()->update();
        });
        timer.start();

        Find<QPushButton>(QStringLiteral("BitBtn1"))->click();
        QVERIFY(window->Exporting());
        QVERIFY(QApplication::overrideCursor() != nullptr);
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        Find<QPushButton>(QStringLiteral("BitBtn1"))->click(); // ignored: a run is going
        QTRY_VERIFY_WITH_TIMEOUT(!window->Exporting(), 30000);
        QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));
        QVERIFY2(paintsDuringRun >= 5, qPrintable(QString::number(paintsDuringRun)));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(log->toPlainText(),
                 QStringLiteral("Arquivo REC_ORCD.TXT criado com sucesso !\n.: Finalizei :.\n"
                                "1 arquivo(s) criado(s) com sucesso!\n"
                                "0 arquivo(s) não criado(s) por algum erro!"));
        QCOMPARE(ReadAll(folder / "REC_ORCD.TXT"), std::string(lrf::test::kSlowRecOrcd));
        QTest::qWait(100);
        QVERIFY(!window->Exporting()); // the second press left nothing behind
    }

    // While a run goes on, what the operator does to the window is dropped, not kept for later: a
    // click on "Todos", "&Exportar" or "&Fechar", or a key, changes nothing once the run is over.
    void takesNoInputMeanwhile_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("key");
        QTest::newRow("click on Todos") << QStringLiteral("CheckBox2") << false;
        QTest::newRow("space on Todos") << QStringLiteral("CheckBox2") << true;
        QTest::newRow("click on a file box") << QStringLiteral("cbDed_Orcd") << false;
        QTest::newRow("click on Exportar") << QStringLiteral("BitBtn1") << false;
        QTest::newRow("click on Fechar") << QStringLiteral("SpeedButton2") << false;
        QTest::newRow("a bimester key") << QStringLiteral("cbBimestre") << true;
    }
    void takesNoInputMeanwhile() {
        QFETCH(QString, target);
        QFETCH(bool, key);
        Open("busy", 0.5);
        auto* bimester = Find<QComboBox>(QStringLiteral("cbBimestre"));
        QWidget* widget = Find(target);
        bool sent = false;
        // Fires while the statement runs; a second run would meet the bimester message.
        QTimer::singleShot(100, window.get(), [&] {
            QVERIFY(window->Exporting());
            bimester->setCurrentIndex(-1);
            if (key) {
                widget->setFocus();
                QTest::keyClick(widget, target == u"cbBimestre" ? Qt::Key_Down : Qt::Key_Space);
            } else {
                QTest::mouseClick(widget, Qt::LeftButton);
            }
            sent = true;
        });
        lrf::test::BoxCloser closer;
        Find<QPushButton>(QStringLiteral("BitBtn1"))->click();
        QTRY_VERIFY_WITH_TIMEOUT(!window->Exporting(), 30000);
        QVERIFY(sent);
        QTest::qWait(50);
        QVERIFY(closer.boxes.empty());
        QVERIFY(window->isVisible());
        QCOMPARE(bimester->currentIndex(), -1);
        QVERIFY(!Find<QCheckBox>(QStringLiteral("CheckBox2"))->isChecked());
        QVERIFY(!Find<QCheckBox>(QStringLiteral("cbDed_Orcd"))->isChecked());
        QVERIFY(Find<QCheckBox>(QStringLiteral("cbRec_orcd"))->isChecked());
        QVERIFY(
            Find<QPlainTextEdit>(QStringLiteral("Memo1"))
                ->toPlainText()
                .startsWith(QStringLiteral("Arquivo REC_ORCD.TXT criado com sucesso !\n.: Finalizei :.")));
        // Once the run is over the window takes input again.
        QTest::mouseClick(Find(QStringLiteral("CheckBox2")), Qt::LeftButton);
        QVERIFY(Find<QCheckBox>(QStringLiteral("cbDed_Orcd"))->isChecked());
    }

    // A real SIGTERM to this process during a statement: the window stops the run and closes within a
    // moment; REC_ORCD.TXT is never put in place.
    void signalDuringARunClosesTheWindow() {
        lrf::TerminationSignals watcher;
        watcher.OnSignal([](int) { lrf::EndOnSignal(); });
        Open("signal", 20);
        Find<QPushButton>(QStringLiteral("BitBtn1"))->click();
        QTest::qWait(500);
        QVERIFY(window->Exporting());
        QElapsedTimer sinceSignal;
        sinceSignal.start();
        QCOMPARE(::kill(::getpid(), SIGTERM), 0);
        QTRY_VERIFY_WITH_TIMEOUT(!window->isVisible(), 2000);
        QVERIFY(sinceSignal.elapsed() < 2000);
        QCOMPARE(watcher.Received(), SIGTERM);
        QVERIFY(!window->Exporting());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QVERIFY(fs::is_directory(folder));
        QVERIFY(fs::is_empty(folder));
    }
};

LRF_APP_TEST(WindowRunTest)
#include "WindowRunTest.moc"
