#pragma once
// The export run of lrf-export, on a thread of its own while the main thread waits for a signal:
// SIGTERM, SIGINT or SIGHUP ends the run at once, and the program with 128 + the signal's number.
#include "export/ExportRun.h"

#include <optional>

namespace lrf::cli {

// Lets the signals in, now that the connection has attached (its client library has put in its own
// handlers); a signal that came meanwhile is taken now.
void TakeOverSignals();

// The signal that asked the program to end, if one came.
std::optional<int> ReceivedSignal();

// Says "interrompido" on standard error and gives the exit code for `signal`.
int ReportInterruption(int signal);

// Runs the export; std::nullopt when a signal ended it. The run's own errors are thrown as RunExport
// throws them.
std::optional<ExportResult> RunUntilSignal(const ExportRequest& request, TCRSQLConnection& connection,
                                           TSQLClientDataSet& cds1, ExportSink& sink,
                                           const RegionalSettings& regional);

} // namespace lrf::cli
