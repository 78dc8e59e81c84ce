#include "InterruptibleRun.h"

#include "app/TerminationSignals.h"
#include "export/ExportThread.h"

#include <QEventLoop>
#include <cstdio>
#include <exception>

namespace lrf::cli {

void TakeOverSignals() {
    if (TerminationSignals* watcher = TerminationSignals::Instance())
        watcher->TakeOver();
}

std::optional<int> ReceivedSignal() {
    const TerminationSignals* watcher = TerminationSignals::Instance();
    if (watcher == nullptr || watcher->Received() == 0)
        return std::nullopt;
    return watcher->Received();
}

int ReportInterruption(int signal) {
    std::fprintf(stderr, "lrf-export: interrompido (%s)\n", SignalName(signal));
    std::fflush(stderr);
    return ExitCodeForSignal(signal);
}

std::optional<ExportResult> RunUntilSignal(const ExportRequest& request, TCRSQLConnection& connection,
                                           TSQLClientDataSet& cds1, ExportSink& sink,
                                           const RegionalSettings& regional) {
    if (ReceivedSignal())
        return std::nullopt;
    QEventLoop loop;
    ExportThread thread;
    ExportOutcome outcome;
    thread.Start(request, connection, cds1, sink, regional, [&](const ExportOutcome& ended) {
        outcome = ended;
        loop.quit();
    });
    if (TerminationSignals* watcher = TerminationSignals::Instance())
        watcher->OnSignal([&](int) { thread.Stop(); });
    loop.exec();
    if (TerminationSignals* watcher = TerminationSignals::Instance())
        watcher->OnSignal(nullptr);
    if (outcome.interrupted)
        return std::nullopt;
    if (outcome.failed)
        std::rethrow_exception(outcome.error);
    return outcome.result;
}

} // namespace lrf::cli
