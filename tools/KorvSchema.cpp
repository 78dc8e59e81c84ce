#include "tools/KorvSchema.h"

#include <stdexcept>

namespace lrf::tools {

namespace {

// Money as the accounting system keeps it: two decimals, exact. Names and descriptions in Windows-1252.
constexpr std::string_view kMoney = "NUMERIC(15,2)";
constexpr std::string_view kName60 = "VARCHAR(60) CHARACTER SET WIN1252";
constexpr std::string_view kText80 = "VARCHAR(80) CHARACTER SET WIN1252";
constexpr bool kSampleOnly = true;
constexpr bool kRequired = true;

} // namespace

const std::vector<SchemaTable>& KorvTables() {
    static const std::vector<SchemaTable> tables{
        {"TABEMPRESA",
         {{"EMPRESA", "INTEGER", false, kRequired},
          {"NOME", kName60},
          {"CNPJ", "VARCHAR(18)", kSampleOnly},
          {"SIGLA", "VARCHAR(10)", kSampleOnly},
          {"ENDERECO", kName60, kSampleOnly}}},
        {"CADCLI",
         {{"CODCLI", "INTEGER", false, kRequired},
          {"NOME", kName60},
          {"MUNICIPIO", "VARCHAR(40) CHARACTER SET WIN1252", kSampleOnly},
          {"UF", "CHAR(2)", kSampleOnly},
          {"CODIBGE", "INTEGER", kSampleOnly}}},
        {"RECORC",
         {{"CODRE", "VARCHAR(20)", false, kRequired},
          {"TOTOR", kMoney},
          {"EMPRESA", "INTEGER", false, kRequired},
          {"DESCRICAO", kText80, kSampleOnly}}},
        {"RECDIS",
         {{"FICHA", "INTEGER", false, kRequired},
          {"CODRE", "VARCHAR(20)"},
          {"TOTOR", kMoney},
          {"EMPRESA", "INTEGER", false, kRequired},
          {"FONTE", "CHAR(3)", kSampleOnly},
          {"DESCRICAO", kText80, kSampleOnly}}},
        {"RECEIT",
         {{"FICHA", "INTEGER", false, kRequired},
          {"VAREC", kMoney},
          {"DTLAN", "DATE"},
          {"ID", "INTEGER", kSampleOnly, kRequired}}},
        {"RECALP",
         {{"FICHA", "INTEGER", false, kRequired},
          {"VALOR", kMoney},
          {"DTLAN", "DATE"},
          {"ID", "INTEGER", kSampleOnly, kRequired},
          {"DECRETO", "VARCHAR(20)", kSampleOnly}}},
        {"DESDIS",
         {{"FICHA", "INTEGER", false, kRequired},
          {"CATEC", "VARCHAR(20)"},
          {"DOTAC", kMoney},
          {"FUNCAO", "CHAR(2)"},
          {"SUBFUNCAO", "CHAR(3)"},
          {"EXTRA", "CHAR(1) DEFAULT 'N'", false, kRequired},
          {"EMPRESA", "INTEGER", false, kRequired},
          {"PROGRAMA", "CHAR(4)", kSampleOnly},
          {"ACAO", "CHAR(4)", kSampleOnly},
          {"FONTE", "CHAR(3)", kSampleOnly},
          {"DESCRICAO", kText80, kSampleOnly}}},
        {"DESPES",
         {{"FICHA", "INTEGER", false, kRequired},
          {"PKEMP", "INTEGER", false, kRequired},
          {"VADEM", kMoney},
          {"DATAE", "DATE"},
          {"NUMEMP", "INTEGER", kSampleOnly}}},
        {"LIQUID",
         {{"PKEMP", "INTEGER", false, kRequired},
          {"VALOR", kMoney},
          {"DATA", "DATE"},
          {"PKLIQ", "INTEGER", kSampleOnly, kRequired}}},
        {"DESALD",
         {{"FICHA", "INTEGER", false, kRequired},
          {"VALOR", kMoney},
          {"DTLAN", "DATE"},
          {"ID", "INTEGER", kSampleOnly, kRequired},
          {"DECRETO", "VARCHAR(20)", kSampleOnly}}},
    };
    return tables;
}

std::string CreateTableSql(std::string_view name, const TableOptions& options) {
    for (const SchemaTable& table : KorvTables()) {
        if (table.name != name)
            continue;
        std::string sql = "CREATE TABLE " + std::string(name) + " (";
        bool first = true;
        for (const SchemaColumn& column : table.columns) {
            if (column.sampleOnly && !options.sample)
                continue;
            std::string_view type = column.type;
            for (const auto& [overridden, replacement] : options.types)
                if (overridden == column.name)
                    type = replacement;
            sql += (first ? "" : ", ") + std::string(column.name) + " " + std::string(type);
            if (column.required && options.sample)
                sql += " NOT NULL";
            first = false;
        }
        return sql + ")";
    }
    throw std::invalid_argument("no table " + std::string(name) + " in the accounting schema");
}

std::string GrantSelectSql(std::string_view tableOrView) {
    return "GRANT SELECT ON " + std::string(tableOrView) + " TO PUBLIC";
}

} // namespace lrf::tools
