#pragma once
// One export run on a thread of its own, so that the thread that starts it goes on handling its events
// (a window repaints, a signal is noticed) while a statement runs. The connection and the dataset
// belong to the run from Start until `done` is called; the sink is called on the run's thread.
#include "export/ExportRun.h"
#include "export/RunStop.h"

#include <QString>
#include <exception>
#include <functional>
#include <memory>
#include <string>

class QObject;
class QThread;

namespace lrf {

struct ExportOutcome {
    ExportResult result;
    bool interrupted = false; // ended by Stop(): no summary, the file being written discarded
    bool failed = false;      // ended by an error outside a file's guard
    std::exception_ptr error; // that error, to be rethrown where it is told
};

class ExportThread {
public:
    ExportThread();
    // Stops a run still going and waits for it.
    ~ExportThread();
    ExportThread(const ExportThread&) = delete;
    ExportThread& operator=(const ExportThread&) = delete;

    // `done` is called from the event loop of the calling thread once the run has ended; the run
    // counts as going until then.
    void Start(ExportRequest request, TCRSQLConnection& connection, TSQLClientDataSet& cds1, ExportSink& sink,
               const RegionalSettings& regional, std::function<void(const ExportOutcome&)> done);
    bool Running() const { return thread_ != nullptr; }
    // On the calling thread: the statement in progress is cancelled and the run ends at once.
    void Stop() noexcept;

private:
    std::unique_ptr<QThread> thread_;
    std::unique_ptr<RunStop> stop_;
    TCRSQLConnection* connection_ = nullptr;
    ExportOutcome outcome_;
    std::unique_ptr<QObject> receiver_; // `done` goes with it, should this object go first
};

} // namespace lrf
