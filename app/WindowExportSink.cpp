#include "app/WindowExportSink.h"

#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>

namespace lrf {

namespace {

// A bar whose maximum is 0 is an empty bar; QProgressBar would show 0..0 as "busy" instead.
void SetMaximum(QProgressBar& bar, int maximum) {
    bar.setRange(0, maximum > 0 ? maximum : 1);
    bar.setValue(0);
}

} // namespace

void WindowExportSink::ClearLog() {
    log_.clear();
}

void WindowExportSink::AppendLog(const QString& line) {
    log_.appendPlainText(line);
}

// The log keeps its fixed lines; the operator reads the file's line, not the system's text.
void WindowExportSink::AppendFailure(const QString& line, const QString& /*fileName*/,
                                     const QString& /*reason*/) {
    AppendLog(line);
}

void WindowExportSink::SetOverallMaximum(int maximum) {
    SetMaximum(overallBar_, maximum);
}

void WindowExportSink::SetOverallPosition(int position) {
    overallBar_.setValue(position);
}

void WindowExportSink::SetFileMaximum(int maximum) {
    SetMaximum(fileBar_, maximum);
}

void WindowExportSink::SetFilePosition(int position) {
    fileBar_.setValue(position);
}

void WindowExportSink::BimesterMissing() {
    QMessageBox box(QMessageBox::Information, QStringLiteral("Atenção"),
                    QStringLiteral("Escolha o Bimestre de Referência!"), QMessageBox::Ok, log_.window());
    box.exec();
}

} // namespace lrf
