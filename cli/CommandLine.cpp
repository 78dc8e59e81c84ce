#include "CommandLine.h"

#include "settings/AsciiText.h"

#include <QCommandLineParser>
#include <string>
#include <utility>
#include <vector>

namespace lrf::cli {

using namespace Qt::StringLiterals;

namespace {

// The options, each written once: the parser, --help and the checks below all read this table.
struct OptionEntry {
    QStringList names;
    QString valueName; // empty: the option takes no value
    QString help;
};

const std::vector<OptionEntry>& OptionTable() {
    static const std::vector<OptionEntry> table{
        {{u"bimestre"_s}, u"N"_s, u"bimestre de referência, de 1 a 6 (obrigatório)"_s},
        {{u"entidades"_s}, u"C1,C2,..."_s, u"códigos das entidades a marcar na lista (padrão: nenhuma)"_s},
        {{u"arquivos"_s},
         u"NOME1,...|todos"_s,
         u"arquivos a gerar, como REC_ORCD ou Rec_Orcd.txt (padrão: todos)"_s},
        {{u"saida"_s}, u"PASTA"_s, u"pasta onde os arquivos são criados (padrão: a pasta da janela)"_s},
        {{u"ini"_s}, u"ARQUIVO"_s, u"arquivo de configuração no lugar do Korv.ini ao lado do programa"_s},
        {{u"conferencia"_s}, {}, u"depois da exportação, confere os arquivos e mostra o relatório"_s},
        {{u"conferir"_s}, {}, u"só confere os arquivos que estão na pasta, sem exportar nem gravar"_s},
        {{u"h"_s, u"help"_s}, {}, u"mostra esta ajuda e termina"_s},
        {{u"version"_s}, {}, u"mostra a versão e termina"_s},
    };
    return table;
}

QString DashedName(const QString& name) {
    return (name.size() == 1 ? u"-"_s : u"--"_s) + name;
}

std::optional<std::int64_t> WholeNumber(const QString& text) {
    return ParseWholeNumber<std::int64_t>(text.trimmed().toStdString());
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

// The argument as it was typed that the parser found no option for.
QString UnknownArgument(const QStringList& arguments, const QString& name) {
    for (const QString& argument : arguments) {
        if (!argument.startsWith(u'-'))
            continue;
        const QString dashed = argument.section(u'=', 0, 0);
        if (dashed == u"--"_s + name || (!argument.startsWith(u"--"_s) && dashed.mid(1).contains(name)))
            return argument;
    }
    return DashedName(name);
}

// The parser's own error texts are English: the one it can still report here is a value left out.
UsageError ParserError(const QCommandLineParser& parser, const QStringList& arguments) {
    if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty())
        return {u"opção desconhecida: \""_s + UnknownArgument(arguments, unknown.front()) + u"\""_s};
    for (const OptionEntry& option : OptionTable()) {
        for (const QString& name : option.names) {
            if (!parser.errorText().contains(u'\'' + DashedName(name) + u'\''))
                continue;
            if (option.valueName.isEmpty())
                return {u"a opção "_s + DashedName(name) + u" não recebe valor"_s};
            return {u"falta o valor de "_s + DashedName(name)};
        }
    }
    return {u"opções inválidas"_s};
}

} // namespace

std::variant<Options, UsageError> ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    for (const OptionEntry& option : OptionTable())
        parser.addOption(QCommandLineOption(option.names, option.help, option.valueName));
    if (!parser.parse(QStringList{u"lrf-export"_s} + arguments))
        return ParserError(parser, arguments);
    if (const QStringList extra = parser.positionalArguments(); !extra.isEmpty())
        return UsageError{u"opção desconhecida: \""_s + extra.front() + u"\""_s};

    Options options;
    options.ticked.fill(true);
    options.help = parser.isSet(u"help"_s);
    options.version = parser.isSet(u"version"_s);
    options.checkAfterRun = parser.isSet(u"conferencia"_s);
    options.checkOnly = parser.isSet(u"conferir"_s);
    options.filesNamed = parser.isSet(u"arquivos"_s);
    if (options.checkOnly && options.checkAfterRun)
        return UsageError{u"--conferir confere sem exportar; não se usa com --conferencia"_s};
    for (const OptionEntry& option : OptionTable()) {
        if (option.valueName.isEmpty())
            continue;
        const QString& name = option.names.front();
        const QStringList values = parser.values(name);
        if (values.isEmpty())
            continue;
        if (values.size() > 1)
            return UsageError{u"opção repetida: "_s + DashedName(name)};
        const QString& value = values.front();
        std::optional<UsageError> error;
        if (name == u"bimestre"_s) {
            const auto number = WholeNumber(value);
            if (!number || *number < 1 || *number > 6)
                return UsageError{u"o bimestre deve ser de 1 a 6: \""_s + value + u"\""_s};
            options.bimester = static_cast<int>(*number);
        } else if (name == u"entidades"_s) {
            error = ReadEntityCodes(value, options);
        } else if (name == u"arquivos"_s) {
            error = ReadFileList(value, options);
        } else if (value.trimmed().isEmpty()) {
            return UsageError{u"falta o valor de "_s + DashedName(name)};
        } else if (name == u"saida"_s) {
            options.folderText = value;
        } else {
            options.settingsFile = value;
        }
        if (error)
            return *error;
    }
    if (options.bimester == 0 && !options.help && !options.version)
        return UsageError{u"informe o bimestre de referência com --bimestre N (1 a 6)"_s};
    return options;
}

QString UsageLine() {
    return u"Uso: lrf-export --bimestre N [--entidades C1,C2,...] [--arquivos NOME1,NOME2,...|todos] "
           u"[--saida PASTA] [--ini ARQUIVO] [--conferencia|--conferir]"_s;
}

QString HelpText() {
    QString text = UsageLine() + u"\n\nExporta os arquivos do bimestre sem abrir a janela.\n\nOpções:\n"_s;
    for (const OptionEntry& option : OptionTable()) {
        QStringList names;
        for (const QString& name : option.names)
            names << DashedName(name);
        QString left = u"  "_s + names.join(u", "_s);
        if (!option.valueName.isEmpty())
            left += u' ' + option.valueName;
        text += left.leftJustified(34) + u' ' + option.help + u'\n';
    }
    text += u"\nCódigos de saída:\n"_s;
    const std::pair<int, QString> codes[] = {
        {kExitSuccess, u"todos os arquivos pedidos foram criados"_s},
        {kExitFileFailed, u"algum arquivo não foi criado (o registro diz qual)"_s},
        {kExitRunError, u"erro durante a exportação, ou o registro não pôde ser escrito"_s},
        {kExitStartupFailed, u"falha na inicialização: configuração, driver ou banco de dados"_s},
        {kExitCheckFailed, u"a conferência achou um erro nos arquivos"_s},
        {kExitUsage, u"opções inválidas"_s},
    };
    for (const auto& [code, meaning] : codes)
        text += u"  "_s + QString::number(code).leftJustified(4) + meaning + u'\n';
    text += u"\nExemplo:\n"
            u"  lrf-export --bimestre 2 --entidades 1,3 --arquivos REC_ORCD,REC_RZDA --saida /tmp/LRF\n"_s;
    return text;
}

QString VersionText() {
    return u"lrf-export "_s + QLatin1StringView(LRF_VERSION_TEXT);
}

} // namespace lrf::cli
