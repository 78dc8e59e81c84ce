#include "export/EntityFilter.h"

#include "database/ClientDataSet.h"
#include "export/ExportError.h"
#include "settings/AsciiText.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace lrf {

namespace {

// The first `count` characters of UTF-8 text (an item line is UTF-8 once it reached the window).
std::string_view FirstCharacters(std::string_view text, std::size_t count) {
    std::size_t end = 0;
    for (std::size_t seen = 0; end < text.size() && seen < count; ++seen) {
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            ++end;
    }
    return text.substr(0, end);
}

// The code as the list shows it: L characters wide, zero-padded. A negative code keeps its sign inside
// the L characters ("-5" stays "-5" under "00", "-05" under "000"), so that the filter, which reads
// exactly L characters back, gets the same number.
std::string CodeText(std::int64_t code, std::size_t width) {
    const bool negative = code < 0;
    const std::uint64_t magnitude =
        negative ? static_cast<std::uint64_t>(-(code + 1)) + 1 : static_cast<std::uint64_t>(code);
    std::string digits = std::to_string(magnitude);
    const std::size_t digitWidth = negative && width > 0 ? width - 1 : width;
    if (digits.size() < digitWidth)
        digits.insert(0, digitWidth - digits.size(), '0');
    return negative ? "-" + digits : digits;
}

} // namespace

std::string BuildEntityFilter(const std::vector<EntityItem>& items, std::size_t codeLength,
                              std::string_view columnReference) {
    std::string joined;
    bool first = true;
    for (const EntityItem& item : items) {
        if (!item.ticked)
            continue;
        std::string term = " ";
        term += columnReference;
        const std::string_view codeText = FirstCharacters(item.text, codeLength);
        // An empty line, or an entity whose code is NULL (the list shows blanks in its place).
        if (item.text.empty() || Trimmed(codeText, " ").empty()) {
            term += " IS NULL";
        } else {
            const std::optional<std::int64_t> code = ParseWholeNumber<std::int64_t>(codeText);
            if (!code)
                throw ExportError("'" + std::string(codeText) + "' is not a valid integer value");
            term += " = " + std::to_string(*code);
        }
        if (!first)
            joined += " or ";
        joined += ' ';
        joined += term;
        first = false;
    }
    return first ? std::string() : " and (" + joined + ")";
}

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
    if (from.empty())
        return text;
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

EntityList ReadEntityList(TSQLClientDataSet& cds) {
    cds.Close();
    cds.CommandText = "SELECT * FROM TABEMPRESA ORDER BY EMPRESA ASCENDING";
    cds.Open();

    std::size_t codeLength = 0;
    for (cds.First(); !cds.Eof(); cds.Next())
        codeLength = std::max(codeLength, cds.FieldByName("EMPRESA").AsString().size());

    EntityList list;
    list.mask.assign(codeLength, '0');
    list.items.reserve(cds.RecordCount());
    for (cds.First(); !cds.Eof(); cds.Next()) {
        const TField code = cds.FieldByName("EMPRESA");
        // A NULL code shows as blanks, which the filter turns into IS NULL rather than entity 0.
        std::string line =
            code.IsNull() ? std::string(codeLength, ' ') : CodeText(code.AsInteger(), codeLength);
        line += " - ";
        line += cds.FieldByName("NOME").AsString();
        list.items.push_back(std::move(line));
    }
    cds.First();
    return list;
}

} // namespace lrf
