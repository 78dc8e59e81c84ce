#pragma once
// "Conferência dos arquivos": the report of the last run (or of the files in the folder) in a fixed-width
// font, to read, save as a text file and close.
#include "export/FileCheck.h"

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace lrf {

class TFrmConferencia : public QDialog {
    Q_OBJECT
public:
    explicit TFrmConferencia(QWidget* parent = nullptr);
    void ShowReport(const CheckReport& report);

    QPlainTextEdit* Memo;
    QPushButton* btnSalvar;
    QPushButton* btnFechar;

    void btnSalvarClick();

private:
    QString text_;
};

} // namespace lrf
