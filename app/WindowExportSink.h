#pragma once
// Where a run started from the main window reports: the log, the two bars and the bimester message.
#include "export/ExportRun.h"

class QPlainTextEdit;
class QProgressBar;

namespace lrf {

class WindowExportSink : public ExportSink {
public:
    WindowExportSink(QPlainTextEdit& log, QProgressBar& fileBar, QProgressBar& overallBar)
        : log_(log), fileBar_(fileBar), overallBar_(overallBar) {}

    void ClearLog() override;
    void AppendLog(const QString& line) override;
    void AppendFailure(const QString& line, const QString& fileName, const QString& reason) override;
    void SetOverallMaximum(int maximum) override;
    void SetOverallPosition(int position) override;
    void SetFileMaximum(int maximum) override;
    void SetFilePosition(int position) override;
    void BimesterMissing() override;

private:
    QPlainTextEdit& log_;
    QProgressBar& fileBar_;
    QProgressBar& overallBar_;
};

} // namespace lrf
