// The files as they lie in the folder: their layouts, and each line cut into fields and amounts.
#include "export/FileCheckContext.h"
#include "export/RecordConventions.h"
#include "export/Windows1252.h"

#include <QFile>

namespace lrf::check {

using namespace Qt::StringLiterals;

namespace {

// Amount bits: the alteration fields of DES_RZDA are the only ones that are negative by nature.
constexpr FileLayout kLayouts[kFileCount] = {
    {"DED_ORCD.TXT", 2, 1, true, "deduções orçadas", {0, -1}, 0},
    {"DED_RZDA.TXT", 5, 1, true, "deduções realizadas", {0, 2}, 0},
    {"DES_ORCD.TXT", 2, 1, false, "dotação por categoria", {0, -1}, 0},
    {"DES_RZDA.TXT", 7, 1, false, "empenhado por categoria", {0, 1}, 0b110000},
    {"DFS_ORCD.TXT", 3, 2, false, "dotação por função", {0, -1}, 0},
    {"DFS_RZDA.TXT", 8, 2, false, "empenhado por função", {0, 3}, 0},
    {"DSO_ORCD.TXT", 2, 1, false, "dotação da saúde", {0, -1}, 0},
    {"DSA_ORCD.TXT", 5, 1, false, "liquidado na saúde", {0, 2}, 0},
    {"REC_ORCD.TXT", 2, 1, false, "receita orçada", {0, -1}, 0},
    {"REC_RZDA.TXT", 5, 1, false, "receita realizada", {0, 2}, 0},
};

// How many faults of one file the details list; the count says how many there were.
constexpr int kFaultsListed = 20;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// "-1234,56" as MoneyText writes it, or the reason it is not.
std::optional<std::int64_t> ReadMoney(std::string_view text, const std::string& separator, QString& why) {
    std::string_view rest = text;
    const bool negative = !rest.empty() && rest.front() == '-';
    if (negative)
        rest.remove_prefix(1);
    const std::size_t at = rest.find(separator);
    if (at == std::string_view::npos || at == 0) {
        why = u"valor sem o separador decimal \""_s + FromWindows1252(separator) + u"\""_s;
        return std::nullopt;
    }
    const std::string_view whole = rest.substr(0, at);
    const std::string_view decimals = rest.substr(at + separator.size());
    // Kept as cents in 64 bits: fourteen whole digits leave room to sum them and to compare in units.
    bool digits = decimals.size() == 2 && IsDigit(decimals[0]) && IsDigit(decimals[1]) && whole.size() <= 14;
    for (char c : whole)
        digits = digits && IsDigit(c);
    if (!digits || (whole.size() > 1 && whole.front() == '0')) {
        why = u"valor fora do formato de duas casas decimais"_s;
        return std::nullopt;
    }
    std::int64_t cents = 0;
    for (char c : whole)
        cents = cents * 10 + (c - '0');
    cents = cents * 100 + (decimals[0] - '0') * 10 + (decimals[1] - '0');
    if (negative && cents == 0) {
        why = u"zero escrito com sinal"_s;
        return std::nullopt;
    }
    return negative ? -cents : cents;
}

void Fault(FileOnDisk& file, int line, const QString& why) {
    ++file.formFaultCount;
    if (file.formFaultCount <= kFaultsListed)
        file.formFaults.push_back(line > 0 ? u"linha %1: %2"_s.arg(line).arg(why) : why);
}

void CutLines(FileOnDisk& file, const FileLayout& layout, const std::string& separator) {
    std::string_view rest = file.bytes;
    // Told once; the lines behind it are read as they are meant.
    if (rest.starts_with("\xEF\xBB\xBF")) {
        Fault(file, 0, u"começa com marca de ordem de bytes (BOM)"_s);
        rest.remove_prefix(3);
    }
    int number = 0;
    while (!rest.empty()) {
        ++number;
        const std::size_t end = rest.find('\n');
        std::string_view text = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (end == std::string_view::npos) {
            Fault(file, number, u"última linha sem fim de linha CR LF"_s);
        } else if (!text.ends_with('\r')) {
            Fault(file, number, u"fim de linha LF sem CR"_s);
        } else {
            text.remove_suffix(1);
        }
        if (text.find('\r') != std::string_view::npos) {
            Fault(file, number, u"CR solto no meio da linha"_s);
            continue;
        }
        if (!text.ends_with(';')) {
            Fault(file, number, u"a linha não termina em \";\""_s);
            continue;
        }
        FileLine line;
        line.number = number;
        text.remove_suffix(1);
        for (std::size_t from = 0;;) {
            const std::size_t semicolon = text.find(';', from);
            line.fields.emplace_back(text.substr(from, semicolon - from));
            if (semicolon == std::string_view::npos)
                break;
            from = semicolon + 1;
        }
        if (line.fields.size() != layout.fields) {
            Fault(file, number, u"%1 campos em vez de %2"_s.arg(line.fields.size()).arg(layout.fields));
            continue;
        }
        for (std::size_t i = 0; i < layout.keyFields; ++i)
            line.key += (i > 0 ? ";" : "") + line.fields[i];
        bool amountsRead = true;
        for (std::size_t i = layout.keyFields; i < layout.fields; ++i) {
            QString why;
            const auto cents = ReadMoney(line.fields[i], separator, why);
            if (!cents) {
                Fault(file, number,
                      u"campo %1 \"%2\": %3"_s.arg(i + 1).arg(FromWindows1252(line.fields[i]), why));
                amountsRead = false;
                break;
            }
            line.cents.push_back(*cents);
        }
        if (!amountsRead)
            line.cents.clear();
        file.lines.push_back(std::move(line));
    }
    file.lineCount = number;
}

} // namespace

const FileLayout& Layout(FileIndex file) {
    return kLayouts[file];
}

QString FileName(FileIndex file) {
    const std::string_view name = kLayouts[file].fileName;
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

void ReadFiles(CheckContext& context) {
    const CheckRequest& request = context.request;
    // The decimal separator as the files hold it: MoneyText of zero is "0" + separator + "00".
    const std::string zero = MoneyText(Currency(), context.regional);
    const std::string separator = zero.substr(1, zero.size() - 3);

    const auto& steps = ExportSteps();
    for (std::size_t f = 0; f < kFileCount; ++f) {
        FileOnDisk& file = context.files[f];
        const FileLayout& layout = kLayouts[f];
        for (std::size_t s = 0; s < steps.size(); ++s)
            if (steps[s].generator != nullptr && steps[s].generator->fileName == layout.fileName)
                file.wanted = request.wanted[s];
        for (const WrittenFile& written : request.written) {
            if (written.fileName != layout.fileName)
                continue;
            file.written = &written;
            file.failedInRun = !written.created;
        }
        if (!file.wanted)
            continue;
        QFile disk(request.folderText + FileName(static_cast<FileIndex>(f)));
        if (!disk.open(QIODevice::ReadOnly)) {
            file.present = false;
            continue;
        }
        file.present = true;
        const QByteArray bytes = disk.readAll();
        file.bytes.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        CutLines(file, layout, separator);
    }
}

} // namespace lrf::check
