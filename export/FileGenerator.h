#pragma once
// What one output file contributes to the per-file frame: its SQL text and its line layout.
#include "export/Period.h"
#include "export/Regional.h"

#include <string>
#include <string_view>

namespace lrf {

class TSQLClientDataSet;

struct FileGenerator {
    std::string_view fileName;        // "DED_ORCD.TXT"
    std::string_view columnReference; // given to BuildEntityFilter, e.g. "F.EMPRESA"
    std::string (*buildSql)(const Period& period, const std::string& entityClause);
    // The line of the dataset's current record, without its line end (bytes, Windows-1252).
    std::string (*buildLine)(const TSQLClientDataSet& record, const RegionalSettings& regional);
};

} // namespace lrf
