#include "app/FileCheckWindow.h"

#include "app/HandlerGuard.h"
#include "app/WindowFont.h"

#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lrf {

TFrmConferencia::TFrmConferencia(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmConferencia"));
    setWindowTitle(QStringLiteral("Conferência dos arquivos"));
    resize(820, 560);
    auto* layout = new QVBoxLayout(this);
    Memo = new QPlainTextEdit(this);
    Memo->setObjectName(QStringLiteral("Memo"));
    Memo->setReadOnly(true);
    Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo->setFont(FixedWidthFont(13)); // the report's columns line up only in a fixed-width face
    layout->addWidget(Memo, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    btnSalvar = new QPushButton(QStringLiteral("Salvar..."), this);
    btnSalvar->setObjectName(QStringLiteral("btnSalvar"));
    btnFechar = new QPushButton(QStringLiteral("Fechar"), this);
    btnFechar->setObjectName(QStringLiteral("btnFechar"));
    buttons->addWidget(btnSalvar);
    buttons->addWidget(btnFechar);
    layout->addLayout(buttons);
    connect(btnSalvar, &QPushButton::clicked, this, Guarded(this, &TFrmConferencia::btnSalvarClick));
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::close);
}

void TFrmConferencia::ShowReport(const CheckReport& report) {
    text_ = report.Text();
    Memo->setPlainText(text_);
    show();
    raise();
    activateWindow();
}

// A plain text file in UTF-8 with CR LF line ends, which every Windows editor opens.
void TFrmConferencia::btnSalvarClick() {
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Salvar a conferência"),
                                     QStringLiteral("Conferencia.txt"), QStringLiteral("Texto (*.txt)"));
    if (path.isEmpty())
        return;
    QFile file(path);
    QByteArray bytes = text_.toUtf8();
    bytes.replace("\n", "\r\n");
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() ||
        !file.flush()) {
        QMessageBox::warning(
            this, QStringLiteral("Conferência dos arquivos"),
            QStringLiteral("Não foi possível salvar em %1: %2").arg(path, file.errorString()));
    }
}

} // namespace lrf
