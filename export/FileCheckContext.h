#pragma once
// What every check reads: the layout of each file, the file as it lies in the folder, and the figures the
// database gives for it through statements of its own (plain sums, grouped; never the files' statements).
#include "database/Currency.h"
#include "export/FileCheck.h"

#include <cstdint>
#include <map>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace lrf::check {

enum FileIndex : std::size_t {
    kDedOrcd,
    kDedRzda,
    kDesOrcd,
    kDesRzda,
    kDfsOrcd,
    kDfsRzda,
    kDsoOrcd,
    kDsaOrcd,
    kRecOrcd,
    kRecRzda,
    kFileCount
};

struct FileLayout {
    std::string_view fileName;
    std::size_t fields;              // fields per line
    std::size_t keyFields;           // the first one or two fields form the line's key
    bool keyRepeats;                 // one line per database row: a key may come back, its lines are summed
    const char* checked;             // what the summary's two amounts are (UTF-8)
    std::array<int, 2> totalAmounts; // amounts (counted after the key) summed for the summary; -1 none
    unsigned alterationAmounts;      // bit per amount that may be negative by nature
    std::size_t Amounts() const { return fields - keyFields; }
};

const FileLayout& Layout(FileIndex file);

struct FileLine {
    int number = 0; // from 1
    std::vector<std::string> fields;
    std::string key;                 // the key fields joined by ";"
    std::vector<std::int64_t> cents; // one per amount; empty when the line is malformed
};

struct FileOnDisk {
    bool wanted = false;
    bool present = false;
    bool failedInRun = false;
    const WrittenFile* written = nullptr; // what the run wrote, when it did
    std::string bytes;
    std::vector<FileLine> lines; // those with the layout's field count
    int lineCount = 0;
    std::vector<QString> formFaults; // "linha 3: ..." for E01
    int formFaultCount = 0;
    bool Usable() const { return wanted && present; }
};

// The database's figures for one key of a file: its amounts in file order, exact, and how many database
// rows (lines of a file whose key repeats, or stored codes behind one written code) stand behind it.
struct KeyFigures {
    std::vector<Currency> amounts;
    int rows = 0;
};
using FileFigures = std::map<std::string, KeyFigures>;

// One group of expense items of the ticked entities: the columns the files group by, with the sums.
struct ExpenseGroup {
    std::optional<std::string> catec, funcao, subfuncao;
    bool extraN = false; // only EXTRA 'N' items form the lines of DES_RZDA and DFS_RZDA
    bool health = false; // FUNCAO = 10
    Currency dotac;
    // Movements of the period and of the year up to the bimester's end.
    Currency emp1, emp2, empYear, liq1, liq2, liqYear;
    Currency alt1, alt2, altTo1, altTo2; // alterations in each month; and up to each month's end
};

struct Figures {
    std::array<std::optional<FileFigures>, kFileCount> expected;
    std::array<QString, kFileCount> failure; // why the figures could not be had
    // Stored revenue codes behind each written code, per source (RECDIS, RECORC): W07 and E02.
    std::map<std::string, std::set<std::string>> recdisCodes, recorcCodes;
    std::map<std::string, Currency> ninePostings; // stored code -> period postings (W06)
    std::vector<ExpenseGroup> expense;            // grouped by (CATEC, FUNCAO, SUBFUNCAO, EXTRA)
    bool expenseMovements = false;
    bool recdisRows = false, recorcRows = false, desdisRows = false;
};

struct CheckContext {
    const CheckRequest& request;
    const RegionalSettings& regional;
    std::array<FileOnDisk, kFileCount> files;
    Figures figures;
};

using CheckFunction = void (*)(const CheckContext&, std::vector<CheckFinding>&);

struct CheckDefinition {
    std::string_view id;
    CheckKind kind;
    const char* text; // Portuguese, UTF-8
    CheckFunction run;
};

std::span<const CheckDefinition> CheckTable();

// Reading the folder and the database.
void ReadFiles(CheckContext& context);
void ReadFigures(CheckContext& context, TCRSQLConnection& connection);

// Shared by checks and report.
QString FileName(FileIndex file);
QString KeyText(std::string_view key); // Windows-1252 bytes for display
QString MoneyDisplay(Currency value);  // 1.234,56
Currency FromCents(std::int64_t cents);
CheckFinding Finding(FileIndex file, QString text, QStringList rows = {});
CheckFinding Finding(QString text, QStringList rows = {});

} // namespace lrf::check
