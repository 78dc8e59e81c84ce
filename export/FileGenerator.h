#pragma once
// What one output file contributes to the per-file frame: its SQL text and its line layout.
#include "export/Period.h"
#include "export/Regional.h"

#include <string>
#include <string_view>

namespace lrf {

class EntityClause;
class TSQLClientDataSet;

struct FileGenerator {
    std::string_view fileName; // "DED_ORCD.TXT"
    // The statement, with the entity clause written for each column reference it restricts.
    std::string (*buildSql)(const Period& period, const EntityClause& entities);
    // The line of the dataset's current record, without its line end (bytes, Windows-1252).
    std::string (*buildLine)(const TSQLClientDataSet& record, const RegionalSettings& regional);
};

} // namespace lrf
