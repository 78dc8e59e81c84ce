// The package information window over the program's real module list: this test program, the real
// driver module loaded by a real connection, tables registered like a module's, and a module built
// without package information.
#include "app/HandlerGuard.h"
#include "app/PackForm.h"
#include "database/Connection.h"
#include "database/DynamicLibrary.h"
#include "database/ModuleList.h"
#include "settings/Installation.h"
#include "tools/DatabaseWriter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <filesystem>
#include <functional>
#include <memory>

using namespace Qt::Literals::StringLiterals;
using lrf::TForm1;

namespace {

// The texts of `node`'s children, in order.
QStringList Children(const QTreeWidgetItem* node) {
    QStringList texts;
    for (int i = 0; i < node->childCount(); ++i)
        texts << node->child(i)->text(0);
    return texts;
}

QStringList TopLevel(const QTreeWidget& tree) {
    QStringList texts;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        texts << tree.topLevelItem(i)->text(0);
    return texts;
}

QString ProgramPath() {
    return QString::fromStdString(lrf::ExecutablePath());
}

struct BoxSeen {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Watches for message boxes while it lives, records each and presses its OK.
class BoxWatcher {
public:
    BoxWatcher() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(window);
                if (box && box->isVisible()) {
                    seen.push_back({box->windowTitle(), box->text(), box->icon()});
                    box->accept();
                }
            }
        });
        timer_.start(5);
    }
    std::vector<BoxSeen> seen;

private:
    QTimer timer_;
};

// The window as the program creates it, kept by the test; a BoxWatcher answers its error box.
std::unique_ptr<TForm1> CreateWindow() {
    auto window = std::make_unique<TForm1>();
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    return window;
}

// The node of the module at `path`, or nullptr.
const QTreeWidgetItem* ModuleNode(const QTreeWidget& tree, const QString& path) {
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        if (tree.topLevelItem(i)->text(0) == path)
            return tree.topLevelItem(i);
    return nullptr;
}

} // namespace

class PackageInformationTest : public QObject {
    Q_OBJECT
private slots:
    void unitFlags_data();
    void unitFlags();
    void programAlone();
    void driverLoadedByTheConnection();
    void levelTwoNodes_data();
    void levelTwoNodes();
    void longPathIsCut();
    void moduleWithoutPackageInformation();
    void escapeClosesAndFrees();
    void layout();
};

void PackageInformationTest::unitFlags_data() {
    QTest::addColumn<unsigned>("flags");
    QTest::addColumn<QString>("text");
    QTest::newRow("none") << 0u << u" "_s;
    QTest::newRow("main") << 1u << u" ( Main Unit )"_s;
    QTest::newRow("package") << 2u << u" ( Package Unit )"_s;
    QTest::newRow("weak") << 4u << u" ( Weak Unit )"_s;
    QTest::newRow("main and weak") << (1u | 4u) << u" ( Main Unit Weak Unit )"_s;
    QTest::newRow("all three") << (1u | 2u | 4u) << u" ( Main Unit Package Unit Weak Unit )"_s;
    QTest::newRow("another bit only") << 8u << u" "_s;
    QTest::newRow("another bit with main") << (8u | 1u) << u" ( Main Unit )"_s;
}

void PackageInformationTest::unitFlags() {
    QFETCH(unsigned, flags);
    QFETCH(QString, text);
    QCOMPARE(lrf::UnitFlagsText(flags), text);
}

void PackageInformationTest::programAlone() {
    BoxWatcher boxes;
    const auto window = CreateWindow();
    QCOMPARE(TopLevel(*window->TreeView1), QStringList{ProgramPath()});
    const QTreeWidgetItem* program = window->TreeView1->topLevelItem(0);
    QCOMPARE(Children(program), (QStringList{u"Contains"_s, u"Requires"_s}));
    const QStringList units = Children(program->child(0));
    // The build's table: the file with main() first, then the package units, those linked in included.
    QCOMPARE(units.value(0), u"PackageInformationTest ( Main Unit )"_s);
    QVERIFY(units.contains(u"PackForm ( Package Unit )"_s));
    QVERIFY(units.contains(u"ModuleList ( Package Unit )"_s));
    QCOMPARE(units.count(u"PackageInformationTest ( Main Unit )"_s), 1);
    QCOMPARE(program->child(1)->childCount(), 0);
    QVERIFY(boxes.seen.empty());
}

void PackageInformationTest::driverLoadedByTheConnection() {
    const std::string database = LRF_TEST_TMP "/package_information.fdb";
    std::filesystem::remove(database);
    lrf::tools::DatabaseWriter::Create(database);
    const QString driverPath = QStringLiteral(LRF_BIN_DIR "/dbexpida.dll");
    {
        lrf::TCRSQLConnection connection;
        lrf::ApplyDesignTimeSettings(connection);
        connection.LibraryName = driverPath.toStdString();
        connection.SetParam("DataBase", database);
        connection.Open();

        BoxWatcher boxes;
        const auto window = CreateWindow();
        QCOMPARE(TopLevel(*window->TreeView1), (QStringList{ProgramPath(), driverPath}));
        const QTreeWidgetItem* driver = window->TreeView1->topLevelItem(1);
        QCOMPARE(Children(driver),
                 (QStringList{u"Contains"_s, u"Requires"_s,
                              u"Description: Driver de acesso InterBase/Firebird"_s, u"Run Only"_s}));
        const QStringList units = Children(driver->child(0));
        QCOMPARE(units.value(0), u"FirebirdDriver ( Main Unit )"_s);
        QVERIFY(units.contains(u"ClientLibrary ( Package Unit )"_s));
        QVERIFY(!units.contains(u"PackForm ( Package Unit )"_s));
        QVERIFY(boxes.seen.empty());
    }
    // Unloaded with its connection: gone from the list.
    BoxWatcher boxes;
    const auto window = CreateWindow();
    QCOMPARE(TopLevel(*window->TreeView1), QStringList{ProgramPath()});
}

void PackageInformationTest::levelTwoNodes_data() {
    QTest::addColumn<QByteArray>("description");
    QTest::addColumn<unsigned>("flags");
    QTest::addColumn<QStringList>("expected");
    const QStringList base{u"Contains"_s, u"Requires"_s};
    QTest::newRow("no description, run only") << QByteArray() << 4u << base;
    QTest::newRow("no description, both bits") << QByteArray() << 6u << base;
    QTest::newRow("description, no bits")
        << QByteArray("Pacote") << 0u << base + QStringList{u"Description: Pacote"_s};
    QTest::newRow("description, design only")
        << QByteArray("Pacote") << 2u << base + QStringList{u"Description: Pacote"_s, u"Design Only"_s};
    QTest::newRow("description, both bits")
        << QByteArray("Pacote") << 6u
        << base + QStringList{u"Description: Pacote"_s, u"Design Only"_s, u"Run Only"_s};
    QTest::newRow("description in UTF-8, other bits")
        << QByteArray("Relat\xC3\xB3rios") << (1u | 8u) << base + QStringList{u"Description: Relatórios"_s};
}

void PackageInformationTest::levelTwoNodes() {
    QFETCH(QByteArray, description);
    QFETCH(unsigned, flags);
    QFETCH(QStringList, expected);
    const char* const required[] = {"rtl", "vcl", "dbrtl"};
    const LrfPackageUnit units[] = {{"Pacote", 1}, {"Tela", 2}, {"Fraca", 4}, {"Outra", 0}};
    const LrfPackageInfo info{kLrfPackageInfoVersion, flags, description.constData(), required, 3, units, 4};
    const lrf::ModuleRegistration registration("/opt/pacotes/pacote.bpl", &info);

    BoxWatcher boxes;
    const auto window = CreateWindow();
    const QTreeWidgetItem* module = ModuleNode(*window->TreeView1, u"/opt/pacotes/pacote.bpl"_s);
    QVERIFY(module);
    QCOMPARE(Children(module), expected);
    QCOMPARE(Children(module->child(0)), (QStringList{u"Pacote ( Main Unit )"_s, u"Tela ( Package Unit )"_s,
                                                      u"Fraca ( Weak Unit )"_s, u"Outra "_s}));
    QCOMPARE(Children(module->child(1)), (QStringList{u"rtl"_s, u"vcl"_s, u"dbrtl"_s}));
}

void PackageInformationTest::longPathIsCut() {
    const std::string path = "/" + std::string(240, 'p') + "/pacote.bpl";
    const LrfPackageInfo info{kLrfPackageInfoVersion, 0, "", nullptr, 0, nullptr, 0};
    const lrf::ModuleRegistration registration(path, &info);
    BoxWatcher boxes;
    const auto window = CreateWindow();
    const QStringList top = TopLevel(*window->TreeView1);
    QCOMPARE(top.size(), 2);
    QCOMPARE(top.at(1), QString::fromStdString(path.substr(0, 199)));
    QVERIFY(boxes.seen.empty());
}

void PackageInformationTest::moduleWithoutPackageInformation() {
    const std::string barePath = LRF_BIN_DIR "/lrfbare.dll";
    std::string reason;
    const lrf::DynamicLibrary bare = lrf::DynamicLibrary::Load(barePath, reason);
    QVERIFY2(bare.Loaded(), reason.c_str());
    const lrf::ModuleRegistration bareEntry = lrf::RegisterLoadedModule(barePath, bare);
    // A module listed after it is never reached.
    const LrfPackageInfo info{kLrfPackageInfoVersion, 0, "Depois", nullptr, 0, nullptr, 0};
    const lrf::ModuleRegistration later("/opt/pacotes/depois.bpl", &info);

    BoxWatcher boxes;
    const auto window = CreateWindow();
    QCOMPARE(boxes.seen.size(), 1u);
    QCOMPARE(boxes.seen[0].caption, u"LRF - TCE-MT"_s);
    QCOMPARE(boxes.seen[0].text, u"Cannot access package information for package 'lrfbare.dll'"_s);
    QCOMPARE(boxes.seen[0].icon, QMessageBox::Critical);
    // The nodes added so far stay.
    QCOMPARE(TopLevel(*window->TreeView1), (QStringList{ProgramPath(), QString::fromStdString(barePath)}));
    QVERIFY(window->TreeView1->topLevelItem(0)->child(0)->childCount() > 0);
    const QTreeWidgetItem* module = window->TreeView1->topLevelItem(1);
    QCOMPARE(Children(module), (QStringList{u"Contains"_s, u"Requires"_s}));
    QCOMPARE(module->child(0)->childCount(), 0);
    QCOMPARE(module->child(1)->childCount(), 0);
}

void PackageInformationTest::escapeClosesAndFrees() {
    struct Case {
        const char* name;
        std::function<void(TForm1&)> close;
    };
    const Case cases[] = {
        {"Esc in the tree", [](TForm1& w) { QTest::keyClick(w.TreeView1, Qt::Key_Escape); }},
        {"Esc on the window", [](TForm1& w) { QTest::keyClick(&w, Qt::Key_Escape); }},
        {"close box", [](TForm1& w) { w.close(); }},
    };
    for (const Case& c : cases) {
        QPointer<TForm1> seen;
        bool stayedAfterOtherKey = false;
        QTimer::singleShot(0, [&] {
            seen = lrf::Form1;
            if (!seen)
                return;
            QTest::keyClick(seen->TreeView1, Qt::Key_A);
            QTest::keyClick(seen->TreeView1, Qt::Key_Return);
            stayedAfterOtherKey = seen->isVisible();
            c.close(*seen);
            if (seen && seen->isVisible())
                seen->reject();
        });
        lrf::ShowPackageInformation();
        QVERIFY2(stayedAfterOtherKey, c.name);
        QVERIFY2(seen.isNull(), c.name);
        QCOMPARE(lrf::Form1, nullptr);
    }
}

void PackageInformationTest::layout() {
    BoxWatcher boxes;
    const auto window = CreateWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(window->windowTitle(), u"Package Information"_s);
    QCOMPARE(window->frameGeometry().size(), QSize(588, 415));
    QVERIFY(window->minimumSize() != window->maximumSize());
    QCOMPARE(window->font().family(), u"MS Sans Serif"_s);
    QCOMPARE(window->font().pixelSize(), 11);
    const QTreeWidget& tree = *window->TreeView1;
    QCOMPARE(tree.geometry(), window->rect());
    QCOMPARE(tree.font().family(), u"Courier New"_s);
    QCOMPARE(tree.font().pixelSize(), 11);
    QCOMPARE(tree.indentation(), 19);
    QCOMPARE(tree.palette().color(QPalette::Base), QColor(Qt::black));
    QCOMPARE(tree.palette().color(QPalette::Text), QColor(0, 255, 0));
}

QTEST_MAIN(PackageInformationTest)
#include "PackageInformationTest.moc"
