#include "settings/SystemPath.h"

#include "settings/AsciiText.h"
#include "settings/Installation.h"
#include "settings/Join.h"
#include "settings/ProfileReader.h"
#include "settings/Windows1252Text.h"

#include <cstdint>
#include <optional>
#include <system_error>

namespace lrf {
namespace {

// The pieces the paths are built from.
constexpr std::string_view kSection = "KORV";
constexpr std::string_view kYearFolder = "ARQ";
constexpr std::string_view kRootName = "KORV_8";
constexpr std::string_view kTabdef = "TABDEF";
constexpr std::string_view kBackup = "BCK";
constexpr std::string_view kTemp = "TEMP";
constexpr std::string_view kExport = "EXPORTA";
constexpr std::string_view kImport = "IMPORTA";
constexpr std::string_view kRtm = "RTM";
constexpr std::string_view kLinux = "LINUX";
constexpr std::string_view kDefaultServerSystem = "WINDOWS";
constexpr std::string_view kCannotCreateFolder = "Não é possível criar o diretório: ";

// Whole numbers as the platform's integer conversion reads them: leading blanks, an optional sign,
// decimal digits, within 32 bits; anything else is its error.
std::int64_t ToInteger(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const std::size_t digits = i;
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > std::int64_t{1} << 31)
            break;
    }
    if (negative)
        value = -value;
    if (i == digits || i != text.size() || value > INT32_MAX || value < INT32_MIN)
        throw PathError("'" + Utf8FromWindows1252(text) + "' is not a valid integer value");
    return value;
}

// The text up to and including its first "KORV_8" (in any case), that name written in capitals.
std::string CutAfterRoot(std::string_view path) {
    std::string root;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (AsciiUpper(path.substr(i, kRootName.size())) == kRootName) {
            root += kRootName;
            return root;
        }
        root += path[i];
    }
    return root;
}

bool EndsWith(std::string_view text, char c) {
    return !text.empty() && text.back() == c;
}

// The folder of a path that ends with a separator: tested first, then created one level deep.
void EnsureFolder(const std::string& path) {
    bool exists = false;
    try {
        const std::filesystem::path folder(path);
        std::error_code error;
        if (std::filesystem::is_directory(folder, error))
            return;
        std::filesystem::create_directory(folder, error);
        exists = std::filesystem::is_directory(folder, error);
    } catch (const std::exception&) {
        // A path the system cannot even name cannot be created either.
    }
    if (!exists)
        throw PathError(std::string(kCannotCreateFolder) + Utf8FromWindows1252(path));
}

struct Settings {
    std::string year;            // Ano, as text
    std::string server;          // Servidor
    std::string tabdefServer;    // ServidorTABDEF, else Servidor
    std::string baseFolder;      // Caminho_Base_Dados
    std::string localFolder;     // Diretorio_Servidor
    std::string tabdefParent;    // Caminho_Base_Dados_TABDEF, else BaseRoot
    std::string baseRoot;        // Caminho_Base_Dados cut after KORV_8
    std::string localRoot;       // Diretorio_Servidor cut after KORV_8
    char serverSeparator = '\\'; // '/' for a LINUX server
};

Settings ReadSettings(const std::filesystem::path& file) {
    const ProfileSection korv = ReadProfileSection(file, kSection);
    Settings s;
    s.year = korv.Value("Ano", "");
    s.server = korv.Value("Servidor", "");
    s.tabdefServer = korv.Value("ServidorTABDEF", "");
    if (s.tabdefServer.empty())
        s.tabdefServer = s.server;
    std::string serverSystem = korv.Value("SO_Servidor", "");
    if (serverSystem.empty())
        serverSystem = kDefaultServerSystem;
    s.serverSeparator = serverSystem == kLinux ? '/' : '\\';
    s.baseFolder = korv.Value("Caminho_Base_Dados", "");
    s.localFolder = korv.Value("Diretorio_Servidor", "");
    s.baseRoot = CutAfterRoot(s.baseFolder);
    s.localRoot = CutAfterRoot(s.localFolder);
    s.tabdefParent = korv.Value("Caminho_Base_Dados_TABDEF", "");
    if (s.tabdefParent.empty())
        s.tabdefParent = s.baseRoot;
    return s;
}

// "DA", "BA" and what follows them: the year that many years before Ano (one when nothing follows).
std::optional<std::string> YearBack(const std::string& code, const std::string& upperCode,
                                    const std::string& year) {
    if (!upperCode.starts_with("DA") && !upperCode.starts_with("BA"))
        return std::nullopt;
    const std::int64_t base = ToInteger(year);
    const std::int64_t back = code.size() > 2 ? ToInteger(code.substr(2)) : 1;
    return std::to_string(base - back);
}

std::string ServerPath(const std::string& code, const std::string& upper, const Settings& s, char local) {
    const std::string_view L(&local, 1);
    const std::string_view S(&s.serverSeparator, 1);
    const std::string onServer = s.server + ":" + s.baseFolder; // the database server's view, with its host
    // This machine's view of the year folder and of its subfolders.
    const std::string localYear = Join({s.localFolder, kYearFolder, s.year, L});
    const auto localSub = [&](std::string_view name) { return Join({localYear, name, L}); };
    const auto serverSub = [&](std::string_view name) {
        return Join({s.baseFolder, kYearFolder, s.year, S, name, S});
    };

    if (upper == "D")
        return localYear;
    if (upper == "B")
        return Join({onServer, kYearFolder, s.year, S});
    if (upper.starts_with("DA"))
        return Join({s.localFolder, kYearFolder, *YearBack(code, upper, s.year), L});
    if (upper.starts_with("BA"))
        return Join({onServer, kYearFolder, *YearBack(code, upper, s.year), S});
    if (upper == "TD")
        return EndsWith(s.localRoot, local) ? Join({s.localRoot, kTabdef, L})
                                            : Join({s.localRoot, L, kTabdef, L});
    if (upper == "TB") {
        const std::string t = s.tabdefServer + ":" + s.tabdefParent;
        // The parent may end with either separator; never double it.
        const bool hasSeparator = EndsWith(t, '\\') || EndsWith(t, s.serverSeparator);
        return hasSeparator ? Join({t, kTabdef, S}) : Join({t, S, kTabdef, S});
    }
    if (upper == "BK")
        return Join({s.baseFolder, kYearFolder, s.year, S});
    if (upper == "BKAD") {
        EnsureFolder(localSub(kBackup));
        return localSub(kBackup);
    }
    if (upper == "BKAB") {
        EnsureFolder(localSub(kBackup));
        return serverSub(kBackup);
    }
    if (upper == "AP")
        return s.localFolder;
    if (upper == "TPD") {
        EnsureFolder(localSub(kTemp));
        return localSub(kTemp);
    }
    if (upper == "TPB") {
        EnsureFolder(localSub(kTemp));
        return serverSub(kTemp);
    }
    if (upper == "DE") {
        EnsureFolder(localSub(kExport));
        return localSub(kExport);
    }
    if (upper == "DI") {
        EnsureFolder(localSub(kImport));
        return localSub(kImport);
    }
    if (upper == "RTM") {
        const std::string rtm = Join({s.localFolder, kRtm, L});
        EnsureFolder(rtm);
        return rtm;
    }
    if (upper == "EXE")
        return EndsWith(s.localRoot, local) ? s.localRoot : s.localRoot + local;
    return {};
}

std::string LocalPath(const std::string& code, const std::string& upper, const Settings& s, char local) {
    const std::string_view L(&local, 1);
    const std::string yearFolder = Join({s.baseFolder, kYearFolder, s.year, L});
    const auto sub = [&](std::string_view name) {
        std::string folder = Join({yearFolder, name, L});
        EnsureFolder(folder);
        return folder;
    };

    if (upper == "B" || upper == "D" || upper == "BK")
        return yearFolder;
    if (auto back = YearBack(code, upper, s.year))
        return Join({s.baseFolder, kYearFolder, *back, L});
    if (upper == "AP")
        return s.baseFolder;
    if (upper == "BKAD" || upper == "BKAB")
        return sub(kBackup);
    if (upper == "TPB" || upper == "TPD")
        return sub(kTemp);
    if (upper == "DE")
        return sub(kExport);
    if (upper == "DI")
        return sub(kImport);
    if (upper == "RTM") {
        const std::string rtm = Join({s.baseFolder, kRtm, L});
        EnsureFolder(rtm);
        return rtm;
    }
    if (upper == "EXE")
        return EndsWith(s.baseRoot, local) ? s.baseRoot : s.baseRoot + local;
    return EndsWith(s.baseRoot, local) ? Join({s.baseRoot, kTabdef, L}) : Join({s.baseRoot, L, kTabdef, L});
}

} // namespace

std::string ResolveSystemPath(const std::string& code) {
    return ResolveSystemPath(code, SettingsFilePath(), kPathSeparator);
}

std::string ResolveSystemPath(const std::string& code, const std::filesystem::path& settingsFile,
                              char localSeparator) {
    const Settings settings = ReadSettings(settingsFile);
    const std::string upper = AsciiUpper(code);
    return settings.server.empty() ? LocalPath(code, upper, settings, localSeparator)
                                   : ServerPath(code, upper, settings, localSeparator);
}

} // namespace lrf
