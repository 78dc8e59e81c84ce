// The output folder: the final separator, and the chooser behind "..." opened over real folders.
#include "app/ShellTreeView.h"
#include "app/f_Diretorio.h"
#include "export/DefaultFolders.h"
#include "export/FolderText.h"
#include "settings/Installation.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>
#include <optional>

using namespace Qt::Literals::StringLiterals;
using lrf::ChooseOutputFolder;
using lrf::ShellTreeView;
using lrf::TFrmDiretorio;

namespace {

const QString kBase = QStringLiteral(LRF_TEST_TMP "/folder_chooser");

QString Folder(const QString& name) {
    return kBase + u'/' + name;
}

// Runs `scenario` once the chooser is open inside its modal loop; a scenario that leaves it open (a
// failed check) has it cancelled, so no test hangs. The watch ends with the returned timer, so one that
// never saw the chooser neither leaks nor acts in the next test.
[[nodiscard]] std::unique_ptr<QTimer> WhenChooserOpens(std::function<void(TFrmDiretorio&)> scenario) {
    auto timer = std::make_unique<QTimer>();
    QObject::connect(timer.get(), &QTimer::timeout, [watch = timer.get(), scenario] {
        if (lrf::FrmDiretorio && lrf::FrmDiretorio->isVisible()) {
            watch->stop();
            TFrmDiretorio& dialog = *lrf::FrmDiretorio;
            scenario(dialog);
            if (lrf::FrmDiretorio == &dialog && dialog.isVisible())
                dialog.reject();
        }
    });
    timer->start(5);
    return timer;
}

// Waits until the tree shows the item of `path` and returns its place.
QRect ItemRect(ShellTreeView& tree, const QString& path) {
    QRect rect;
    for (int i = 0; i < 400 && rect.isEmpty(); ++i) {
        const QModelIndex index = tree.IndexOfPath(path);
        if (index.isValid())
            rect = tree.visualRect(index);
        if (rect.isEmpty())
            QTest::qWait(5);
    }
    return rect;
}

// A double click as the system sends it: press and release, then the double click and its release.
void DoubleClick(ShellTreeView& tree, QPoint at) {
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class FolderChooserTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void finalSeparator_data();
    void finalSeparator();
    void rootFollowsTheFolderText_data();
    void rootFollowsTheFolderText();
    void okGivesTheSelectedItem_data();
    void okGivesTheSelectedItem();
    void cancelLeavesTheText_data();
    void cancelLeavesTheText();
    void doubleClickChoosesOnlyWithTagOne();
    void rightClickSelects();
    void otherFoldersShowsTheWholeFileSystem();
    void missingChooserRootOpensNothing_data();
    void missingChooserRootOpensNothing();
    void chooserRootStandsIn_data();
    void chooserRootStandsIn();
    void layout();
};

void FolderChooserTest::initTestCase() {
    QDir(kBase).removeRecursively();
    for (const char* name :
         {"korv", "korv/Empresas", "programa", "Saida", "Saida/Temp", "Saida/.oculto", "Saida/com espaco"})
        QVERIFY(QDir().mkpath(Folder(QString::fromUtf8(name))));
    QFile note(Folder(QStringLiteral("Saida/nota.txt")));
    QVERIFY(note.open(QIODevice::WriteOnly));
    note.write("x");
}

void FolderChooserTest::finalSeparator_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no final separator") << u"/tmp/Saida"_s << u"/tmp/Saida/"_s;
    QTest::newRow("final separator") << u"/tmp/Saida/"_s << u"/tmp/Saida/"_s;
    QTest::newRow("empty") << QString() << u"/"_s;
    QTest::newRow("blanks only") << u"   "_s << u"   /"_s;
    QTest::newRow("blanks after the separator") << u"/tmp/Saida/  "_s << u"/tmp/Saida/  "_s;
    QTest::newRow("blanks around, no separator") << u"  /tmp/Saida  "_s << u"  /tmp/Saida  /"_s;
    QTest::newRow("root") << u"/"_s << u"/"_s;
    QTest::newRow("other separator is a character") << u"C:\\Saida"_s << u"C:\\Saida/"_s;
}

void FolderChooserTest::finalSeparator() {
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QCOMPARE(lrf::WithFinalSeparator(typed), expected);
}

void FolderChooserTest::rootFollowsTheFolderText_data() {
    QTest::addColumn<QString>("folderText");
    QTest::addColumn<QString>("expectedRoot");
    QTest::newRow("existing folder") << Folder(u"Saida"_s) << Folder(u"Saida"_s);
    QTest::newRow("existing folder with separator") << Folder(u"Saida/"_s) << Folder(u"Saida/"_s);
    QTest::newRow("missing folder") << Folder(u"nao/existe/"_s) << Folder(u"programa/"_s);
    QTest::newRow("a file, not a folder") << Folder(u"Saida/nota.txt"_s) << Folder(u"programa/"_s);
    QTest::newRow("existing folder with blanks") << u"  "_s + Folder(u"Saida"_s) << Folder(u"programa/"_s);
    QTest::newRow("empty: the chooser's own root") << QString() << Folder(u"korv/"_s);
}

void FolderChooserTest::rootFollowsTheFolderText() {
    QFETCH(QString, folderText);
    QFETCH(QString, expectedRoot);
    QString root;
    int tag = -1;
    const auto watch = WhenChooserOpens([&](TFrmDiretorio& dialog) {
        root = dialog.ShellTreeView1->Root();
        tag = dialog.Tag;
        dialog.reject();
    });
    const std::optional<QString> chosen =
        ChooseOutputFolder(nullptr, folderText, Folder(u"programa/"_s), Folder(u"korv/"_s));
    QCOMPARE(root, expectedRoot);
    QCOMPARE(tag, 1);
    QVERIFY(!chosen);
    QCOMPARE(lrf::FrmDiretorio, nullptr);
}

void FolderChooserTest::okGivesTheSelectedItem_data() {
    QTest::addColumn<QString>("select"); // empty: the root item, selected when the tree opens
    QTest::addColumn<QString>("expected");
    QTest::newRow("the root item") << QString() << Folder(u"Saida/"_s);
    QTest::newRow("a folder") << Folder(u"Saida/Temp"_s) << Folder(u"Saida/Temp/"_s);
    QTest::newRow("a hidden folder") << Folder(u"Saida/.oculto"_s) << Folder(u"Saida/.oculto/"_s);
    QTest::newRow("a folder with a blank") << Folder(u"Saida/com espaco"_s) << Folder(u"Saida/com espaco/"_s);
    QTest::newRow("a file") << Folder(u"Saida/nota.txt"_s) << Folder(u"Saida/nota.txt/"_s);
}

void FolderChooserTest::okGivesTheSelectedItem() {
    QFETCH(QString, select);
    QFETCH(QString, expected);
    const auto watch = WhenChooserOpens([&](TFrmDiretorio& dialog) {
        if (!select.isEmpty()) {
            const QRect rect = ItemRect(*dialog.ShellTreeView1, select);
            QVERIFY(!rect.isEmpty());
            QTest::mouseClick(dialog.ShellTreeView1->viewport(), Qt::LeftButton, {}, rect.center());
        }
        QTest::mouseClick(dialog.btnOk, Qt::LeftButton);
    });
    const std::optional<QString> chosen =
        ChooseOutputFolder(nullptr, Folder(u"Saida"_s), Folder(u"programa/"_s), Folder(u"korv/"_s));
    QCOMPARE(chosen, std::optional<QString>(expected));
}

void FolderChooserTest::cancelLeavesTheText_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancela") << u"button"_s;
    QTest::newRow("Esc") << u"escape"_s;
    QTest::newRow("close box") << u"close"_s;
    QTest::newRow("OK with nothing selected") << u"nothing"_s;
}

void FolderChooserTest::cancelLeavesTheText() {
    QFETCH(QString, how);
    const auto watch = WhenChooserOpens([&](TFrmDiretorio& dialog) {
        // Something else is selected first: leaving must not take it.
        const QRect rect = ItemRect(*dialog.ShellTreeView1, Folder(u"Saida/Temp"_s));
        QVERIFY(!rect.isEmpty());
        QTest::mouseClick(dialog.ShellTreeView1->viewport(), Qt::LeftButton, {}, rect.center());
        if (how == u"button")
            QTest::mouseClick(dialog.BitBtn2, Qt::LeftButton);
        else if (how == u"escape")
            QTest::keyClick(dialog.ShellTreeView1, Qt::Key_Escape);
        else if (how == u"close")
            dialog.close();
        else {
            dialog.ShellTreeView1->clearSelection();
            QTest::mouseClick(dialog.btnOk, Qt::LeftButton);
        }
        QVERIFY(!dialog.isVisible());
    });
    QCOMPARE(ChooseOutputFolder(nullptr, Folder(u"Saida"_s), Folder(u"programa/"_s), Folder(u"korv/"_s)),
             std::nullopt);
}

void FolderChooserTest::doubleClickChoosesOnlyWithTagOne() {
    // Tag 1, as "..." opens it: the double-clicked item is chosen at once.
    const auto watch = WhenChooserOpens([&](TFrmDiretorio& dialog) {
        const QRect rect = ItemRect(*dialog.ShellTreeView1, Folder(u"korv/Empresas"_s));
        QVERIFY(!rect.isEmpty());
        DoubleClick(*dialog.ShellTreeView1, rect.center());
        QVERIFY(!dialog.isVisible());
    });
    QCOMPARE(ChooseOutputFolder(nullptr, QString(), Folder(u"programa/"_s), Folder(u"korv/"_s)),
             std::optional<QString>(Folder(u"korv/Empresas/"_s)));

    // Tag 0: a double click does nothing special.
    TFrmDiretorio dialog(nullptr, Folder(u"korv"_s));
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QRect rect = ItemRect(*dialog.ShellTreeView1, Folder(u"korv/Empresas"_s));
    QVERIFY(!rect.isEmpty());
    DoubleClick(*dialog.ShellTreeView1, rect.center());
    QTest::qWait(20);
    QVERIFY(dialog.isVisible());
    QCOMPARE(finished.count(), 0);
    QCOMPARE(dialog.ShellTreeView1->Path(), QDir::toNativeSeparators(Folder(u"korv/Empresas"_s)));
}

void FolderChooserTest::rightClickSelects() {
    TFrmDiretorio dialog(nullptr, Folder(u"Saida"_s));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.ShellTreeView1->Path(), Folder(u"Saida"_s));
    const QRect rect = ItemRect(*dialog.ShellTreeView1, Folder(u"Saida/Temp"_s));
    QVERIFY(!rect.isEmpty());
    QTest::mouseClick(dialog.ShellTreeView1->viewport(), Qt::RightButton, {}, rect.center());
    QCOMPARE(dialog.ShellTreeView1->Path(), Folder(u"Saida/Temp"_s));
}

void FolderChooserTest::otherFoldersShowsTheWholeFileSystem() {
    TFrmDiretorio dialog(nullptr, Folder(u"Saida"_s));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(dialog.BitBtn1, Qt::LeftButton);
    QVERIFY(dialog.isVisible());
    ShellTreeView& tree = *dialog.ShellTreeView1;
    QCOMPARE(tree.Root(), u"rfDesktop"_s);
    // One top item, the top of the file system, with every folder under it.
    QCOMPARE(tree.model()->rowCount(tree.rootIndex()), 1);
    QCOMPARE(tree.Path(), u"/"_s);
    QVERIFY(!ItemRect(tree, u"/tmp"_s).isEmpty());
    // And back to a folder: only that folder is on top again.
    tree.SetRoot(Folder(u"korv"_s));
    QCOMPARE(tree.model()->rowCount(tree.rootIndex()), 1);
    QCOMPARE(tree.Path(), Folder(u"korv"_s));
}

void FolderChooserTest::missingChooserRootOpensNothing_data() {
    QTest::addColumn<QString>("folderText");
    QTest::newRow("existing folder") << Folder(u"Saida"_s);
    QTest::newRow("missing folder") << Folder(u"nao/existe"_s);
    QTest::newRow("empty") << QString();
}

void FolderChooserTest::missingChooserRootOpensNothing() {
    QFETCH(QString, folderText);
    bool opened = false;
    const auto watch = WhenChooserOpens([&](TFrmDiretorio&) { opened = true; });
    const QString root = Folder(u"sem-korv/"_s);
    QString error;
    try {
        ChooseOutputFolder(nullptr, folderText, Folder(u"programa/"_s), root);
    } catch (const std::exception& e) {
        error = QString::fromUtf8(e.what());
    }
    QCOMPARE(error, u"Error setting path: \""_s + root + u'"');
    QTest::qWait(20);
    QVERIFY(!opened);
    QCOMPARE(lrf::FrmDiretorio, nullptr);
    for (QWidget* window : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<TFrmDiretorio*>(window));
}

// Off Windows the fixed root seldom exists: the installation's database folder, then the home folder,
// stand in for it, and the chooser opens there.
void FolderChooserTest::chooserRootStandsIn_data() {
    QTest::addColumn<bool>("korvInHome");
    QTest::addColumn<QString>("databaseFolder"); // Caminho_Base_Dados; empty: no settings file
    QTest::addColumn<QString>("expected");
    const QString home = Folder(u"home"_s);
    QTest::newRow("~/KORV_8 exists") << true << Folder(u"korv"_s) << home + u"/KORV_8/"_s;
    QTest::newRow("database folder") << false << Folder(u"korv"_s) << Folder(u"korv/"_s);
    QTest::newRow("database folder missing") << false << Folder(u"nao/existe/"_s) << home + u'/';
    QTest::newRow("no settings") << false << QString() << home + u'/';
}

void FolderChooserTest::chooserRootStandsIn() {
    QFETCH(bool, korvInHome);
    QFETCH(QString, databaseFolder);
    QFETCH(QString, expected);
    const QString home = Folder(u"home"_s);
    QDir(home).removeRecursively();
    QVERIFY(QDir().mkpath(home));
    if (korvInHome)
        QVERIFY(QDir().mkpath(home + u"/KORV_8"_s));
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home));
    const QString ini = Folder(u"Korv.ini"_s);
    if (!databaseFolder.isEmpty()) {
        QFile file(ini);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[KORV]\r\nano=2024\r\nCaminho_Base_Dados=" + QFile::encodeName(databaseFolder) + "\r\n");
        file.close();
        lrf::UseSettingsFile(QFile::encodeName(ini).toStdString());
    } else {
        lrf::UseSettingsFile(QFile::encodeName(Folder(u"nao/Korv.ini"_s)).toStdString());
    }
    const QString root = lrf::ChooserRoot();
    const TFrmDiretorio dialog; // created with the program's own root: it opens
    qputenv("HOME", oldHome);
    lrf::UseSettingsFile({});
    QCOMPARE(root, expected);
    QCOMPARE(dialog.ShellTreeView1->Root(), expected);
}

void FolderChooserTest::layout() {
    TFrmDiretorio dialog(nullptr, Folder(u"korv"_s));
    QCOMPARE(dialog.windowTitle(), u"Selecione a Entidade ..."_s);
    QCOMPARE(dialog.size(), QSize(385, 220));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QCOMPARE(dialog.ShellTreeView1->mapTo(&dialog, QPoint(0, 0)), QPoint(9, 9));
    QCOMPARE(dialog.ShellTreeView1->size(), QSize(367, 168));
    QCOMPARE(dialog.ShellTreeView1->indentation(), 19);
    QVERIFY(dialog.btnOk->isDefault());
    QCOMPARE(dialog.btnOk->mapTo(&dialog, QPoint(0, 0)), QPoint(208, 184));
    QCOMPARE(dialog.BitBtn2->text(), u"Cancela"_s);
    QCOMPARE(dialog.BitBtn1->text(), u"Outras Pastas"_s);
    QCOMPARE(dialog.font().family(), u"MS Sans Serif"_s);
    QCOMPARE(dialog.font().pixelSize(), 11);
    // Where that face is missing, the one closest to it; the captions fit their buttons.
    if (!QFontDatabase::hasFamily(u"MS Sans Serif"_s))
        QCOMPARE(QFontInfo(dialog.font()).family(), u"Liberation Sans"_s);
    for (QPushButton* button : {dialog.BitBtn1, dialog.btnOk, dialog.BitBtn2}) {
        QStyleOptionButton option;
        option.initFrom(button);
        const int room =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
        const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
        const int needed = button->fontMetrics().horizontalAdvance(button->text()) + icon;
        QVERIFY2(needed <= room, qPrintable(u"%1: %2 > %3"_s.arg(button->text()).arg(needed).arg(room)));
    }
    QCOMPARE(dialog.ShellTreeView1->font().pixelSize(), 11);
}

QTEST_MAIN(FolderChooserTest)
#include "FolderChooserTest.moc"
