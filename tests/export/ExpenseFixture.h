#pragma once
// A small accounting database for the expense and health files, in which each row shows one rule, and
// the way a file is produced from it: statement through the real connection, one line per record, CR LF.
#include "database/ClientDataSet.h"
#include "database/Connection.h"
#include "export/EntityFilter.h"
#include "export/FileGenerator.h"
#include "tools/DatabaseWriter.h"
#include "tools/KorvSchema.h"

#include <filesystem>
#include <string>
#include <vector>

namespace lrf::test {

inline std::string ExpenseTmpPath(const std::string& name) {
    return (std::filesystem::path(LRF_TEST_TMP) / name).string();
}

// The tables the expense statements read; liquidations live in a table of their own behind VIEWLIQ,
// as in the accounting system. FUNCAO and SUBFUNCAO are numbers here: the statements read them as text.
// `withEntityTable` false leaves TABEMPRESA to a database that has it.
inline void CreateExpenseTables(tools::DatabaseWriter& db, bool withEntityTable = true) {
    const tools::TableOptions numericFunctions{.types = {{"FUNCAO", "SMALLINT"}, {"SUBFUNCAO", "SMALLINT"}}};
    std::vector<std::string> ddl;
    for (const char* table : {"TABEMPRESA", "DESDIS", "DESPES", "LIQUID", "DESALD", "CADCLI"}) {
        if (!withEntityTable && std::string_view(table) == "TABEMPRESA")
            continue;
        ddl.push_back(tools::CreateTableSql(table, numericFunctions));
        ddl.push_back(tools::GrantSelectSql(table));
    }
    ddl.emplace_back(tools::kCreateViewLiq);
    ddl.push_back(tools::GrantSelectSql("VIEWLIQ"));
    db.ExecuteAll(ddl);
}

// The second bimester of 2010 is the period of every case: March is month 1, April month 2.
// Entities 1 and 2 are ticked, entity 3 is not. Each row's comment says what it shows.
inline void FillExpenseRows(tools::DatabaseWriter& db, int cadcliRows) {
    db.ExecuteRows("INSERT INTO TABEMPRESA VALUES (?, ?)",
                   {{"1", "PREFEITURA"}, {"2", "FUNDO DE SAUDE"}, {"3", "CAMARA"}});
    db.ExecuteRows("INSERT INTO DESDIS (FICHA, CATEC, DOTAC, FUNCAO, SUBFUNCAO, EXTRA, EMPRESA) VALUES (?, "
                   "?, ?, ?, ?, ?, ?)",
                   {
                       {"1", "3.3.90.39", "950.00", "4", "122", "N", "1"},
                       {"2", "3.3.90.39", "100.00", "4", "122", "S", "1"}, // EXTRA: no line, amounts count
                       {"3", "3.3.90.30", "200.00", "4", "122", "S", "1"}, // EXTRA only: DES_ORCD line alone
                       {"4", std::nullopt, "50.00", "4", "123", "N", "1"}, // no category
                       {"5", "3.1.90.34.01", "800.00", "10", "301", "N", "1"}, // health line 1.20
                       {"6", "3.1.90.15", "300.00", "10", "301", "N", "1"},    // in no health line
                       {"7", "3.1.90.04", "400.00", "12", "361", "N", "1"}, // function 12: in no health line
                       {"8", "3.1.90.04", "125.00", "10", "302", "N", "2"}, // health line 1.11
                       {"9", "3.3.90.39", "5000.00", "4", "122", "N", "3"}, // entity not ticked
                       {"10", "4.4.90.52", std::nullopt, "10", "302", "N", "2"}, // NULL appropriation
                   });
    db.ExecuteRows("INSERT INTO DESPES (FICHA, PKEMP, VADEM, DATAE) VALUES (?, ?, ?, ?)",
                   {
                       {"1", "101", "120.00", "2010-03-05"},
                       {"2", "102", "80.50", "2010-04-10"},
                       {"4", "103", "10.00", "2010-03-10"},
                       {"5", "104", "300.00", "2010-02-20"}, // before the bimester
                       {"9", "105", "999.00", "2010-03-05"},
                       {"1", "106", std::nullopt, "2010-03-06"},
                       {"8", "107", "200.00", "2010-03-01"}, // first day of month 1
                       {"7", "108", "100.00", "2010-03-15"},
                   });
    db.ExecuteRows("INSERT INTO LIQUID (PKEMP, VALOR, DATA) VALUES (?, ?, ?)",
                   {
                       {"101", "95.00", "2010-03-31"}, // last day of month 1
                       {"104", "50.00", "2010-03-31"},
                       {"104", "62.25", "2010-04-01"}, // first day of month 2
                       {"107", "30.00", "2010-04-30"},
                       {"105", "999.00", "2010-03-10"},
                       {"108", "100.00", "2010-03-20"},
                   });
    db.ExecuteRows("INSERT INTO DESALD (FICHA, VALOR, DTLAN) VALUES (?, ?, ?)",
                   {
                       {"1", "-25.00", "2010-04-15"},
                       {"1", "40.00", "2010-03-20"}, // month 1: ATU_MES1 only, cumulative for DFS
                       {"1", "7.00", "2010-01-15"},  // before the bimester: only DFS counts it
                       {"5", "10.00", "2010-04-02"},
                       {"8", "5.00", "2010-03-31"},
                       {"6", "1000.00", "2010-03-05"},
                       {"9", "999.00", "2010-03-05"},
                   });
    std::vector<tools::Row> cadcli;
    for (int i = 1; i <= cadcliRows; ++i)
        cadcli.push_back({std::to_string(i), "CLIENTE " + std::to_string(i)});
    if (!cadcli.empty())
        db.ExecuteRows("INSERT INTO CADCLI (CODCLI, NOME) VALUES (?, ?)", cadcli);
}

// A fresh fixture at LRF_TEST_TMP/<name>; an earlier run's file is replaced.
inline std::string BuildExpenseDatabase(const std::string& name, int cadcliRows) {
    const std::string path = ExpenseTmpPath(name);
    std::filesystem::remove(path);
    tools::DatabaseWriter db = tools::DatabaseWriter::Create(path);
    CreateExpenseTables(db);
    FillExpenseRows(db, cadcliRows);
    return path;
}

// The program's connection, as the window sets it up, on a local fixture file.
inline TCRSQLConnection OpenExpenseConnection(const std::string& path) {
    TCRSQLConnection connection;
    ApplyDesignTimeSettings(connection);
    connection.LibraryName = std::string(LRF_BIN_DIR) + "/dbexpida.dll";
    connection.VendorLib = "gds32.DLL";
    connection.SetParam("DataBase", path);
    connection.SetParam("User_Name", "EPMDGZG2");
    connection.Open();
    return connection;
}

// The bytes the frame writes for the statement's records: each line and CR LF.
inline std::string FileOfStatement(TCRSQLConnection& connection, const FileGenerator& generator,
                                   const std::string& sql, const RegionalSettings& regional = {}) {
    TSQLClientDataSet cds(&connection);
    cds.CommandText = sql;
    cds.Open();
    std::string bytes;
    for (; !cds.Eof(); cds.Next())
        bytes += generator.buildLine(cds, regional) + "\r\n";
    cds.Close();
    return bytes;
}

inline const Period kMarchApril2010{QDate(2010, 3, 1), QDate(2010, 3, 31), QDate(2010, 4, 1),
                                    QDate(2010, 4, 30)};

// Entities 1 and 2 ticked, 3 not, as the list shows them.
inline std::vector<EntityItem> TickedOneAndTwo() {
    return {{"1 - PREFEITURA", true}, {"2 - FUNDO DE SAUDE", true}, {"3 - CAMARA", false}};
}

inline std::string FileOf(TCRSQLConnection& connection, const FileGenerator& generator,
                          const std::vector<EntityItem>& entities, std::size_t codeLength = 1) {
    const std::string clause = BuildEntityFilter(entities, codeLength, generator.columnReference);
    return FileOfStatement(connection, generator, generator.buildSql(kMarchApril2010, clause));
}

} // namespace lrf::test
