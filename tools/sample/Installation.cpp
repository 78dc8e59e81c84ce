#include "Installation.h"

#include <fstream>
#include <stdexcept>
#include <system_error>

namespace fs = std::filesystem;

namespace lrf::sample {

Installation PlanInstallation(const std::string& dir, int year) {
    Installation installation;
    installation.folder = fs::absolute(fs::path(dir)).lexically_normal();
    std::string text = installation.folder.string();
    if (text.empty() || text.back() != fs::path::preferred_separator)
        text += static_cast<char>(fs::path::preferred_separator);
    installation.baseFolderText = text;
    const std::string yearText = std::to_string(year);
    installation.databaseFile = installation.folder / ("ARQ" + yearText) / ("KORV" + yearText + ".FDB");
    installation.settingsFile = installation.folder / "Korv.ini";
    installation.year = year;
    return installation;
}

std::string SettingsText(const Installation& installation) {
    return "[KORV]\r\nano=" + std::to_string(installation.year) +
           "\r\nCaminho_Base_Dados=" + installation.baseFolderText + "\r\n";
}

bool WriteSettingsIfMissing(const Installation& installation) {
    if (fs::exists(installation.settingsFile))
        return false;
    const fs::path temporary = installation.settingsFile.string() + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << SettingsText(installation);
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            throw std::runtime_error("cannot write " + temporary.string());
        }
    }
    fs::rename(temporary, installation.settingsFile);
    return true;
}

} // namespace lrf::sample
