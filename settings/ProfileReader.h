#pragma once
// Windows profile (.ini) reading rules, for a file that is read afresh at every call and never written.
#include <filesystem>
#include <string>
#include <string_view>

namespace lrf {

// Longest value the profile reader returns; longer values are cut.
inline constexpr std::size_t kProfileValueLimit = 2047;

// The value of `key` in `section` of `file`, with the profile reader's rules: names match without regard
// to case, the first matching section and key win, blanks around the value are dropped, a missing file,
// section or key gives `defaultValue`, a key with nothing after "=" gives "". Never throws for bad files.
std::string ReadProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::string_view defaultValue);

} // namespace lrf
