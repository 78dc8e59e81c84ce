#include "settings/ProfileReader.h"

#include "settings/AsciiText.h"
#include "settings/Windows1252Text.h"
#include <fstream>
#include <iterator>
#include <optional>

namespace lrf {
namespace {

// The profile reader drops spaces and tabs around names and values, nothing else.
std::string_view TrimBlanks(std::string_view text) {
    return Trimmed(text, " \t");
}

// One line of the file, as the profile reader sees it.
struct Line {
    enum class Kind { Other, Section, Key } kind = Kind::Other;
    std::string_view name;
    std::string_view value;
};

Line ParseLine(std::string_view text) {
    // The reader works on C strings: whatever follows a NUL byte is not seen.
    if (const auto nul = text.find('\0'); nul != std::string_view::npos)
        text = text.substr(0, nul);
    text = TrimBlanks(text);
    if (text.empty() || text.front() == ';')
        return {};
    if (text.front() == '[') {
        const auto close = text.find(']');
        if (close == std::string_view::npos)
            return {};
        return {Line::Kind::Section, TrimBlanks(text.substr(1, close - 1)), {}};
    }
    const auto equals = text.find('=');
    if (equals == std::string_view::npos)
        return {};
    const auto name = TrimBlanks(text.substr(0, equals));
    if (name.empty())
        return {};
    auto value = TrimBlanks(text.substr(equals + 1));
    if (value.size() > kProfileValueLimit)
        value = value.substr(0, kProfileValueLimit);
    return {Line::Kind::Key, name, value};
}

// Calls `onKey(name, value)` for every key of the first section named `section`, in file order, until
// it returns true. Files that cannot be read are treated as empty.
template <typename OnKey>
void ForEachKey(const std::filesystem::path& file, std::string_view section, OnKey onKey) {
    std::error_code error;
    // Anything but a plain file (a folder, a device, a pipe) holds no settings.
    if (!std::filesystem::is_regular_file(file, error))
        return;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return;
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // A file saved as "Unicode" is read in the ANSI code page, as the platform's ANSI reader does.
    if (content.starts_with("\xFF\xFE"))
        content = Windows1252FromUtf16Le(std::string_view(content).substr(2));
    else if (content.starts_with("\xEF\xBB\xBF"))
        content.erase(0, 3);

    bool inSection = false;
    std::string_view rest = content;
    while (!rest.empty()) {
        // LF, CR LF and a lone CR all end a line; the empty line between CR and LF is skipped.
        const auto end = rest.find_first_of("\r\n");
        const Line line = ParseLine(rest.substr(0, end));
        if (line.kind == Line::Kind::Section) {
            if (inSection)
                return; // only the first matching section is looked at
            inSection = EqualNoCase(line.name, section);
        } else if (line.kind == Line::Kind::Key && inSection) {
            if (onKey(line.name, line.value))
                return;
        }
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
}

} // namespace

std::string ReadProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::string_view defaultValue) {
    std::optional<std::string> found;
    ForEachKey(file, section, [&](std::string_view name, std::string_view value) {
        if (!EqualNoCase(name, key))
            return false;
        found.emplace(value);
        return true;
    });
    return found ? std::move(*found) : std::string(defaultValue);
}

ProfileSection ReadProfileSection(const std::filesystem::path& file, std::string_view section) {
    ProfileSection result;
    ForEachKey(file, section, [&](std::string_view name, std::string_view value) {
        result.entries_.emplace_back(name, value);
        return false;
    });
    return result;
}

std::string ProfileSection::Value(std::string_view key, std::string_view defaultValue) const {
    for (const auto& [name, value] : entries_)
        if (EqualNoCase(name, key))
            return value;
    return std::string(defaultValue);
}

} // namespace lrf
