#pragma once
// Windows profile (.ini) reading rules, for a file that is read afresh at every call and never written.
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lrf {

// Longest value the profile reader returns; longer values are cut.
inline constexpr std::size_t kProfileValueLimit = 2047;

// The value of `key` in `section` of `file`, with the profile reader's rules: names match without regard
// to case, the first matching section and key win, blanks around the value are dropped, a missing file,
// section or key gives `defaultValue`, a key with nothing after "=" gives "". Never throws for bad files.
std::string ReadProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::string_view defaultValue);

// The keys of one section, taken from the file in one read, so that several keys come from the same
// state of the file. Lookups follow the same rules as ReadProfileString.
class ProfileSection {
public:
    std::string Value(std::string_view key, std::string_view defaultValue) const;

private:
    friend ProfileSection ReadProfileSection(const std::filesystem::path&, std::string_view);
    std::vector<std::pair<std::string, std::string>> entries_; // in file order, values already cut
};

// The first section of `file` named `section`; empty when the file or the section is missing.
ProfileSection ReadProfileSection(const std::filesystem::path& file, std::string_view section);

} // namespace lrf
