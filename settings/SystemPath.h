#pragma once
// Turns an installation path code ("B", "D", "TD", "BKAD", ...) into a folder path.
#include <filesystem>
#include <stdexcept>
#include <string>

namespace lrf {

// Raised when a folder the code asks for cannot be created, or a year code is not a whole number.
// The message is UTF-8 (settings texts in it are converted from Windows-1252).
class PathError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The path for `code` from the settings file (read afresh), with this machine's folder separator.
std::string ResolveSystemPath(const std::string& code);

// The same from a given settings file, with `localSeparator` for the paths this machine uses
// (so the Windows rows can be checked on any platform). Paths the database server reads use the
// server's separator. A folder "ends with a separator" when its last character is `localSeparator`
// (this machine's paths) or "\" or the server's separator (the server's paths).
std::string ResolveSystemPath(const std::string& code, const std::filesystem::path& settingsFile,
                              char localSeparator);

} // namespace lrf
