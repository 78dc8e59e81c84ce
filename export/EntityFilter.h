#pragma once
// The entity list lines, the ticked entities and the SQL clause built from them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lrf {

class TSQLClientDataSet;

struct EntityItem {
    std::string text; // the list line, UTF-8: code with the mask, " - ", name
    bool ticked = false;
};

// The ticked entities, read once from the list lines; each statement writes the clause for every column
// reference it needs. `codeLength` is the length of the entity code mask. Throws ExportError
// "'xx' is not a valid integer value" for a ticked line whose code is not a number.
class EntityClause {
public:
    EntityClause() = default; // no entity ticked
    EntityClause(const std::vector<EntityItem>& items, std::size_t codeLength);

    // " and (  REF = 1 or   REF = 3)" for the ticked entities, "" when none is ticked.
    std::string For(std::string_view columnReference) const;

private:
    std::vector<std::optional<std::int64_t>> codes_; // nullopt: a line without a code, IS NULL
};

// The clause of the ticked items for one column reference.
std::string BuildEntityFilter(const std::vector<EntityItem>& items, std::size_t codeLength,
                              std::string_view columnReference);

// Ticks every line whose code, read as the clause reads it, is one of `codes`. Returns the first of
// `codes` that no line has, if any.
std::optional<std::int64_t> TickCodes(std::vector<EntityItem>& items, std::size_t codeLength,
                                      const std::vector<std::int64_t>& codes);

struct EntityList {
    std::string mask;               // "0" repeated to the longest code's length
    std::vector<std::string> items; // in code order; bytes as the database stores them (Windows-1252)
};
// Reads TABEMPRESA through `cds` (left open) and builds the list lines.
EntityList ReadEntityList(TSQLClientDataSet& cds);

} // namespace lrf
