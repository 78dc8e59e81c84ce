// The conferência as a whole: the checks of the table run in order over the files and the database's
// figures, and the report an accountant reads before sending the files.
#include "database/Connection.h"
#include "export/FileCheckContext.h"
#include "export/Windows1252.h"

#include <algorithm>

namespace lrf {

using namespace Qt::StringLiterals;

namespace check {

QString KeyText(std::string_view key) {
    return FromWindows1252(key);
}

Currency FromCents(std::int64_t cents) {
    return Currency::FromUnits(cents * 100);
}

// Rounded to the cent, with the thousands marked: the report is read, not loaded.
QString MoneyDisplay(Currency value) {
    const std::int64_t units = value.Units();
    const bool negative = units < 0;
    const std::uint64_t magnitude =
        negative ? static_cast<std::uint64_t>(-(units + 1)) + 1 : static_cast<std::uint64_t>(units);
    const std::uint64_t cents = magnitude / 100 + (magnitude % 100 >= 50 ? 1 : 0);
    QString whole = QString::number(cents / 100);
    for (qsizetype at = whole.size() - 3; at > 0; at -= 3)
        whole.insert(at, u'.');
    return (negative && cents != 0 ? u"-"_s : QString()) + whole + u',' +
           QString::number(cents % 100).rightJustified(2, u'0');
}

CheckFinding Finding(FileIndex file, QString text, QStringList rows) {
    return {{}, CheckKind::Error, FileName(file), std::move(text), std::move(rows)};
}

CheckFinding Finding(QString text, QStringList rows) {
    return {{}, CheckKind::Error, {}, std::move(text), std::move(rows)};
}

namespace {

FileSummary Summary(const CheckContext& context, FileIndex file) {
    const FileOnDisk& disk = context.files[file];
    const FileLayout& layout = Layout(file);
    FileSummary summary;
    summary.fileName = FileName(file);
    summary.present = disk.present;
    summary.lines = disk.lineCount;
    summary.checked = QString::fromUtf8(layout.checked);
    if (disk.present) {
        std::int64_t cents = 0;
        for (const FileLine& line : disk.lines)
            for (int amount : layout.totalAmounts)
                if (amount >= 0 && static_cast<std::size_t>(amount) < line.cents.size())
                    cents += line.cents[static_cast<std::size_t>(amount)];
        summary.fileAmount = FromCents(cents);
    }
    if (const auto& expected = context.figures.expected[file]) {
        Currency total;
        for (const auto& [key, figures] : *expected)
            for (int amount : layout.totalAmounts)
                if (amount >= 0)
                    total = total + figures.amounts[static_cast<std::size_t>(amount)];
        summary.databaseAmount = total;
    }
    return summary;
}

QString Bimester(const CheckRequest& request) {
    // The period's year: a short year in the settings ("24") reads as the run reads it.
    return u"%1º bimestre de %2"_s.arg(request.bimester).arg(request.period.month1Start.year());
}

QString Entities(const CheckRequest& request) {
    QStringList ticked;
    for (const EntityItem& item : request.entities)
        if (item.ticked)
            ticked << QString::fromStdString(item.text);
    return ticked.isEmpty() ? u"todas"_s : ticked.join(u"; "_s);
}

} // namespace
} // namespace check

int CheckReport::Errors() const {
    return static_cast<int>(std::ranges::count(findings, CheckKind::Error, &CheckFinding::kind));
}

int CheckReport::Warnings() const {
    return static_cast<int>(std::ranges::count(findings, CheckKind::Warning, &CheckFinding::kind));
}

CheckReport CheckFiles(const CheckRequest& request, TCRSQLConnection& connection,
                       const RegionalSettings& regional) {
    using namespace check;
    CheckContext context{request, regional, {}, {}};
    ReadFiles(context);
    ReadFigures(context, connection);

    CheckReport report;
    report.title = u"Conferência dos arquivos - "_s + Bimester(request);
    report.heading << u"Pasta: "_s + request.folderText << u"Entidades: "_s + Entities(request);
    for (const CheckDefinition& definition : CheckTable()) {
        std::vector<CheckFinding> found;
        definition.run(context, found);
        for (CheckFinding& finding : found) {
            finding.id = definition.id;
            finding.kind = definition.kind;
            report.findings.push_back(std::move(finding));
        }
    }
    for (std::size_t f = 0; f < kFileCount; ++f) {
        if (!context.files[f].wanted)
            continue;
        FileSummary summary = Summary(context, static_cast<FileIndex>(f));
        for (const CheckFinding& finding : report.findings) {
            if (finding.fileName != summary.fileName)
                continue;
            if (finding.kind == CheckKind::Error)
                summary.status = FileSummary::Status::Error;
            else if (summary.status == FileSummary::Status::Ok)
                summary.status = FileSummary::Status::Warning;
        }
        report.files.push_back(std::move(summary));
    }
    return report;
}

namespace {

QString StatusText(FileSummary::Status status) {
    switch (status) {
    case FileSummary::Status::Ok:
        return u"OK"_s;
    case FileSummary::Status::Warning:
        return u"AVISO"_s;
    case FileSummary::Status::Error:
        return u"ERRO"_s;
    }
    return {};
}

QString Amount(const std::optional<Currency>& value) {
    return value ? check::MoneyDisplay(*value) : u"-"_s;
}

} // namespace

QString CheckReport::Text() const {
    QStringList out;
    out << title;
    out += heading;
    out << QString();
    out << u"Arquivo       Linhas  Conferido                     No arquivo          No banco  Situação"_s;
    for (const FileSummary& file : files) {
        out << file.fileName.leftJustified(12) + u' ' +
                   (file.present ? QString::number(file.lines) : u"-"_s).rightJustified(7) + u"  "_s +
                   file.checked.leftJustified(24) + Amount(file.fileAmount).rightJustified(17) +
                   Amount(file.databaseAmount).rightJustified(18) + u"  "_s + StatusText(file.status);
    }
    out << QString();
    out << u"Erros: %1   Avisos: %2"_s.arg(Errors()).arg(Warnings());
    if (files.empty())
        out << u"Nenhum arquivo marcado: nada a conferir."_s;
    else if (CanSend())
        out << (Warnings() == 0 ? u"Os arquivos podem ser enviados."_s
                                : u"Os arquivos podem ser enviados; veja antes os avisos abaixo."_s);
    else
        out << u"Os arquivos NÃO podem ser enviados: corrija os erros abaixo e exporte de novo."_s;

    out << QString() << u"Detalhes"_s;
    for (const check::CheckDefinition& definition : check::CheckTable()) {
        const auto count = std::ranges::count(findings, definition.id, &CheckFinding::id);
        const QString result = count == 0                            ? u"OK"_s
                               : definition.kind == CheckKind::Error ? u"ERRO"_s
                                                                     : u"AVISO"_s;
        out << QString::fromLatin1(definition.id.data(), static_cast<qsizetype>(definition.id.size())) +
                   u' ' + result.leftJustified(6) + QString::fromUtf8(definition.text);
        for (const CheckFinding& finding : findings) {
            if (finding.id != definition.id)
                continue;
            out << u"    "_s + (finding.fileName.isEmpty() ? QString() : finding.fileName + u": "_s) +
                       finding.text;
            for (const QString& row : finding.rows)
                out << u"        "_s + row;
        }
    }
    return out.join(u'\n') + u'\n';
}

} // namespace lrf
