#pragma once
// Revenue fixture databases and a sink that records what a run reports, for the export tests.
#include "database/ClientDataSet.h"
#include "database/Connection.h"
#include "export/ExportRun.h"
#include "tools/DatabaseWriter.h"
#include "tools/KorvSchema.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace lrf::test {

inline std::filesystem::path ScratchPath(const std::string& name) {
    return std::filesystem::path(LRF_TEST_TMP) / name;
}

// The four revenue tables, `money` being the type of every amount column. RECALP is left out when
// `withAlterations` is false, so the statements that read it are rejected by the database.
inline tools::DatabaseWriter CreateRevenueTables(const std::filesystem::path& path, const std::string& money,
                                                 bool withAlterations = true) {
    std::filesystem::remove(path);
    auto db = tools::DatabaseWriter::Create(path.string());
    const tools::TableOptions amounts{.types = {{"TOTOR", money}, {"VAREC", money}, {"VALOR", money}}};
    std::vector<std::string> ddl;
    for (const char* table : {"TABEMPRESA", "RECORC", "RECDIS", "RECEIT", "RECALP"}) {
        if (withAlterations || std::string_view(table) != "RECALP") {
            ddl.push_back(tools::CreateTableSql(table, amounts));
            ddl.push_back(tools::GrantSelectSql(table));
        }
    }
    db.ExecuteAll(ddl);
    return db;
}

// Every row shows one rule; entity 1 is the one the tests tick. Bimester 2 of 2024: March and April.
inline void FillRevenueRows(tools::DatabaseWriter& db, bool withAlterations = true) {
    db.ExecuteRows("INSERT INTO TABEMPRESA VALUES (?, ?)", {{"1", "PREFEITURA"}, {"2", "C\xC2MARA"}});
    db.ExecuteRows("INSERT INTO RECORC VALUES (?, ?, ?)",
                   {
                       {"9721.01.00", "-300", "1"},
                       {"9721.02.00", "25.5", "1"},  // a positive deduction is written negative
                       {"9721.01.00", "-999", "2"},  // another entity
                       {"9611.00.00", "1", "1"},     // 9 but not 97
                       {"97", std::nullopt, "1"},    // short code, NULL amount
                       {"9721.03.00", "0.004", "1"}, // negated it rounds to zero: no sign
                       {std::nullopt, "5", "1"},     // no code
                       {"1112.01.00", "7", "1"},     // revenue, not deduction
                   });
    db.ExecuteRows("INSERT INTO RECDIS VALUES (?, ?, ?, ?)",
                   {
                       {"1", "1112.01.00", "1000", "1"},
                       {"2", "1112.01.00", "500", "2"},      // same code, entity not ticked
                       {"3", "1112.02.00", "150.0025", "1"}, // with ficha 11: 200.005, rounded after the sum
                       {"4", "1113", "0", "1"},
                       {"5", "9111.00.00", "1", "1"}, // codes beginning with 9 are left out
                       {"6", "9721.01.00", "-300", "1"},
                       {"7", "9721.01.00", "-50", "2"},
                       {"8", std::nullopt, "3", "1"},
                       {"9", "97", std::nullopt, "1"},
                       {"10", "1112.01.00.99", "10", "1"}, // longer than ten characters
                       {"11", "1112.02.00", "50.0025", "1"},
                       {"12", "9721.01.00", "-20", "1"}, // a second item of the code: its own sums
                       {"13",
                        "1114.\xC7"
                        "1.00",
                        "1", "1"}, // a Windows-1252 byte in the code
                   });
    db.ExecuteRows("INSERT INTO RECEIT VALUES (?, ?, ?)",
                   {
                       {"1", "10", "2024-03-01"},   // first day of month 1
                       {"1", "20", "2024-03-31"},   // last day of month 1, not month 2
                       {"1", "40", "2024-04-30"},   // last day of month 2
                       {"1", "80", "2024-05-01"},   // the day after
                       {"1", "160", "2024-02-29"},  // the day before
                       {"2", "1000", "2024-03-15"}, // the unticked entity, in no file of entity 1
                       {"6", "-25", "2024-03-01"},
                       {"7", "-1000", "2024-03-02"}, // the unticked entity's deduction
                       {"12", "-4", "2024-04-30"},
                       {"1", std::nullopt, "2024-03-10"},
                   });
    if (!withAlterations)
        return;
    db.ExecuteRows("INSERT INTO RECALP VALUES (?, ?, ?)",
                   {
                       {"1", "5", "2024-01-10"},   // January counts in both months
                       {"1", "7", "2024-03-31"},   // last day of month 1 counts in both
                       {"1", "11", "2024-04-15"},  // month 2 only
                       {"1", "13", "2024-05-01"},  // after the bimester
                       {"2", "100", "2024-03-10"}, // the unticked entity, in no file of entity 1
                       {"6", "-10.25", "2024-01-05"},
                       {"7", "-500", "2024-03-03"},
                       {"12", "-1", "2024-04-01"},
                   });
}

// A connection as the program opens it, on a fixture database through the embedded engine.
inline void OpenConnection(TCRSQLConnection& connection, const std::filesystem::path& database) {
    ApplyDesignTimeSettings(connection);
    connection.LibraryName = LRF_BIN_DIR "/dbexpida.dll";
    connection.VendorLib = "gds32.DLL";
    connection.SetParam("DataBase", database.string());
    connection.SetParam("User_Name", "EPMDGZG2");
    connection.Open();
}

class RecordingSink : public ExportSink {
public:
    std::vector<std::string> log;     // UTF-8
    std::vector<std::string> reasons; // of the failed files, UTF-8
    int clears = 0;
    int bimesterMissing = 0;
    int overallMaximum = -1;
    std::vector<int> overallPositions;
    std::vector<int> fileMaxima;
    int lastFilePosition = 0;
    std::function<void()> onKeepPainted;

    void ClearLog() override {
        log.clear();
        reasons.clear();
        ++clears;
    }
    void AppendLog(const QString& line) override { log.push_back(line.toStdString()); }
    void AppendFailure(const QString& line, const QString&, const QString& reason) override {
        log.push_back(line.toStdString());
        reasons.push_back(reason.toStdString());
    }
    void SetOverallMaximum(int maximum) override {
        overallMaximum = maximum;
        overallPositions.clear();
    }
    void SetOverallPosition(int position) override { overallPositions.push_back(position); }
    void SetFileMaximum(int maximum) override { fileMaxima.push_back(maximum); }
    void SetFilePosition(int position) override { lastFilePosition = position; }
    void BimesterMissing() override { ++bimesterMissing; }
    void KeepPainted() override {
        if (onKeepPainted)
            onKeepPainted();
    }
};

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace lrf::test
