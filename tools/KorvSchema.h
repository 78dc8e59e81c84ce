#pragma once
// The accounting database's tables as the fixtures and the sample installation create them: one
// description, the columns the program reads first and the sample's own columns after them.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lrf::tools {

struct SchemaColumn {
    std::string_view name;
    std::string_view type;
    bool sampleOnly = false; // a column the program never reads, kept for a realistic sample
    bool required = false;   // NOT NULL in the sample (its keys)
};

struct SchemaTable {
    std::string_view name;
    std::vector<SchemaColumn> columns;
};

// Every table, in the order the sample reports them.
const std::vector<SchemaTable>& KorvTables();

struct TableOptions {
    bool sample = false; // with the sample's own columns and NOT NULL on the required ones
    // Column types replacing the description's, for a fixture that needs another type.
    std::vector<std::pair<std::string_view, std::string_view>> types = {};
};

// CREATE TABLE for the table `name` of the description.
std::string CreateTableSql(std::string_view name, const TableOptions& options = {});
// The liquidations as the statements read them.
inline constexpr std::string_view kCreateViewLiq =
    "CREATE VIEW VIEWLIQ (PKEMP, VADEM, DATAE) AS SELECT PKEMP, VALOR, DATA FROM LIQUID";
// The program connects as an ordinary user: it may read everything and change nothing.
std::string GrantSelectSql(std::string_view tableOrView);

} // namespace lrf::tools
