#pragma once
// The entity list lines and the SQL clause built from the ticked ones.
#include <string>
#include <string_view>
#include <vector>

namespace lrf {

class TSQLClientDataSet;

struct EntityItem {
    std::string text; // the list line, UTF-8: code with the mask, " - ", name
    bool ticked = false;
};

// " and (  REF = 1 or   REF = 3)" for the ticked items, "" when none is ticked. `codeLength` is the
// length of the entity code mask. Throws ExportError "'xx' is not a valid integer value".
std::string BuildEntityFilter(const std::vector<EntityItem>& items, std::size_t codeLength,
                              std::string_view columnReference);

// Every occurrence of `from` replaced by `to`, matching case ("F." by "E." for sub-selects).
std::string ReplaceAll(std::string text, std::string_view from, std::string_view to);

struct EntityList {
    std::string mask;               // "0" repeated to the longest code's length
    std::vector<std::string> items; // in code order; bytes as the database stores them (Windows-1252)
};
// Reads TABEMPRESA through `cds` (left open) and builds the list lines.
EntityList ReadEntityList(TSQLClientDataSet& cds);

} // namespace lrf
