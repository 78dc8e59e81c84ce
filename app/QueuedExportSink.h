#pragma once
// Carries the reports of a run on its own thread to a sink of the window's thread, in order, through
// the window's event loop. A file's progress is folded so that a long file does not flood the loop,
// and the bimester message waits for the operator as it would on the window's thread.
#include "export/ExportRun.h"

#include <QObject>
#include <functional>
#include <mutex>

namespace lrf {

class QueuedExportSink : public ExportSink {
public:
    // `target` is called on the thread of `context`.
    QueuedExportSink(ExportSink& target, QObject& context) : target_(target), context_(context) {}

    void ClearLog() override;
    void AppendLog(const QString& line) override;
    void AppendFailure(const QString& line, const QString& fileName, const QString& reason) override;
    void SetOverallMaximum(int maximum) override;
    void SetOverallPosition(int position) override;
    void SetFileMaximum(int maximum) override;
    void SetFilePosition(int position) override;
    void BimesterMissing() override;

private:
    void Post(std::function<void()> call);
    void PostFileProgress();

    ExportSink& target_;
    QObject& context_;
    std::mutex mutex_;
    struct FileProgress {
        int maximum = 0;
        int position = 0;
        bool newMaximum = false;
        bool posted = false;
    } file_;
};

} // namespace lrf
