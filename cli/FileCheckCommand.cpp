#include "FileCheckCommand.h"

#include "CommandLine.h"
#include "database/Connection.h"

#include <cstdio>
#include <exception>

namespace lrf::cli {

using namespace Qt::StringLiterals;

void PrintReport(const CheckReport& report) {
    const QByteArray bytes = (u"\n"_s + report.Text()).toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
}

int CheckFolder(const ExportRequest& request, bool filesNamed, TCRSQLConnection& connection) {
    std::optional<CheckReport> report;
    try {
        const CheckRequest check = CheckRequestFor(request, filesNamed);
        const TCRSQLConnection::Snapshot snapshot(connection);
        report = CheckFiles(check, connection, RegionalSettings::FromSystem());
    } catch (const std::exception& error) {
        const QByteArray bytes = (QString::fromUtf8(error.what()) + u'\n').toUtf8();
        std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
        return kExitStartupFailed;
    }
    const QByteArray bytes = report->Text().toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
    return report->CanSend() ? kExitSuccess : kExitCheckFailed;
}

} // namespace lrf::cli
