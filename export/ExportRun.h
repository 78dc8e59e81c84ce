#pragma once
// One press of "&Exportar": the bimester check, the period, the folder, the ticked files in order, the
// summary.
#include "export/EntityFilter.h"
#include "export/ExportSteps.h"
#include "export/FileCheck.h"
#include "export/Regional.h"
#include "export/RunStop.h"

#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace lrf {

class TCRSQLConnection;
class TSQLClientDataSet;

// The operator's choices, read from the window (or the command line) before the run starts.
struct ExportRequest {
    int bimesterIndex = -1;                // item index of cbBimestre; -1 when none is chosen
    std::vector<EntityItem> entities;      // the lines of Lista with their ticks
    std::size_t entityCodeLength = 0;      // length of the entity code mask
    std::array<bool, kStepCount> ticked{}; // the file boxes, in step order
    QString folderText;                    // text of edDiretorio; file names are appended to it as is
    QString fiscalYear;
    bool checkFiles = false; // the conferência at the end of the run, inside its snapshot
    // When set and requested, the run throws ExportInterrupted at the next record or file.
    const RunStop* stop = nullptr;
};

// Where a run reports; the window and the command line each implement it.
class ExportSink {
public:
    virtual ~ExportSink() = default;
    virtual void ClearLog() = 0;
    virtual void AppendLog(const QString& line) = 0;
    // A file failed: its failure line for the log, the file's name, and why (the file's error or the
    // value that could not be written, and what stayed under the file's name when it could not go).
    virtual void AppendFailure(const QString& line, const QString& fileName, const QString& reason) = 0;
    virtual void SetOverallMaximum(int maximum) = 0; // also brings the position to 0
    virtual void SetOverallPosition(int position) = 0;
    // A file's query has run and its file is written next; the file's log line follows its writing.
    virtual void SetFileMaximum(int maximum) = 0;
    virtual void SetFilePosition(int position) = 0;
    // No bimester chosen: tell the operator ("Escolha o Bimestre de Referência!").
    virtual void BimesterMissing() = 0;
    // Called between records and files so a window can repaint; takes no user input.
    virtual void KeepPainted() {}
};

struct ExportResult {
    bool ran = false; // false: stopped at the bimester check
    int filesCreated = 0;
    int filesFailed = 0;
    std::vector<WrittenFile> written;  // each file the run tried, with what it put in place
    std::optional<CheckReport> report; // when the request asked for the conferência
};

// The conferência of the request's file boxes in its folder. `filesNamed`: a missing file is an error.
// Throws ExportError for a fiscal year that gives no date.
CheckRequest CheckRequestFor(const ExportRequest& request, bool filesNamed,
                             std::vector<WrittenFile> written = {});

// Runs the export. Errors outside a file's guarded writing (a query the database rejects, as a
// StatementError naming the file; an entity code that is not a number; an invalid fiscal year) propagate
// as exceptions and end the run. Once the stop is requested the run throws ExportInterrupted at the next
// record or file; a statement cancelled meanwhile fails with the database's own error, which the caller
// reads as the stop too.
ExportResult RunExport(const ExportRequest& request, TCRSQLConnection& connection, TSQLClientDataSet& cds1,
                       ExportSink& sink, const RegionalSettings& regional);

} // namespace lrf
