#include "app/QueuedExportSink.h"

#include <QMetaObject>

namespace lrf {

void QueuedExportSink::Post(std::function<void()> call) {
    QMetaObject::invokeMethod(&context_, std::move(call), Qt::QueuedConnection);
}

void QueuedExportSink::ClearLog() {
    Post([this] { target_.ClearLog(); });
}

void QueuedExportSink::AppendLog(const QString& line) {
    Post([this, line] { target_.AppendLog(line); });
}

void QueuedExportSink::AppendFailure(const QString& line, const QString& fileName, const QString& reason) {
    Post([this, line, fileName, reason] { target_.AppendFailure(line, fileName, reason); });
}

void QueuedExportSink::SetOverallMaximum(int maximum) {
    Post([this, maximum] { target_.SetOverallMaximum(maximum); });
}

void QueuedExportSink::SetOverallPosition(int position) {
    Post([this, position] { target_.SetOverallPosition(position); });
}

void QueuedExportSink::SetFileMaximum(int maximum) {
    const std::lock_guard lock(mutex_);
    file_.maximum = maximum;
    file_.position = 0;
    file_.newMaximum = true;
    PostFileProgress();
}

void QueuedExportSink::SetFilePosition(int position) {
    const std::lock_guard lock(mutex_);
    file_.position = position;
    PostFileProgress();
}

// Under the lock: at most one progress call waits in the loop, and it shows the latest state.
void QueuedExportSink::PostFileProgress() {
    if (file_.posted)
        return;
    file_.posted = true;
    Post([this] {
        FileProgress now;
        {
            const std::lock_guard lock(mutex_);
            now = file_;
            file_.newMaximum = false;
            file_.posted = false;
        }
        if (now.newMaximum)
            target_.SetFileMaximum(now.maximum);
        target_.SetFilePosition(now.position);
    });
}

void QueuedExportSink::BimesterMissing() {
    QMetaObject::invokeMethod(
        &context_, [this] { target_.BimesterMissing(); }, Qt::BlockingQueuedConnection);
}

} // namespace lrf
