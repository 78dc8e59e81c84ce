// The main window over a real database: its controls, "Todos", the entity list, the title and the run.
#include "AppFixtures.h"
#include "AppTestRegistry.h"

#include "app/FileCheckWindow.h"
#include "app/Principal.h"
#include "export/DefaultFolders.h"
#include "settings/Installation.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QToolTip>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

QString Caption(const QWidget* widget) {
    if (auto* box = qobject_cast<const QGroupBox*>(widget))
        return box->title();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (auto* edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text();
    return {};
}

const QStringList kFileBoxes = {
    QStringLiteral("cbDed_Orcd"), QStringLiteral("cbDed_rzda"), QStringLiteral("cbDes_orcd"),
    QStringLiteral("cbDes_rzda"), QStringLiteral("cbDfs_orcd"), QStringLiteral("cbDfs_rzda"),
    QStringLiteral("cbDiv_rzda"), QStringLiteral("cbDpr_orcd"), QStringLiteral("cbDpr_rzda"),
    QStringLiteral("cbDso_orcd"), QStringLiteral("cbDsa_orcd"), QStringLiteral("cbRec_orcd"),
    QStringLiteral("cbRec_rzda")};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<lrf::TFrmPrincipalLRF> window;

    template <class Widget = QWidget> Widget* Find(const QString& name) const {
        return window->findChild<Widget*>(name);
    }

private slots:
    void init() {
        lrf::UseSettingsFile(lrf::test::EntitiesInstallation());
        lrf::test::BoxCloser closer;
        window = std::make_unique<lrf::TFrmPrincipalLRF>(lrf::test::DriverFolder());
        QVERIFY(window->StartedUp());
        QCOMPARE(window->windowTitle(), QStringLiteral("Exportar LRF Zelvar - TCE-MT"));
        window->show();
        QVERIFY(closer.boxes.empty());
        QCOMPARE(lrf::FrmPrincipalLRF, window.get());
    }
    void cleanup() {
        window.reset();
        lrf::UseSettingsFile({});
    }

    void controls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("caption");
        auto row = [](const char* name, const char* kind, const char* parent, QRect geometry,
                      QString caption) {
            QTest::newRow(name) << QString::fromUtf8(name) << QString::fromUtf8(kind)
                                << QString::fromUtf8(parent) << geometry << caption;
        };
        row("Panel1", "QFrame", "FrmPrincipalLRF", {0, 0, 522, 113}, {});
        row("GroupBox1", "QGroupBox", "FrmPrincipalLRF", {0, 113, 522, 129}, QStringLiteral(" Arquivos: "));
        row("Panel2", "QFrame", "FrmPrincipalLRF", {0, 242, 522, 73}, {});
        row("Memo1", "QPlainTextEdit", "FrmPrincipalLRF", {0, 315, 522, 134}, {});
        row("GroupBox3", "QGroupBox", "Panel1", {8, 8, 129, 44}, QStringLiteral(" Bimestre: "));
        row("cbBimestre", "QComboBox", "GroupBox3", {8, 16, 113, 21}, {});
        row("Label1", "QLabel", "Panel1", {}, QStringLiteral("Entidade:"));
        row("Lista", "QListWidget", "Panel1", {144, 17, 361, 88}, {});
        row("SpeedButton2", "QToolButton", "Panel1", {24, 64, 89, 41}, QStringLiteral("&Fechar"));
        row("CheckBox2", "QCheckBox", "GroupBox1", {64, 0, 65, 17}, QStringLiteral("Todos"));
        const char* captions[] = {"Ded_orcd.txt", "Ded_rzda.txt", "Des_orcd.txt", "Des_rzda.txt",
                                  "Dfs_orcd.txt", "Dfs_rzda.txt", "Div_rzda.txt", "Dpr_orcd.txt",
                                  "Dpr_rzda.txt", "Dso_orcd.txt", "Dsa_orcd.txt", "Rec_orcd.txt",
                                  "Rec_rzda.txt"};
        for (int i = 0; i < 13; ++i) {
            const QRect geometry = i < 6    ? QRect(12, 19 + 16 * i, 100, 17)
                                   : i < 12 ? QRect(116, 19 + 16 * (i - 6), 100, 17)
                                            : QRect(230, 18, 100, 17);
            row(kFileBoxes[i].toUtf8().constData(), "QCheckBox", "GroupBox1", geometry,
                QString::fromUtf8(captions[i]));
        }
        row("GroupBox2", "QGroupBox", "Panel2", {8, 1, 409, 49},
            QStringLiteral(" Diretório para criação dos arquivos: "));
        row("edDiretorio", "QLineEdit", "GroupBox2", {8, 20, 369, 21}, lrf::DefaultOutputFolder());
        row("SpeedButton1", "QToolButton", "GroupBox2", {377, 19, 23, 22}, QStringLiteral("..."));
        row("BitBtn1", "QPushButton", "Panel2", {430, 17, 75, 25}, QStringLiteral("&Exportar"));
        row("BitBtn2", "QPushButton", "GroupBox1", {430, 96, 75, 25}, QStringLiteral("Co&nferir"));
        row("PrBar", "QProgressBar", "Panel2", {1, 52, 520, 10}, {});
        row("PBAR2", "QProgressBar", "Panel2", {1, 62, 520, 10}, {});
    }
    void controls() {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, parent);
        QFETCH(QRect, geometry);
        QFETCH(QString, caption);
        QWidget* widget = Find(name);
        QVERIFY2(widget != nullptr, qPrintable(name));
        QCOMPARE(QString::fromUtf8(widget->metaObject()->className()), kind);
        QCOMPARE(widget->parentWidget()->objectName(), parent);
        if (geometry.isValid())
            QCOMPARE(widget->geometry(), geometry);
        QCOMPARE(Caption(widget), caption);
        if (auto* box = qobject_cast<QCheckBox*>(widget))
            QVERIFY(!box->isChecked());
    }

    void windowAndDetails() {
        QCOMPARE(window->size(), QSize(522, 449));
        // Centred by its outer frame (here, without a window manager, the frame is the client area).
        QTRY_COMPARE(window->frameGeometry().center(), window->screen()->availableGeometry().center());
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window->windowFlags() & Qt::WindowMinimizeButtonHint);
        QCOMPARE(Find<QLabel>(QStringLiteral("Label1"))->pos(), QPoint(146, 2));
        auto* bimester = Find<QComboBox>(QStringLiteral("cbBimestre"));
        QCOMPARE(bimester->currentIndex(), -1);
        QCOMPARE(bimester->count(), 6);
        QCOMPARE(bimester->itemText(0), QStringLiteral("1º Bim"));
        QCOMPARE(bimester->itemText(5), QStringLiteral("6º Bim"));
        QVERIFY(!bimester->isEditable());
        for (const char* red : {"cbDiv_rzda", "cbDpr_orcd", "cbDpr_rzda"})
            QCOMPARE(Find(QString::fromUtf8(red))->palette().color(QPalette::WindowText), QColor(Qt::red));
        QVERIFY(Find(QStringLiteral("cbDso_orcd"))->palette().color(QPalette::WindowText) != QColor(Qt::red));
        const QPalette memo = Find(QStringLiteral("Memo1"))->palette();
        QCOMPARE(memo.color(QPalette::Base), QColor(Qt::black));
        QCOMPARE(memo.color(QPalette::Text), QColor(0, 255, 0));
        auto* list = Find<QListWidget>(QStringLiteral("Lista"));
        QCOMPARE(list->viewport()->palette().color(list->viewport()->backgroundRole()),
                 QColor(192, 192, 192));
        QCOMPARE(list->frameShape(), QFrame::NoFrame);
        auto* close = Find<QToolButton>(QStringLiteral("SpeedButton2"));
        QVERIFY(close->font().bold());
        QVERIFY(close->autoRaise());
        QCOMPARE(close->iconSize(), QSize(32, 32));
        for (const char* speed : {"SpeedButton1", "SpeedButton2"})
            QCOMPARE(Find(QString::fromUtf8(speed))->focusPolicy(), Qt::NoFocus);
        // The window's font reaches every control, the group boxes' children included.
        for (const char* name : {"cbDed_Orcd", "CheckBox2", "cbBimestre", "edDiretorio", "Label1", "Lista"})
            QCOMPARE(Find(QString::fromUtf8(name))->font().pixelSize(), 11);
        QCOMPARE(Find(QStringLiteral("Memo1"))->font().pixelSize(), 13);
        for (const char* bar : {"PrBar", "PBAR2"}) {
            QCOMPARE(Find<QProgressBar>(QString::fromUtf8(bar))->minimum(), 0);
            QCOMPARE(Find<QProgressBar>(QString::fromUtf8(bar))->maximum(), 100);
        }
    }

    // No caption is cut: check boxes and group box titles fit their places in the stand-in font, and
    // "Todos" hides the frame line it sits on.
    void captionsFit() {
        for (QCheckBox* box : window->findChildren<QCheckBox*>())
            QVERIFY2(box->sizeHint().width() <= box->width(), qPrintable(box->text()));
        for (QGroupBox* box : window->findChildren<QGroupBox*>())
            QVERIFY2(box->fontMetrics().horizontalAdvance(box->title()) + 6 <= box->width(),
                     qPrintable(box->title()));
        auto* todos = Find<QCheckBox>(QStringLiteral("CheckBox2"));
        QVERIFY(todos->autoFillBackground());
        QVERIFY(todos->y() <= 0 && todos->height() >= 2);
    }

    // A line too long for the list is cut with "…" and shows its whole text as a tooltip; one that
    // fits shows none.
    void cutEntityLineShowsItsTooltip() {
        auto* list = Find<QListWidget>(QStringLiteral("Lista"));
        const QString longLine =
            QStringLiteral("03 - SECRETARIA MUNICIPAL DE EDUCA\u00c7\u00c3O, CULTURA, ESPORTE "
                           "E LAZER DO MUNIC\u00cdPIO");
        auto* item = new QListWidgetItem(longLine, list);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Unchecked);
        item->setSizeHint(QSize(0, 13)); // as the list's own lines: as wide as the list
        for (auto [row, expected] : {std::pair{list->count() - 1, longLine}, std::pair{0, QString()}}) {
            const QRect rect = list->visualItemRect(list->item(row));
            QHelpEvent help(QEvent::ToolTip, rect.center(), list->viewport()->mapToGlobal(rect.center()));
            QApplication::sendEvent(list->viewport(), &help);
            QCOMPARE(QToolTip::isVisible() ? QToolTip::text() : QString(), expected);
            QToolTip::hideText();
            QTRY_VERIFY(!QToolTip::isVisible());
        }
    }

    void tabOrder() {
        QStringList expected = {QStringLiteral("CheckBox2")};
        expected += kFileBoxes;
        expected += {QStringLiteral("Memo1"),       QStringLiteral("cbBimestre"), QStringLiteral("Lista"),
                     QStringLiteral("edDiretorio"), QStringLiteral("BitBtn1"),    QStringLiteral("BitBtn2")};
        QStringList order;
        QWidget* widget = Find(QStringLiteral("CheckBox2"));
        do {
            if (widget->focusPolicy() & Qt::TabFocus && widget->isVisible())
                order << widget->objectName();
            widget = widget->nextInFocusChain();
        } while (widget != Find(QStringLiteral("CheckBox2")));
        QCOMPARE(order, expected);
    }

    // "Todos" sets every file box, the red ones and boxes ticked by hand included; the list is untouched.
    void todos_data() {
        QTest::addColumn<QStringList>("tickedByHand");
        QTest::newRow("none by hand") << QStringList{};
        QTest::newRow("some by hand")
            << QStringList{QStringLiteral("cbDed_Orcd"), QStringLiteral("cbDpr_rzda")};
        QTest::newRow("all by hand") << kFileBoxes;
    }
    void todos() {
        QFETCH(QStringList, tickedByHand);
        for (const QString& name : tickedByHand)
            Find<QCheckBox>(name)->setChecked(true);
        auto* todos = Find<QCheckBox>(QStringLiteral("CheckBox2"));
        QVERIFY(!todos->isChecked());
        Find<QListWidget>(QStringLiteral("Lista"))->item(0)->setCheckState(Qt::Checked);
        for (bool ticked : {true, false}) {
            todos->click();
            QCOMPARE(todos->isChecked(), ticked);
            for (const QString& name : kFileBoxes)
                QVERIFY2(Find<QCheckBox>(name)->isChecked() == ticked, qPrintable(name));
        }
        QCOMPARE(Find<QListWidget>(QStringLiteral("Lista"))->item(0)->checkState(), Qt::Checked);
        Find<QCheckBox>(QStringLiteral("cbRec_rzda"))->click();
        QVERIFY(!todos->isChecked());
    }

    void entityListAndTitle() {
        QCOMPARE(window->windowTitle(), QStringLiteral("LRF TCE/MT - Versão: 8.21.0.3"));
        auto* list = Find<QListWidget>(QStringLiteral("Lista"));
        const QStringList expected = {QStringLiteral("01 - Prefeitura"), QStringLiteral("02 - Câmara"),
                                      QStringLiteral("12 - Saúde")};
        QCOMPARE(list->count(), expected.size());
        for (int i = 0; i < list->count(); ++i) {
            QCOMPARE(list->item(i)->text(), expected[i]);
            QCOMPARE(list->item(i)->checkState(), Qt::Unchecked);
            QVERIFY(list->item(i)->flags() & Qt::ItemIsUserCheckable);
        }
        QCOMPARE(window->FiscalYear, std::string("2024"));
    }

    void entityTableMissing() {
        window.reset();
        lrf::UseSettingsFile(lrf::test::MakeInstallation(
            "no-entities", "2024", true,
            {"CREATE TABLE OUTRA (X INTEGER)", "GRANT SELECT ON OUTRA TO PUBLIC"}));
        lrf::test::BoxCloser closer;
        window = std::make_unique<lrf::TFrmPrincipalLRF>(lrf::test::DriverFolder());
        QVERIFY(closer.boxes.empty());
        window->show();
        QCOMPARE(closer.boxes.size(), std::size_t(1));
        QCOMPARE(closer.boxes[0].caption, QStringLiteral("LRF - TCE-MT"));
        QCOMPARE(closer.boxes[0].icon, QMessageBox::Critical);
        QVERIFY2(closer.boxes[0].text.contains(QStringLiteral("TABEMPRESA")),
                 qPrintable(closer.boxes[0].text));
        QCOMPARE(Find<QListWidget>(QStringLiteral("Lista"))->count(), 0);
        QCOMPARE(window->windowTitle(), QStringLiteral("Exportar LRF Zelvar - TCE-MT"));
        // The window goes on: "Todos" still works.
        Find<QCheckBox>(QStringLiteral("CheckBox2"))->click();
        QVERIFY(Find<QCheckBox>(QStringLiteral("cbRec_rzda"))->isChecked());
    }

    // The previous run's log stays and nothing is written; the overall bar is emptied all the same.
    // A code the list cannot read: the error box tells the database's own text, accents whole.
    void entityCodeNotANumber() {
        window.reset();
        lrf::UseSettingsFile(lrf::test::MakeInstallation(
            "text-codes", "2024", true,
            {"CREATE TABLE TABEMPRESA (EMPRESA VARCHAR(10), NOME VARCHAR(60))",
             "GRANT SELECT ON TABEMPRESA TO PUBLIC", "INSERT INTO TABEMPRESA VALUES ('C\xE2mara', 'X')"}));
        lrf::test::BoxCloser closer;
        window = std::make_unique<lrf::TFrmPrincipalLRF>(lrf::test::DriverFolder());
        window->show();
        QCOMPARE(closer.boxes.size(), std::size_t(1));
        QCOMPARE(closer.boxes[0].caption, QStringLiteral("LRF - TCE-MT"));
        QVERIFY2(closer.boxes[0].text.contains(QStringLiteral("'Câmara' is not a valid integer value")),
                 qPrintable(closer.boxes[0].text));
        QCOMPARE(Find<QListWidget>(QStringLiteral("Lista"))->count(), 0);
    }

    void exportWithoutBimester() {
        const std::filesystem::path folder = std::filesystem::path(LRF_TEST_TMP) / "app-run-no-bimester";
        std::filesystem::remove_all(folder);
        Find<QLineEdit>(QStringLiteral("edDiretorio"))
            ->setText(QString::fromStdString(folder.string() + "/"));
        auto* log = Find<QPlainTextEdit>(QStringLiteral("Memo1"));
        log->setPlainText(QStringLiteral("linha anterior"));
        auto* overall = Find<QProgressBar>(QStringLiteral("PBAR2"));
        overall->setRange(0, 3);
        overall->setValue(3);
        Find<QCheckBox>(QStringLiteral("cbRec_rzda"))->setChecked(true);
        lrf::test::BoxCloser closer;
        Find<QPushButton>(QStringLiteral("BitBtn1"))->click();
        QTRY_VERIFY(!window->Exporting());
        QCOMPARE(closer.boxes.size(), std::size_t(1));
        QCOMPARE(closer.boxes[0].caption, QStringLiteral("Atenção"));
        QCOMPARE(closer.boxes[0].text, QStringLiteral("Escolha o Bimestre de Referência!"));
        QCOMPARE(closer.boxes[0].icon, QMessageBox::Information);
        QCOMPARE(log->toPlainText(), QStringLiteral("linha anterior"));
        QCOMPARE(overall->value(), 0);
        QCOMPARE(overall->maximum(), 1);
        QVERIFY(!std::filesystem::exists(folder));
    }

    // A run with only red boxes ticked writes no file: the log gets the summary and the bar goes full.
    void exportOnlyRedBoxes() {
        const std::filesystem::path folder = std::filesystem::path(LRF_TEST_TMP) / "app-run-output";
        std::filesystem::remove_all(folder);
        Find<QComboBox>(QStringLiteral("cbBimestre"))->setCurrentIndex(1);
        Find<QLineEdit>(QStringLiteral("edDiretorio"))
            ->setText(QString::fromStdString(folder.string() + "/"));
        for (const char* red : {"cbDiv_rzda", "cbDpr_orcd", "cbDpr_rzda"})
            Find<QCheckBox>(QString::fromUtf8(red))->setChecked(true);
        lrf::test::BoxCloser closer;
        Find<QPushButton>(QStringLiteral("BitBtn1"))->click();
        QTRY_VERIFY(!window->Exporting());
        QVERIFY(closer.boxes.empty());
        QCOMPARE(Find<QPlainTextEdit>(QStringLiteral("Memo1"))->toPlainText(),
                 QStringLiteral(".: Finalizei :.\n0 arquivo(s) criado(s) com sucesso!\n"
                                "0 arquivo(s) não criado(s) por algum erro!"));
        auto* overall = Find<QProgressBar>(QStringLiteral("PBAR2"));
        QCOMPARE(overall->maximum(), 3);
        QCOMPARE(overall->value(), 3);
        QVERIFY(std::filesystem::is_directory(folder));
    }

    // A query the database rejects ends the run in the error box; the window stays usable.
    void exportQueryRejected() {
        Find<QComboBox>(QStringLiteral("cbBimestre"))->setCurrentIndex(0);
        Find<QLineEdit>(QStringLiteral("edDiretorio"))
            ->setText(QString::fromUtf8(LRF_TEST_TMP "/app-run-rejected/"));
        Find<QCheckBox>(QStringLiteral("cbRec_rzda"))->setChecked(true);
        Find<QListWidget>(QStringLiteral("Lista"))->item(2)->setCheckState(Qt::Checked);
        lrf::test::BoxCloser closer;
        Find<QPushButton>(QStringLiteral("BitBtn1"))->click();
        QTRY_COMPARE(closer.boxes.size(), std::size_t(1));
        QVERIFY(!window->Exporting());
        QCOMPARE(closer.boxes[0].caption, QStringLiteral("LRF - TCE-MT"));
        QCOMPARE(closer.boxes[0].icon, QMessageBox::Critical);
        QVERIFY2(closer.boxes[0].text.contains(QStringLiteral("RECDIS")), qPrintable(closer.boxes[0].text));
        QCOMPARE(closer.boxes[0].detailedText, QStringLiteral("A consulta do arquivo REC_RZDA.TXT falhou."));
        QVERIFY(!Find<QPlainTextEdit>(QStringLiteral("Memo1"))
                     ->toPlainText()
                     .contains(QStringLiteral("Finalizei")));
        Find<QCheckBox>(QStringLiteral("CheckBox2"))->click();
        QVERIFY(Find<QCheckBox>(QStringLiteral("cbDed_Orcd"))->isChecked());
    }

    // Every run ends with its conferência: an error opens "Conferência dos arquivos" by itself, and
    // "Conferir" shows the last run's report again.
    void conferenciaAfterTheRun() {
        const std::string ini = lrf::test::MakeInstallation(
            "conferencia", "2024", true,
            {"CREATE TABLE TABEMPRESA (EMPRESA INTEGER, NOME VARCHAR(60))",
             "CREATE TABLE RECORC (CODRE VARCHAR(20), TOTOR NUMERIC(15,2), EMPRESA INTEGER)",
             "GRANT SELECT ON TABEMPRESA TO PUBLIC", "GRANT SELECT ON RECORC TO PUBLIC",
             "INSERT INTO TABEMPRESA VALUES (1, 'Prefeitura')",
             "INSERT INTO RECORC VALUES ('9721.01.00', -300, 1)"});
        window.reset();
        lrf::UseSettingsFile(ini);
        window = std::make_unique<lrf::TFrmPrincipalLRF>(lrf::test::DriverFolder());
        window->show();
        const std::filesystem::path root = std::filesystem::path(LRF_TEST_TMP) / "app-conferencia";
        std::ofstream(root / "plainfile") << "x";
        Find<QComboBox>(QStringLiteral("cbBimestre"))->setCurrentIndex(1);
        Find<QCheckBox>(QStringLiteral("cbDed_Orcd"))->setChecked(true);

        // A folder that cannot be made: the file fails, and the report opens at once.
        Find<QLineEdit>(QStringLiteral("edDiretorio"))
            ->setText(QString::fromStdString((root / "plainfile" / "out").string() + "/"));
        Find<QPushButton>(QStringLiteral("BitBtn1"))->click();
        QTRY_VERIFY(!window->Exporting());
        QVERIFY(Find<QPlainTextEdit>(QStringLiteral("Memo1"))
                    ->toPlainText()
                    .startsWith(QStringLiteral("ERRO NA CRIAÇÃO DO ARQUIVO: DED_ORCD.TXT !")));
        lrf::TFrmConferencia* report = window->Conferencia();
        QVERIFY(report != nullptr);
        QVERIFY(report->isVisible());
        QCOMPARE(report->windowTitle(), QStringLiteral("Conferência dos arquivos"));
        QVERIFY(QFontInfo(report->Memo->font()).fixedPitch());
        QVERIFY2(report->Memo->toPlainText().contains(
                     QStringLiteral("\n    DED_ORCD.TXT: o arquivo não foi criado nesta execução\n")),
                 qPrintable(report->Memo->toPlainText()));
        QCOMPARE(report->btnSalvar->text(), QStringLiteral("Salvar..."));
        report->btnFechar->click();
        QVERIFY(!report->isVisible());

        // A good run opens nothing; "Conferir" shows its report.
        Find<QLineEdit>(QStringLiteral("edDiretorio"))
            ->setText(QString::fromStdString((root / "out").string() + "/"));
        Find<QPushButton>(QStringLiteral("BitBtn1"))->click();
        QTRY_VERIFY(!window->Exporting());
        QVERIFY(!report->isVisible());
        Find<QPushButton>(QStringLiteral("BitBtn2"))->click();
        QVERIFY(report->isVisible());
        QVERIFY2(report->Memo->toPlainText().contains(QStringLiteral("\nOs arquivos podem ser enviados.\n")),
                 qPrintable(report->Memo->toPlainText()));
    }

    // Alt+E presses "&Exportar" while the focus stays in the folder box: the box's rule is applied all the
    // same, the box shows it, and the file goes into the folder, not beside it.
    void exportByAltEFromTheFolderBox() {
        window.reset();
        lrf::UseSettingsFile(lrf::test::MakeInstallation(
            "deductions", "2024", true,
            {"CREATE TABLE TABEMPRESA (EMPRESA INTEGER, NOME VARCHAR(60))",
             "CREATE TABLE RECORC (CODRE VARCHAR(20), TOTOR NUMERIC(18,4), EMPRESA INTEGER)",
             "GRANT SELECT ON TABEMPRESA TO PUBLIC", "GRANT SELECT ON RECORC TO PUBLIC",
             "INSERT INTO TABEMPRESA VALUES (1, 'Prefeitura')",
             "INSERT INTO RECORC VALUES ('9721.01.00', -300, 1)"}));
        window = std::make_unique<lrf::TFrmPrincipalLRF>(lrf::test::DriverFolder());
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        const std::filesystem::path parent = std::filesystem::path(LRF_TEST_TMP) / "app-alt-e";
        std::filesystem::remove_all(parent);
        std::filesystem::create_directories(parent);
        const QString folder = QString::fromStdString((parent / "Saida").string());

        Find<QComboBox>(QStringLiteral("cbBimestre"))->setCurrentIndex(1);
        Find<QCheckBox>(QStringLiteral("cbDed_Orcd"))->setChecked(true);
        auto* box = Find<QLineEdit>(QStringLiteral("edDiretorio"));
        box->setFocus();
        QVERIFY(box->hasFocus());
        box->selectAll();
        QTest::keyClicks(box, folder);
        QCOMPARE(box->text(), folder);
        lrf::test::BoxCloser closer;
        QTest::keyClick(box, Qt::Key_E, Qt::AltModifier);
        auto* log = Find<QPlainTextEdit>(QStringLiteral("Memo1"));
        QTRY_VERIFY(log->toPlainText().contains(QStringLiteral("Finalizei")));
        QVERIFY(closer.boxes.empty());
        QVERIFY(box->hasFocus());
        QCOMPARE(box->text(), folder + u'/');
        QCOMPARE(log->toPlainText(),
                 QStringLiteral("Arquivo DED_ORCD.TXT criado com sucesso !\n.: Finalizei :.\n"
                                "1 arquivo(s) criado(s) com sucesso!\n"
                                "0 arquivo(s) não criado(s) por algum erro!"));
        QFile file(folder + QStringLiteral("/DED_ORCD.TXT"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("9.7.2.1.01.00;300,00;\r\n"));
        QVERIFY(!std::filesystem::exists(parent / "SaidaDED_ORCD.TXT"));
    }

    void closeButtonClosesTheWindow() {
        QVERIFY(window->isVisible());
        Find<QToolButton>(QStringLiteral("SpeedButton2"))->click();
        QVERIFY(!window->isVisible());
    }
};

LRF_APP_TEST(MainWindowTest)
#include "MainWindowTest.moc"
