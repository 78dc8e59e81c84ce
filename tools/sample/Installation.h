#pragma once
#include <filesystem>
#include <string>

namespace lrf::sample {

// Where the pieces of a local installation go: DIR/Korv.ini and DIR/ARQ<year>/KORV<year>.FDB.
struct Installation {
    std::filesystem::path folder;       // absolute
    std::filesystem::path databaseFile; // folder/ARQ<year>/KORV<year>.FDB
    std::filesystem::path settingsFile; // folder/Korv.ini
    std::string baseFolderText;         // folder with its trailing separator, as Korv.ini names it
    int year;
};

Installation PlanInstallation(const std::string& dir, int year);

// The settings text of the installation: section [KORV], CR LF line ends as on Windows.
std::string SettingsText(const Installation& installation);

// Writes Korv.ini unless one is there already (it may name another year of the same installation):
// returns false and leaves it untouched then. The file appears whole or not at all.
bool WriteSettingsIfMissing(const Installation& installation);

} // namespace lrf::sample
