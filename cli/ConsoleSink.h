#pragma once
// The run's report on a console: log lines on standard output, progress on a terminal's standard error.
#include "export/ExportRun.h"

namespace lrf::cli {

class ConsoleSink : public ExportSink {
public:
    explicit ConsoleSink(bool showProgress) : showProgress_(showProgress) {}

    void ClearLog() override {}
    void AppendLog(const QString& line) override;
    // The failure line on standard output like every log line, its reason on standard error.
    void AppendFailure(const QString& line, const QString& fileName, const QString& reason) override;
    void SetOverallMaximum(int maximum) override;
    void SetOverallPosition(int position) override;
    void SetFileMaximum(int maximum) override;
    void SetFilePosition(int position) override;
    void BimesterMissing() override;
    // Clears the progress line so that a message can follow on standard error.
    void EraseProgress();

private:
    bool showProgress_;
    bool progressShown_ = false;
    int overallMaximum_ = 0;
    int overallPosition_ = 0;
    int fileMaximum_ = 0;
};

} // namespace lrf::cli
