// lrf-export: the export run of the window, without a window.
#include "CommandLine.h"
#include "ConsoleSink.h"
#include "FileCheckCommand.h"
#include "InterruptibleRun.h"
#include "Terminal.h"
#include "app/TerminationSignals.h"
#include "database/ClientDataSet.h"
#include "database/Connection.h"
#include "database/Startup.h"
#include "export/DefaultFolders.h"
#include "export/EntityFilter.h"
#include "export/ExportError.h"
#include "export/ExportRun.h"
#include "export/FolderText.h"
#include "export/Regional.h"
#include "export/Windows1252.h"
#include "settings/Installation.h"

#include <QCoreApplication>

#include <cstdio>
#include <exception>
#include <filesystem>

using namespace Qt::StringLiterals;

namespace {

void PrintError(const QString& message) {
    const QByteArray bytes = (message + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
}

int UsageFailure(const QString& message) {
    PrintError(u"lrf-export: "_s + message);
    PrintError(lrf::cli::UsageLine());
    return lrf::cli::kExitUsage;
}

// The start-up messages are the window's; the driver message separates its lines with a lone "\r".
QString StartupMessage(const lrf::StartupResult& startup) {
    using Outcome = lrf::StartupResult::Outcome;
    switch (startup.outcome) {
    case Outcome::DriverMissing:
        return QString::fromUtf8(lrf::kMissingDriverMessage).replace(u'\r', u'\n');
    case Outcome::DatabaseNotFound:
        return QString::fromUtf8(lrf::kDatabaseNotFoundMessage);
    case Outcome::OpenFailed:
        return lrf::ErrorMessageText(startup.openError.c_str());
    case Outcome::Connected:
        break;
    }
    return {};
}

int Run(const lrf::cli::Options& options) {
    if (options.settingsFile) {
        const std::filesystem::path file(options.settingsFile->toStdU16String());
        // Without this check a mistyped name would read as an empty installation.
        if (!std::filesystem::is_regular_file(file)) {
            PrintError(u"Arquivo de configuração não encontrado: "_s + *options.settingsFile);
            return lrf::cli::kExitStartupFailed;
        }
        lrf::UseSettingsFile(file);
    }

    lrf::TCRSQLConnection conexao;
    lrf::StartupResult startup;
    try {
        lrf::ApplyDesignTimeSettings(conexao);
        startup = lrf::StartUp(conexao, lrf::ExecutableFolder());
    } catch (const std::exception& error) {
        lrf::cli::TakeOverSignals();
        PrintError(QString::fromUtf8(error.what()));
        return lrf::cli::kExitStartupFailed;
    }
    lrf::cli::TakeOverSignals();
    if (const auto signal = lrf::cli::ReceivedSignal())
        return lrf::cli::ReportInterruption(*signal);
    if (startup.outcome != lrf::StartupResult::Outcome::Connected) {
        PrintError(StartupMessage(startup));
        if (!startup.reason.empty())
            PrintError(u"lrf-export: "_s + lrf::ErrorMessageText(startup.reason.c_str()));
        return lrf::cli::kExitStartupFailed;
    }

    lrf::TSQLClientDataSet cds1(&conexao);
    lrf::ExportRequest request;
    request.bimesterIndex = options.bimester - 1;
    request.ticked = options.ticked;
    request.folderText = lrf::WithFinalSeparator(options.folderText.value_or(lrf::DefaultOutputFolder()));
    request.fiscalYear = lrf::FromWindows1252(startup.fiscalYear);

    lrf::cli::ConsoleSink sink(lrf::cli::IsTerminal(stderr));
    try {
        const lrf::EntityList list = lrf::ReadEntityList(cds1);
        request.entityCodeLength = list.mask.size();
        for (const std::string& item : list.items)
            request.entities.push_back({lrf::FromWindows1252(item).toStdString(), false});
        if (const auto missing =
                lrf::TickCodes(request.entities, request.entityCodeLength, options.entityCodes))
            return UsageFailure(u"entidade %1 não encontrada em TABEMPRESA"_s.arg(*missing));

        if (options.checkOnly)
            return lrf::cli::CheckFolder(request, options.filesNamed, conexao);
        request.checkFiles = options.checkAfterRun;
        const auto result =
            lrf::cli::RunUntilSignal(request, conexao, cds1, sink, lrf::RegionalSettings::FromSystem());
        if (!result) {
            sink.EraseProgress();
            return lrf::cli::ReportInterruption(*lrf::cli::ReceivedSignal());
        }
        if (result->report)
            lrf::cli::PrintReport(*result->report);
        if (result->filesFailed != 0)
            return lrf::cli::kExitFileFailed;
        return result->report && !result->report->CanSend() ? lrf::cli::kExitCheckFailed
                                                            : lrf::cli::kExitSuccess;
    } catch (const lrf::StatementError& error) {
        sink.EraseProgress();
        PrintError(lrf::ErrorMessageText(error.what()));
        PrintError(u"lrf-export: "_s + QString::fromStdString(error.Detail()));
        return lrf::cli::kExitRunError;
    } catch (const std::exception& error) {
        sink.EraseProgress();
        PrintError(lrf::ErrorMessageText(error.what()));
        return options.checkOnly ? lrf::cli::kExitStartupFailed : lrf::cli::kExitRunError;
    }
}

} // namespace

int main(int argc, char** argv) {
    const lrf::TerminationSignals terminationSignals; // before the application object starts any thread
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();

    const auto parsed = lrf::cli::ParseCommandLine(arguments);
    if (const auto* usage = std::get_if<lrf::cli::UsageError>(&parsed))
        return UsageFailure(usage->message);
    const auto& options = std::get<lrf::cli::Options>(parsed);
    if (options.help || options.version) {
        const QString text = options.help ? lrf::cli::HelpText() : lrf::cli::VersionText() + u'\n';
        const QByteArray bytes = text.toUtf8();
        std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
        return std::fflush(stdout) == 0 ? lrf::cli::kExitSuccess : lrf::cli::kExitRunError;
    }
    int exitCode = lrf::cli::kExitRunError;
    try {
        exitCode = Run(options);
    } catch (const std::exception& error) {
        PrintError(QString::fromUtf8(error.what()));
    }
    // The log is the report a script reads: when it could not be written, the run did not succeed.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        PrintError(u"lrf-export: não foi possível escrever o registro na saída padrão"_s);
        return lrf::cli::kExitRunError;
    }
    // A signal that came as the run ended still means that it did not end as asked.
    if (const auto signal = lrf::cli::ReceivedSignal(); signal && exitCode != lrf::ExitCodeForSignal(*signal))
        return lrf::cli::ReportInterruption(*signal);
    return exitCode;
}
