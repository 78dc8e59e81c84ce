#include "export/ExportRun.h"

#include "database/ClientDataSet.h"
#include "database/Connection.h"
#include "export/EntityFilter.h"
#include "export/ExportError.h"
#include "export/Period.h"
#include "export/Windows1252.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
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
    explicit FileWriteError(const QString& reason) : std::runtime_error(reason.toStdString()) {}
};

// A write that stops part-way leaves Qt without the system's reason; one more attempt fails at once and
// gives it ("No space left on device").
QString WriteErrorText(QFileDevice& file) {
    if (file.errorString() == QFile().errorString())
        file.flush();
    return file.errorString();
}

bool StopRequested(const RunStop* stop) {
    return stop != nullptr && stop->Requested();
}

// `facts` keeps the size and checksum of the bytes written, for the conferência to read back.
void WriteLines(QFileDevice& file, const FileGenerator& generator, TSQLClientDataSet& cds1, ExportSink& sink,
                const RegionalSettings& regional, WrittenFile& facts, const RunStop* stop) {
    QCryptographicHash checksum(QCryptographicHash::Sha256);
    for (cds1.First(); !cds1.Eof(); cds1.Next()) {
        if (StopRequested(stop))
            throw ExportInterrupted();
        const std::size_t recNo = cds1.RecNo();
        sink.SetFilePosition(ClampToInt(recNo));
        std::string line = generator.buildLine(cds1, regional);
        line += "\r\n";
        if (file.write(line.data(), static_cast<qint64>(line.size())) != static_cast<qint64>(line.size()))
            throw FileWriteError(WriteErrorText(file));
        checksum.addData(QByteArrayView(line.data(), static_cast<qsizetype>(line.size())));
        facts.size += static_cast<qint64>(line.size());
        if (recNo % kRecordsPerRepaint == 0)
            sink.KeepPainted();
    }
    if (StopRequested(stop))
        throw ExportInterrupted();
    // A file under the buffer's size reaches the disk only here, and QSaveFile::commit() (Qt 6.4) would
    // ignore a failure of its own flush and put a short file in place.
    if (!file.flush())
        throw FileWriteError(WriteErrorText(file));
    facts.sha256 = checksum.result();
}

// The file is written to a temporary file beside its final name and put in place only when every
// byte is written. Where the folder takes no new name (no write permission, immutable) but the file
// itself can be rewritten, it is written in place. A stop ends the writing as a failure does.
void WriteFile(const QString& path, const FileGenerator& generator, TSQLClientDataSet& cds1, ExportSink& sink,
               const RegionalSettings& regional, WrittenFile& facts, const RunStop* stop) {
    QSaveFile file(path);
    file.setDirectWriteFallback(false); // Qt's own fallback leaves no trace of which way it went
    if (file.open(QIODevice::WriteOnly)) {
        try {
            WriteLines(file, generator, cds1, sink, regional, facts, stop);
        } catch (...) {
            file.cancelWriting(); // the temporary file goes with `file`
            throw;
        }
        if (!file.commit())
            throw FileWriteError(file.errorString());
        return;
    }
    QFile inPlace(path);
    if (!inPlace.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw FileWriteError(inPlace.errorString());
    WriteLines(inPlace, generator, cds1, sink, regional, facts, stop);
    inPlace.close();
    if (inPlace.error() != QFileDevice::NoError)
        throw FileWriteError(inPlace.errorString());
}

// Nothing may stay under the name of a failed file: the files carry no bimester, so a cut file, or
// one from an earlier run, would be taken for this run's. Returns what stays when it cannot go.
QString ClearFailedFile(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir() || (!info.exists() && !info.isSymLink()))
        return {};
    QFile file(path);
    if (file.remove())
        return {};
    const QString whyKept = file.errorString();
    // A folder that keeps its names may still let the file be emptied.
    if (file.resize(0))
        return u"o arquivo com este nome não pôde ser apagado e ficou vazio ("_s + whyKept + u')';
    return u"o arquivo com este nome não pôde ser apagado nem esvaziado ("_s + whyKept + u')';
}

} // namespace

CheckRequest CheckRequestFor(const ExportRequest& request, bool filesNamed,
                             std::vector<WrittenFile> written) {
    CheckRequest check;
    check.period = PeriodOfBimester(request.bimesterIndex + 1, request.fiscalYear);
    check.bimester = request.bimesterIndex + 1;
    check.entities = request.entities;
    check.entityCodeLength = request.entityCodeLength;
    const auto& steps = ExportSteps();
    for (std::size_t i = 0; i < steps.size(); ++i)
        check.wanted[i] = request.ticked[i] && steps[i].generator != nullptr;
    check.filesNamed = filesNamed;
    check.folderText = request.folderText;
    check.written = std::move(written);
    return check;
}

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
            const EntityClause entities(request.entities, request.entityCodeLength);
            cds1.Close();
            cds1.CommandText = generator->buildSql(period, entities);
            try {
                if (!snapshot)
                    snapshot.emplace(connection);
                cds1.Open();
            } catch (const DatabaseError& error) {
                throw StatementError(error, generator->fileName);
            }
            sink.SetFileMaximum(ClampToInt(cds1.RecordCount()));

            const QString fileName = FromAscii(generator->fileName);
            const QString path = request.folderText + fileName;
            QString reason;
            WrittenFile& facts = result.written.emplace_back();
            facts.fileName = generator->fileName;
            try {
                WriteFile(path, *generator, cds1, sink, regional, facts, request.stop);
            } catch (const ExportInterrupted&) {
                // Discarded as a failed file is, and the run ends here.
                ClearFailedFile(path);
                cds1.Close();
                throw;
            } catch (const std::exception& error) {
                // Whatever stopped the writing, the file's own line tells it and the run goes on.
                reason = ErrorMessageText(error.what());
                if (reason.isEmpty())
                    reason = u"erro sem descrição"_s;
            } catch (...) {
                reason = u"erro sem descrição"_s;
            }
            if (reason.isEmpty()) {
                sink.AppendLog(SuccessLine(fileName));
                ++result.filesCreated;
                facts.created = true;
            } else {
                if (const QString kept = ClearFailedFile(path); !kept.isEmpty())
                    reason += u"; "_s + kept;
                sink.AppendFailure(FailureLine(fileName), fileName, reason);
                ++result.filesFailed;
            }
            cds1.Close();
        }
        sink.SetOverallPosition(++overallPosition);
        sink.KeepPainted();
    }

    sink.AppendLog(u".: Finalizei :."_s);
    sink.AppendLog(QString::number(result.filesCreated) + u" arquivo(s) criado(s) com sucesso!"_s);
    sink.AppendLog(QString::number(result.filesFailed) + u" arquivo(s) não criado(s) por algum erro!"_s);

    if (request.checkFiles) {
        const CheckRequest check = CheckRequestFor(request, true, result.written);
        if (!snapshot && std::ranges::find(check.wanted, true) != check.wanted.end())
            snapshot.emplace(connection);
        result.report = CheckFiles(check, connection, regional);
    }
    return result;
}

} // namespace lrf
