#pragma once
// The main window: bimester, entities, files, output folder, the "&Exportar" button and the run log.
#include "database/ClientDataSet.h"
#include "database/Connection.h"
#include "export/ExportRun.h"
#include "export/ExportSteps.h"
#include "export/FileCheck.h"
#include "settings/Installation.h"

#include <QString>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace lrf {

class TFrmConferencia;
class ExportThread;
class InputBlock;
class QueuedExportSink;
class WindowExportSink;
struct ExportOutcome;

class TFrmPrincipalLRF : public QWidget {
    Q_OBJECT
public:
    // Builds the window and runs FormCreate: the start-up checks and the connection. `executableFolder`
    // is where the driver file is looked for.
    explicit TFrmPrincipalLRF(const std::string& executableFolder = ExecutableFolder(),
                              QWidget* parent = nullptr);
    ~TFrmPrincipalLRF() override;

    // False when a start-up check failed and the operator was told the program ends: never show it then.
    bool StartedUp() const { return startedUp_; }
    // True from a press of "&Exportar" until its run has ended and the window takes input again.
    bool Exporting() const;

    // The components, named as the window knows them.
    QFrame* Panel1;
    QGroupBox* GroupBox3;
    QComboBox* cbBimestre;
    QLabel* Label1;
    QListWidget* Lista;
    QToolButton* SpeedButton2;
    QGroupBox* GroupBox1;
    QCheckBox* CheckBox2;
    QFrame* Panel2;
    QGroupBox* GroupBox2;
    QLineEdit* edDiretorio;
    QToolButton* SpeedButton1;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2; // "Co&nferir": the conferência of the last run
    QProgressBar* PrBar;
    QProgressBar* PBAR2;
    QPlainTextEdit* Memo1;

    TCRSQLConnection Conexao;
    TSQLClientDataSet cds1;

    // The fiscal year read at start-up (settings key "ano", as read).
    std::string FiscalYear;

    void FormCreate();
    void FormShow();
    void CheckBox2Click();
    void SpeedButton2Click();
    void BitBtn1Click();
    void edDiretorioExit();
    void SpeedButton1Click();
    void BitBtn2Click();

    // The conferência window, once it has been opened.
    TFrmConferencia* Conferencia() const { return conferencia_; }

protected:
    void showEvent(QShowEvent* event) override;
    // During a run the window first stops it, and closes once it has ended.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void SetTabOrder();
    void ConnectHandlers();
    void RunEnded(const ExportOutcome& outcome);

    // The file boxes in the step order of ExportSteps(), each named as its step says.
    std::array<QCheckBox*, kStepCount> fileBoxes_{};
    std::string executableFolder_;
    QString entityCodeMask_; // "0" repeated to the longest entity code's length; set with the list
    bool startedUp_ = true;
    bool shown_ = false;
    std::optional<CheckReport> lastReport_;
    TFrmConferencia* conferencia_ = nullptr;
    void ShowReport(const CheckReport& report);
    ExportRequest RequestFromControls() const;

    // The run going on, on a thread of its own, and what the window does meanwhile.
    std::unique_ptr<WindowExportSink> runSink_;
    std::unique_ptr<QueuedExportSink> queuedSink_;
    std::unique_ptr<InputBlock> inputBlock_;
    std::unique_ptr<ExportThread> run_;
    bool closeWhenRunEnds_ = false;
};

// The one main window of the program, while it exists.
extern TFrmPrincipalLRF* FrmPrincipalLRF;

} // namespace lrf
