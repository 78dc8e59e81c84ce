#include "app/Principal.h"

#include "app/BuildInfo.h"
#include "app/ClosePicture.h"
#include "app/ElidedToolTip.h"
#include "app/FileCheckWindow.h"
#include "app/FramePlacement.h"
#include "app/HandlerGuard.h"
#include "app/InputBlock.h"
#include "app/QueuedExportSink.h"
#include "app/TerminationSignals.h"
#include "app/WindowExportSink.h"
#include "app/WindowFont.h"
#include "app/f_Diretorio.h"
#include "database/Startup.h"
#include "export/DefaultFolders.h"
#include "export/EntityFilter.h"
#include "export/ExportRun.h"
#include "export/ExportSteps.h"
#include "export/ExportThread.h"
#include "export/FolderText.h"
#include "export/Regional.h"
#include "export/Windows1252.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>
#include <utility>

namespace lrf {

TFrmPrincipalLRF* FrmPrincipalLRF = nullptr;

namespace {

// The caption sits on the frame's top line, as the toolkit's group boxes draw it; the children keep
// their places measured from the box's top edge.
void PutCaptionOnFrame(QGroupBox* box) {
    box->setStyleSheet(
        QStringLiteral("QGroupBox { border: 1px solid palette(mid); margin-top: 6px; }"
                       "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0px; }"));
    // A style sheet stops the window's font from reaching the box's children.
    for (QWidget* child : box->findChildren<QWidget*>())
        child->setFont(box->font());
}

// A panel with the single raised bevel of a toolkit panel.
QFrame* MakePanel(const QString& name, QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    return panel;
}

template <class Widget>
Widget* Make(const QString& name, QWidget* parent, int left, int top, int width, int height) {
    auto* widget = new Widget(parent);
    widget->setObjectName(name);
    widget->setGeometry(left, top, width, height);
    return widget;
}

// Where each file box sits, in the step order of ExportSteps(): two columns of six, and REC_RZDA alone
// at the top right. The tab key goes down each column, left to right.
struct BoxPlace {
    int left, top;
};
constexpr std::array<BoxPlace, kStepCount> kFileBoxPlaces{{
    {12, 19},  // DED_ORCD
    {116, 19}, // DIV_RZDA
    {12, 35},  // DED_RZDA
    {12, 51},  // DES_ORCD
    {12, 67},  // DES_RZDA
    {12, 83},  // DFS_ORCD
    {12, 99},  // DFS_RZDA
    {116, 35}, // DPR_ORCD
    {116, 51}, // DPR_RZDA
    {116, 67}, // DSO_ORCD
    {116, 83}, // DSA_ORCD
    {116, 99}, // REC_ORCD
    {230, 18}, // REC_RZDA
}};

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// "Ded_orcd.txt" for DED_ORCD. A step without a file of its own is red.
QCheckBox* MakeFileBox(const ExportStep& step, const BoxPlace& place, QWidget* parent) {
    auto* box = Make<QCheckBox>(Text(step.boxName), parent, place.left, place.top, 100, 17);
    const QString stem = Text(step.fileStem);
    box->setText(stem.left(1) + stem.mid(1).toLower() + QStringLiteral(".txt"));
    if (step.generator == nullptr) {
        QPalette palette = box->palette();
        palette.setColor(QPalette::WindowText, Qt::red);
        box->setPalette(palette);
    }
    return box;
}

// The start-up messages come in lines joined by a lone carriage return; a Qt label only breaks at "\n".
// The reason goes to the detailed text, so the message itself stays the one the operator knows.
void ShowStartupError(const char* message, const std::string& reason) {
    QString text = QString::fromUtf8(message);
    text.replace(u'\r', u'\n');
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(kStartupErrorCaption), text, QMessageBox::Ok);
    box.setDetailedText(ErrorMessageText(reason.c_str()));
    box.exec();
}

} // namespace

TFrmPrincipalLRF::TFrmPrincipalLRF(const std::string& executableFolder, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      cds1(&Conexao), executableFolder_(executableFolder) {
    FrmPrincipalLRF = this;
    BuildControls();
    SetTabOrder();
    ConnectHandlers();
    ApplyDesignTimeSettings(Conexao);
    RunHandler([this] { FormCreate(); });
}

TFrmPrincipalLRF::~TFrmPrincipalLRF() {
    run_.reset(); // stopped and waited for: it uses the dataset and the connection
    if (inputBlock_)
        QApplication::restoreOverrideCursor();
    cds1.Close();
    Conexao.Close();
    if (FrmPrincipalLRF == this)
        FrmPrincipalLRF = nullptr;
}

void TFrmPrincipalLRF::BuildControls() {
    setObjectName(QStringLiteral("FrmPrincipalLRF"));
    setWindowTitle(QStringLiteral("Exportar LRF Zelvar - TCE-MT"));
    setFont(SansSerifFont(11));
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    resize(522, 449);

    auto* bands = new QVBoxLayout(this);
    bands->setContentsMargins(0, 0, 0, 0);
    bands->setSpacing(0);

    // Band 1: bimester, entities, close button.
    Panel1 = MakePanel(QStringLiteral("Panel1"), this);
    Panel1->setFixedHeight(113);
    GroupBox3 = Make<QGroupBox>(QStringLiteral("GroupBox3"), Panel1, 8, 8, 129, 44);
    GroupBox3->setTitle(QStringLiteral(" Bimestre: "));
    cbBimestre = Make<QComboBox>(QStringLiteral("cbBimestre"), GroupBox3, 8, 16, 113, 21);
    cbBimestre->addItems({QStringLiteral("1º Bim"), QStringLiteral("2º Bim"), QStringLiteral("3º Bim"),
                          QStringLiteral("4º Bim"), QStringLiteral("5º Bim"), QStringLiteral("6º Bim")});
    cbBimestre->setCurrentIndex(-1);
    Label1 = new QLabel(QStringLiteral("Entidade:"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->adjustSize();
    Label1->move(146, 2);
    Lista = Make<QListWidget>(QStringLiteral("Lista"), Panel1, 144, 17, 361, 88);
    Lista->setFrameShape(QFrame::NoFrame);
    Lista->setUniformItemSizes(true);
    Lista->setItemDelegate(new ElidedToolTip(Lista));
    // Silver behind the lines only: the tick boxes keep their own white so they stay visible.
    Lista->viewport()->setBackgroundRole(QPalette::Window);
    {
        QPalette palette = Lista->viewport()->palette();
        palette.setColor(QPalette::Window, QColor(192, 192, 192));
        Lista->viewport()->setPalette(palette);
    }
    SpeedButton2 = Make<QToolButton>(QStringLiteral("SpeedButton2"), Panel1, 24, 64, 89, 41);
    SpeedButton2->setText(QStringLiteral("&Fechar"));
    SpeedButton2->setFont(SansSerifFont(11, true));
    SpeedButton2->setAutoRaise(true);
    SpeedButton2->setIcon(QIcon(ClosePicture()));
    SpeedButton2->setIconSize(QSize(32, 32));
    SpeedButton2->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    SpeedButton2->setLayoutDirection(Qt::RightToLeft); // the picture to the right of the caption
    SpeedButton2->setFocusPolicy(Qt::NoFocus);
    bands->addWidget(Panel1);

    // Band 2: the file boxes, in run order by column.
    GroupBox1 = new QGroupBox(QStringLiteral(" Arquivos: "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setFixedHeight(129);
    CheckBox2 = Make<QCheckBox>(QStringLiteral("CheckBox2"), GroupBox1, 64, 0, 65, 17);
    CheckBox2->setText(QStringLiteral("Todos"));
    // It covers the frame line it sits on, as the caption does.
    CheckBox2->setAutoFillBackground(true);
    for (std::size_t i = 0; i < kStepCount; ++i)
        fileBoxes_[i] = MakeFileBox(ExportSteps()[i], kFileBoxPlaces[i], GroupBox1);
    bands->addWidget(GroupBox1);

    // Band 3: output folder, export button, the two bars along the bottom.
    Panel2 = MakePanel(QStringLiteral("Panel2"), this);
    Panel2->setFixedHeight(73);
    GroupBox2 = Make<QGroupBox>(QStringLiteral("GroupBox2"), Panel2, 8, 1, 409, 49);
    GroupBox2->setTitle(QStringLiteral(" Diretório para criação dos arquivos: "));
    edDiretorio = Make<QLineEdit>(QStringLiteral("edDiretorio"), GroupBox2, 8, 20, 369, 21);
    edDiretorio->setText(DefaultOutputFolder());
    SpeedButton1 = Make<QToolButton>(QStringLiteral("SpeedButton1"), GroupBox2, 377, 19, 23, 22);
    SpeedButton1->setText(QStringLiteral("..."));
    SpeedButton1->setFocusPolicy(Qt::NoFocus);
    BitBtn1 = Make<QPushButton>(QStringLiteral("BitBtn1"), Panel2, 430, 17, 75, 25);
    BitBtn1->setText(QStringLiteral("&Exportar"));
    // In the free corner of the file band, under "&Exportar"'s column.
    BitBtn2 = Make<QPushButton>(QStringLiteral("BitBtn2"), GroupBox1, 430, 96, 75, 25);
    BitBtn2->setText(QStringLiteral("Co&nferir"));
    auto* bars = new QVBoxLayout(Panel2);
    bars->setContentsMargins(0, 0, 0, 0); // the frame already keeps them inside the bevel
    bars->setSpacing(0);
    bars->addStretch();
    PrBar = new QProgressBar(Panel2);
    PBAR2 = new QProgressBar(Panel2);
    for (auto [bar, name] :
         {std::pair{PrBar, QStringLiteral("PrBar")}, std::pair{PBAR2, QStringLiteral("PBAR2")}}) {
        bar->setObjectName(name);
        bar->setFixedHeight(10);
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setTextVisible(false);
        bars->addWidget(bar);
    }
    bands->addWidget(Panel2);

    // Band 4: the run log.
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setFont(SansSerifFont(13));
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setTabChangesFocus(true);
    {
        QPalette palette = Memo1->palette();
        palette.setColor(QPalette::Base, Qt::black);
        palette.setColor(QPalette::Text, QColor(0, 255, 0));
        Memo1->setPalette(palette);
    }
    bands->addWidget(Memo1, 1);

    for (QGroupBox* box : {GroupBox3, GroupBox1, GroupBox2})
        PutCaptionOnFrame(box);

    PlaceByFrame(*this);
}

void TFrmPrincipalLRF::SetTabOrder() {
    std::array<std::size_t, kStepCount> byPlace{};
    std::iota(byPlace.begin(), byPlace.end(), std::size_t{0});
    std::sort(byPlace.begin(), byPlace.end(), [](std::size_t a, std::size_t b) {
        return std::pair(kFileBoxPlaces[a].left, kFileBoxPlaces[a].top) <
               std::pair(kFileBoxPlaces[b].left, kFileBoxPlaces[b].top);
    });
    QList<QWidget*> order = {CheckBox2};
    for (std::size_t step : byPlace)
        order.append(fileBoxes_[step]);
    order << Memo1 << cbBimestre << Lista << edDiretorio << BitBtn1 << BitBtn2;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    CheckBox2->setFocus();
}

void TFrmPrincipalLRF::ConnectHandlers() {
    connect(CheckBox2, &QCheckBox::toggled, this, Guarded(this, &TFrmPrincipalLRF::CheckBox2Click));
    connect(SpeedButton2, &QToolButton::clicked, this, Guarded(this, &TFrmPrincipalLRF::SpeedButton2Click));
    connect(SpeedButton1, &QToolButton::clicked, this, Guarded(this, &TFrmPrincipalLRF::SpeedButton1Click));
    connect(BitBtn1, &QPushButton::clicked, this, Guarded(this, &TFrmPrincipalLRF::BitBtn1Click));
    connect(BitBtn2, &QPushButton::clicked, this, Guarded(this, &TFrmPrincipalLRF::BitBtn2Click));
    edDiretorio->installEventFilter(this);
}

bool TFrmPrincipalLRF::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edDiretorio && event->type() == QEvent::FocusOut) {
        // Leaving the box, not a menu or another application taking the focus for a while.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            RunHandler([this] { edDiretorioExit(); });
    }
    return QWidget::eventFilter(watched, event);
}

void TFrmPrincipalLRF::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shown_) {
        shown_ = true;
        RunHandler([this] { FormShow(); });
    }
}

void TFrmPrincipalLRF::FormCreate() {
    const StartupResult result = StartUp(Conexao, executableFolder_);
    // The client library has put in its signal handlers by now; ours replace them before any message.
    if (TerminationSignals* watcher = TerminationSignals::Instance())
        watcher->TakeOver();
    switch (result.outcome) {
    case StartupResult::Outcome::DriverMissing:
        startedUp_ = false;
        ShowStartupError(kMissingDriverMessage, result.reason);
        return;
    case StartupResult::Outcome::DatabaseNotFound:
        FiscalYear = result.fiscalYear;
        startedUp_ = false;
        ShowStartupError(kDatabaseNotFoundMessage, result.reason);
        return;
    case StartupResult::Outcome::OpenFailed:
        FiscalYear = result.fiscalYear;
        ShowErrorBox(ErrorMessageText(result.openError.c_str()));
        return;
    case StartupResult::Outcome::Connected:
        FiscalYear = result.fiscalYear;
        return;
    }
}

void TFrmPrincipalLRF::FormShow() {
    const EntityList list = ReadEntityList(cds1);
    entityCodeMask_ = QString::fromStdString(list.mask);
    for (const std::string& line : list.items) {
        auto* item = new QListWidgetItem(FromWindows1252(line), Lista);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Unchecked);
        item->setSizeHint(QSize(0, 13));
    }
    setWindowTitle(QStringLiteral("LRF TCE/MT - Versão: ") + GetBuildInfo());
}

void TFrmPrincipalLRF::CheckBox2Click() {
    const bool ticked = CheckBox2->isChecked();
    for (QCheckBox* box : findChildren<QCheckBox*>())
        if (box->text().toUpper() != QStringLiteral("TODOS"))
            box->setChecked(ticked);
}

void TFrmPrincipalLRF::SpeedButton2Click() {
    close();
}

ExportRequest TFrmPrincipalLRF::RequestFromControls() const {
    ExportRequest request;
    request.bimesterIndex = cbBimestre->currentIndex();
    request.entities.reserve(static_cast<std::size_t>(Lista->count()));
    for (int i = 0; i < Lista->count(); ++i) {
        const QListWidgetItem* item = Lista->item(i);
        request.entities.push_back({item->text().toStdString(), item->checkState() == Qt::Checked});
    }
    request.entityCodeLength = static_cast<std::size_t>(entityCodeMask_.size());
    for (std::size_t i = 0; i < kStepCount; ++i)
        request.ticked[i] = fileBoxes_[i]->isChecked();
    request.folderText = edDiretorio->text();
    request.fiscalYear = FromWindows1252(FiscalYear);
    return request;
}

void TFrmPrincipalLRF::BitBtn1Click() {
    if (Exporting())
        return;
    // Alt+E presses the button without the focus leaving the folder box: the run applies the box's rule
    // itself, or the file names would be glued to the folder's name.
    edDiretorioExit();
    ExportRequest request = RequestFromControls();
    request.checkFiles = true;
    // The statements run on a thread of their own so that the window stays painted; it still takes no
    // input until the run ends.
    inputBlock_ = std::make_unique<InputBlock>(*this);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    runSink_ = std::make_unique<WindowExportSink>(*Memo1, *PrBar, *PBAR2);
    queuedSink_ = std::make_unique<QueuedExportSink>(*runSink_, *this);
    run_ = std::make_unique<ExportThread>();
    run_->Start(std::move(request), Conexao, cds1, *queuedSink_, RegionalSettings::FromSystem(),
                [this](const ExportOutcome& outcome) { RunEnded(outcome); });
}

bool TFrmPrincipalLRF::Exporting() const {
    return inputBlock_ != nullptr;
}

void TFrmPrincipalLRF::RunEnded(const ExportOutcome& outcome) {
    QApplication::restoreOverrideCursor();
    inputBlock_.reset();
    if (closeWhenRunEnds_) {
        close();
        return;
    }
    if (outcome.failed) {
        RunHandler([&] { std::rethrow_exception(outcome.error); });
        return;
    }
    if (!outcome.result.report)
        return;
    lastReport_ = outcome.result.report;
    if (!lastReport_->CanSend())
        ShowReport(*lastReport_);
}

void TFrmPrincipalLRF::closeEvent(QCloseEvent* event) {
    if (run_ && run_->Running()) {
        closeWhenRunEnds_ = true;
        run_->Stop();
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

// The last run's report; before any run, the files already in the folder for the current choices.
void TFrmPrincipalLRF::BitBtn2Click() {
    if (!lastReport_) {
        edDiretorioExit(); // as the run does: the folder is always a folder
        const ExportRequest request = RequestFromControls();
        if (request.bimesterIndex < 0) {
            WindowExportSink(*Memo1, *PrBar, *PBAR2).BimesterMissing();
            return;
        }
        const CheckRequest check = CheckRequestFor(request, true);
        const InputBlock noInputMeanwhile(*this);
        const TCRSQLConnection::Snapshot snapshot(Conexao);
        ShowReport(CheckFiles(check, Conexao, RegionalSettings::FromSystem()));
        return;
    }
    ShowReport(*lastReport_);
}

void TFrmPrincipalLRF::ShowReport(const CheckReport& report) {
    if (conferencia_ == nullptr)
        conferencia_ = new TFrmConferencia(this);
    conferencia_->ShowReport(report);
}

void TFrmPrincipalLRF::edDiretorioExit() {
    const QString text = WithFinalSeparator(edDiretorio->text());
    if (text != edDiretorio->text())
        edDiretorio->setText(text);
}

void TFrmPrincipalLRF::SpeedButton1Click() {
    if (const auto chosen =
            ChooseOutputFolder(this, edDiretorio->text(), QString::fromStdString(executableFolder_)))
        edDiretorio->setText(*chosen);
}

} // namespace lrf
