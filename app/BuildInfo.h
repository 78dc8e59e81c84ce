#pragma once
// The file version of the running executable, for the main window's title.
#include <QString>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace lrf {

struct FileVersionWords {
    std::uint32_t ms = 0; // major << 16 | minor
    std::uint32_t ls = 0; // release << 16 | build
};

// "major.minor.release.build", each a plain decimal number.
QString FileVersionText(FileVersionWords words);

// The version the file carries (a Windows version resource, or the version record elsewhere);
// nullopt for a file without one or that cannot be read.
std::optional<FileVersionWords> ReadFileVersion(const std::filesystem::path& file);

// The running executable's version text; empty when it carries none.
QString GetBuildInfo();

} // namespace lrf
