#pragma once
#include <string>
#include <vector>

namespace lrf::sample {

// The tables the sample fills, in the order of their summary line.
extern const std::vector<std::string> kTables;

// Tables and the liquidation view, from the accounting schema, without keys: rows load faster before
// any index exists.
std::vector<std::string> CreateStatements();
// Primary keys, foreign keys and the search indexes, added once the rows are in.
std::vector<std::string> KeyStatements();
// The program connects as an ordinary user: it may read everything and change nothing.
std::vector<std::string> GrantStatements();

} // namespace lrf::sample
