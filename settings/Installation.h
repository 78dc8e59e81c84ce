#pragma once
// Where the program finds its files: the folder of the running executable and the settings file in it.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace lrf {

// The folder separator of paths this machine uses.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The program keeps paths as UTF-8 text: a narrow std::filesystem::path would read it in the ANSI code
// page on Windows, and string() would write it so.
std::filesystem::path PathFromUtf8(std::string_view text);
std::string Utf8FromPath(const std::filesystem::path& path);

// Full path of the running executable, UTF-8; empty when the system does not tell.
std::string ExecutablePath();

// Full path of the running executable's folder, ending with kPathSeparator.
std::string ExecutableFolder();

// The entry of `folder` named `name` without regard to case (as Windows matches file names), if any.
std::optional<std::filesystem::path> FindFileNoCase(const std::filesystem::path& folder,
                                                    std::string_view name);

// The settings file: Korv.ini beside the executable (any case), or the file given to UseSettingsFile.
std::filesystem::path SettingsFilePath();
// Replaces the settings file for the rest of the process (command line --ini). Empty restores the default.
void UseSettingsFile(const std::filesystem::path& file);

// Key `key` of section [KORV] of the settings file, read afresh.
std::string ReadKorvSetting(std::string_view key, std::string_view defaultValue = {});

} // namespace lrf
