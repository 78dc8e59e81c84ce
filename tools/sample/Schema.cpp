#include "Schema.h"

#include "tools/KorvSchema.h"

namespace lrf::sample {

namespace {

std::vector<std::string> TableNames() {
    std::vector<std::string> names;
    for (const tools::SchemaTable& table : tools::KorvTables())
        names.emplace_back(table.name);
    return names;
}

} // namespace

const std::vector<std::string> kTables = TableNames();

std::vector<std::string> CreateStatements() {
    std::vector<std::string> statements;
    for (const std::string& table : kTables)
        statements.push_back(tools::CreateTableSql(table, {.sample = true}));
    statements.emplace_back(tools::kCreateViewLiq);
    return statements;
}

std::vector<std::string> KeyStatements() {
    return {
        "ALTER TABLE TABEMPRESA ADD CONSTRAINT PK_TABEMPRESA PRIMARY KEY (EMPRESA)",
        "ALTER TABLE CADCLI ADD CONSTRAINT PK_CADCLI PRIMARY KEY (CODCLI)",
        "ALTER TABLE RECORC ADD CONSTRAINT PK_RECORC PRIMARY KEY (EMPRESA, CODRE)",
        "ALTER TABLE RECDIS ADD CONSTRAINT PK_RECDIS PRIMARY KEY (FICHA)",
        "ALTER TABLE RECEIT ADD CONSTRAINT PK_RECEIT PRIMARY KEY (ID)",
        "ALTER TABLE RECALP ADD CONSTRAINT PK_RECALP PRIMARY KEY (ID)",
        "ALTER TABLE DESDIS ADD CONSTRAINT PK_DESDIS PRIMARY KEY (FICHA)",
        "ALTER TABLE DESPES ADD CONSTRAINT PK_DESPES PRIMARY KEY (PKEMP)",
        "ALTER TABLE LIQUID ADD CONSTRAINT PK_LIQUID PRIMARY KEY (PKLIQ)",
        "ALTER TABLE DESALD ADD CONSTRAINT PK_DESALD PRIMARY KEY (ID)",

        "ALTER TABLE RECORC ADD CONSTRAINT FK_RECORC_EMPRESA FOREIGN KEY (EMPRESA) REFERENCES TABEMPRESA",
        "ALTER TABLE RECDIS ADD CONSTRAINT FK_RECDIS_EMPRESA FOREIGN KEY (EMPRESA) REFERENCES TABEMPRESA",
        "ALTER TABLE RECEIT ADD CONSTRAINT FK_RECEIT_FICHA FOREIGN KEY (FICHA) REFERENCES RECDIS",
        "ALTER TABLE RECALP ADD CONSTRAINT FK_RECALP_FICHA FOREIGN KEY (FICHA) REFERENCES RECDIS",
        "ALTER TABLE DESDIS ADD CONSTRAINT FK_DESDIS_EMPRESA FOREIGN KEY (EMPRESA) REFERENCES TABEMPRESA",
        "ALTER TABLE DESPES ADD CONSTRAINT FK_DESPES_FICHA FOREIGN KEY (FICHA) REFERENCES DESDIS",
        "ALTER TABLE LIQUID ADD CONSTRAINT FK_LIQUID_PKEMP FOREIGN KEY (PKEMP) REFERENCES DESPES",
        "ALTER TABLE DESALD ADD CONSTRAINT FK_DESALD_FICHA FOREIGN KEY (FICHA) REFERENCES DESDIS",

        "CREATE INDEX IX_RECDIS_CODRE ON RECDIS (CODRE)",
        "CREATE INDEX IX_RECEIT_DTLAN ON RECEIT (DTLAN)",
        "CREATE INDEX IX_RECALP_DTLAN ON RECALP (DTLAN)",
        "CREATE INDEX IX_DESDIS_CATEC ON DESDIS (CATEC)",
        "CREATE INDEX IX_DESDIS_FUNCAO ON DESDIS (FUNCAO, SUBFUNCAO)",
        "CREATE INDEX IX_DESPES_DATAE ON DESPES (DATAE)",
        "CREATE INDEX IX_LIQUID_DATA ON LIQUID (DATA)",
        "CREATE INDEX IX_DESALD_DTLAN ON DESALD (DTLAN)",
    };
}

std::vector<std::string> GrantStatements() {
    std::vector<std::string> grants;
    for (const std::string& table : kTables)
        grants.push_back(tools::GrantSelectSql(table));
    grants.push_back(tools::GrantSelectSql("VIEWLIQ"));
    return grants;
}

} // namespace lrf::sample
