#include "CommandLine.h"

#include "settings/Installation.h"

#include <charconv>
#include <string>

namespace lrf::cli {

using namespace Qt::StringLiterals;

namespace {

std::optional<std::int64_t> WholeNumber(const QString& text) {
    const std::string ascii = text.trimmed().toStdString();
    std::int64_t value = 0;
    const char* end = ascii.data() + ascii.size();
    const auto [rest, error] = std::from_chars(ascii.data(), end, value);
    if (ascii.empty() || error != std::errc() || rest != end)
        return std::nullopt;
    return value;
}

// "rec_rzda", "REC_RZDA.txt" and "Rec_Rzda.TXT" all name the box REC_RZDA.
std::optional<std::size_t> StepOfFileName(QString name) {
    name = name.trimmed();
    if (name.endsWith(u".txt"_s, Qt::CaseInsensitive))
        name.chop(4);
    const auto& steps = ExportSteps();
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const auto& stem = steps[i].fileStem;
        if (name.compare(QLatin1StringView(stem.data(), static_cast<qsizetype>(stem.size())),
                         Qt::CaseInsensitive) == 0)
            return i;
    }
    return std::nullopt;
}

std::optional<UsageError> ReadFileList(const QString& value, Options& options) {
    options.ticked.fill(false);
    if (value.trimmed().compare(u"todos"_s, Qt::CaseInsensitive) == 0) {
        options.ticked.fill(true);
        return std::nullopt;
    }
    for (const QString& name : value.split(u',')) {
        const auto step = StepOfFileName(name);
        if (!step)
            return UsageError{u"arquivo desconhecido: \""_s + name + u"\""_s};
        options.ticked[*step] = true;
    }
    return std::nullopt;
}

std::optional<UsageError> ReadEntityCodes(const QString& value, Options& options) {
    options.entityCodes.clear();
    for (const QString& code : value.split(u',')) {
        const auto number = WholeNumber(code);
        if (!number)
            return UsageError{u"código de entidade inválido: \""_s + code + u"\""_s};
        options.entityCodes.push_back(*number);
    }
    return std::nullopt;
}

} // namespace

std::variant<Options, UsageError> ParseCommandLine(const QStringList& arguments) {
    Options options;
    options.ticked.fill(true);
    bool haveBimester = false;
    QStringList seen;

    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString name = arguments[i];
        std::optional<QString> value;
        if (const qsizetype equals = name.indexOf(u'='); name.startsWith(u"--"_s) && equals > 0) {
            value = name.mid(equals + 1);
            name.truncate(equals);
        }
        if (name == u"--help"_s || name == u"-h"_s) {
            options.help = true;
            continue;
        }
        static const QStringList kValued{u"--bimestre"_s, u"--entidades"_s, u"--arquivos"_s, u"--saida"_s,
                                         u"--ini"_s};
        if (!kValued.contains(name))
            return UsageError{u"opção desconhecida: \""_s + arguments[i] + u"\""_s};
        if (seen.contains(name))
            return UsageError{u"opção repetida: "_s + name};
        seen.append(name);
        if (!value) {
            if (i + 1 >= arguments.size())
                return UsageError{u"falta o valor de "_s + name};
            value = arguments[++i];
        }

        std::optional<UsageError> error;
        if (name == u"--bimestre"_s) {
            const auto number = WholeNumber(*value);
            if (!number || *number < 1 || *number > 6)
                return UsageError{u"o bimestre deve ser de 1 a 6: \""_s + *value + u"\""_s};
            options.bimester = static_cast<int>(*number);
            haveBimester = true;
        } else if (name == u"--entidades"_s) {
            error = ReadEntityCodes(*value, options);
        } else if (name == u"--arquivos"_s) {
            error = ReadFileList(*value, options);
        } else if (value->trimmed().isEmpty()) {
            return UsageError{u"falta o valor de "_s + name};
        } else if (name == u"--saida"_s) {
            options.folderText = *value;
        } else {
            options.settingsFile = *value;
        }
        if (error)
            return *error;
    }
    if (!haveBimester && !options.help)
        return UsageError{u"informe o bimestre de referência com --bimestre N (1 a 6)"_s};
    return options;
}

QString UsageLine() {
    return u"Uso: lrf-export --bimestre N [--entidades C1,C2,...] [--arquivos NOME1,NOME2,...|todos] "
           u"[--saida PASTA] [--ini ARQUIVO]"_s;
}

} // namespace lrf::cli
