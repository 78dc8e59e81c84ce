#pragma once
// lrf-export's conferência: the report after a run (--conferencia), or of the files already in the
// folder without exporting (--conferir).
#include "export/ExportRun.h"

namespace lrf::cli {

// A blank line, then the report, on standard output.
void PrintReport(const CheckReport& report);

// Checks the request's files as they lie in its folder, writing nothing. Returns the exit code: 0 when no
// error check fails, 4 when one does, 3 when the check could not start.
int CheckFolder(const ExportRequest& request, bool filesNamed, TCRSQLConnection& connection);

} // namespace lrf::cli
