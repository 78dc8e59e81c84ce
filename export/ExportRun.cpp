#include "export/ExportRun.h"

#include "database/ClientDataSet.h"
#include "database/Connection.h"
#include "export/EntityFilter.h"
#include "export/Period.h"

#include <QDir>
#include <QSaveFile>

#include <climits>
#include <optional>
#include <stdexcept>

namespace lrf {

using namespace Qt::StringLiterals;

namespace {

// How many records pass between two repaints of the window.
constexpr std::size_t kRecordsPerRepaint = 256;

QString FromAscii(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

int ClampToInt(std::size_t value) {
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

QString SuccessLine(const QString& fileName) {
    return u"Arquivo "_s + fileName + u" criado com sucesso !"_s;
}
QString FailureLine(const QString& fileName) {
    return u"ERRO NA CRIAÇÃO DO ARQUIVO: "_s + fileName + u" !"_s;
}

class FileWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

bool StopRequested(const RunStop* stop) {
    return stop != nullptr && stop->Requested();
}

// F4: the file is written to a temporary file beside its final name and put in place only when every
// line is written, so a failure never leaves a cut file where the audit court's system looks, and an
// earlier complete file survives it. A stop discards it the same way.
void WriteFile(const QString& path, const FileGenerator& generator, TSQLClientDataSet& cds1, ExportSink& sink,
               const RegionalSettings& regional, const RunStop* stop) {
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    try {
        if (!file.open(QIODevice::WriteOnly))
            throw FileWriteError(file.errorString().toStdString());
        for (cds1.First(); !cds1.Eof(); cds1.Next()) {
            if (StopRequested(stop))
                throw ExportInterrupted();
            const std::size_t recNo = cds1.RecNo();
            sink.SetFilePosition(ClampToInt(recNo));
            std::string line = generator.buildLine(cds1, regional);
            line += "\r\n";
            if (file.write(line.data(), static_cast<qint64>(line.size())) != static_cast<qint64>(line.size()))
                throw FileWriteError(file.errorString().toStdString());
            if (recNo % kRecordsPerRepaint == 0)
                sink.KeepPainted();
        }
        if (StopRequested(stop))
            throw ExportInterrupted();
        if (!file.commit())
            throw FileWriteError(file.errorString().toStdString());
    } catch (...) {
        file.cancelWriting();
        throw;
    }
}

} // namespace

ExportResult RunExport(const ExportRequest& request, TCRSQLConnection& connection, TSQLClientDataSet& cds1,
                       ExportSink& sink, const RegionalSettings& regional) {
    const auto& steps = ExportSteps();

    int tickedBoxes = 0;
    for (bool ticked : request.ticked)
        tickedBoxes += ticked ? 1 : 0;
    sink.SetOverallMaximum(tickedBoxes);

    ExportResult result;
    if (request.bimesterIndex < 0 || request.bimesterIndex > 5) {
        sink.BimesterMissing();
        return result;
    }
    result.ran = true;

    const Period period = PeriodOfBimester(request.bimesterIndex + 1, request.fiscalYear);

    sink.ClearLog();
    // Only the last level; a folder that cannot be made shows up as each file's failure line.
    if (!request.folderText.isEmpty() && !QDir(request.folderText).exists())
        QDir().mkdir(request.folderText);
    cds1.Close();

    // All files of a run read one snapshot, so they agree even while postings go on. It is taken at the
    // first file, so a run of red boxes alone needs no database.
    std::optional<TCRSQLConnection::Snapshot> snapshot;
    int overallPosition = 0;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (StopRequested(request.stop))
            throw ExportInterrupted();
        if (!request.ticked[i])
            continue;
        const FileGenerator* generator = steps[i].generator;
        if (generator != nullptr) {
            const std::string clause =
                BuildEntityFilter(request.entities, request.entityCodeLength, generator->columnReference);
            if (!snapshot)
                snapshot.emplace(connection);
            cds1.Close();
            cds1.CommandText = generator->buildSql(period, clause, regional);
            cds1.Open();
            sink.SetFileMaximum(ClampToInt(cds1.RecordCount()));

            const QString fileName = FromAscii(generator->fileName);
            bool written = false;
            try {
                WriteFile(request.folderText + fileName, *generator, cds1, sink, regional, request.stop);
                written = true;
            } catch (const ExportInterrupted&) {
                cds1.Close();
                throw;
            } catch (...) {
                // Whatever stopped the writing, the file's own line tells it and the run goes on.
            }
            sink.AppendLog(written ? SuccessLine(fileName) : FailureLine(fileName));
            ++(written ? result.filesCreated : result.filesFailed);
            cds1.Close();
        }
        sink.SetOverallPosition(++overallPosition);
        sink.KeepPainted();
    }

    sink.AppendLog(u".: Finalizei :."_s);
    sink.AppendLog(QString::number(result.filesCreated) + u" arquivo(s) criado(s) com sucesso!"_s);
    sink.AppendLog(QString::number(result.filesFailed) + u" arquivo(s) não criado(s) por algum erro!"_s);
    return result;
}

} // namespace lrf
