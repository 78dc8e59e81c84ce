#include "settings/SystemPath.h"

#include "settings/AsciiText.h"
#include "settings/Installation.h"
#include "settings/Join.h"
#include "settings/ProfileReader.h"
#include "settings/Windows1252Text.h"

#include <cstdint>
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

// What a rule needs: the settings, the code as given and in capitals, and the two separators.
struct Request {
    const Settings& s;
    const std::string& code;
    const std::string& upper;
    std::string_view L; // this machine's separator
    std::string_view S; // the database server's separator

    // "DA", "BA" and what follows them: the year that many years before Ano (one when nothing follows).
    std::string YearBack() const {
        const std::int64_t base = ToInteger(s.year);
        const std::int64_t back = code.size() > 2 ? ToInteger(code.substr(2)) : 1;
        return std::to_string(base - back);
    }
    // A server installation: the database server's view of its folder, with its host.
    std::string OnServer() const { return s.server + ":" + s.baseFolder; }
    // A server installation: this machine's view of the year folder and of its subfolders.
    std::string LocalYear() const { return Join({s.localFolder, kYearFolder, s.year, L}); }
    std::string LocalSub(std::string_view name) const { return Join({LocalYear(), name, L}); }
    // A server installation: the server's view of a subfolder of the year folder.
    std::string ServerSub(std::string_view name) const {
        return Join({s.baseFolder, kYearFolder, s.year, S, name, S});
    }
    // A local installation: the year folder and its subfolders, created when missing.
    std::string YearFolder() const { return Join({s.baseFolder, kYearFolder, s.year, L}); }
    std::string Sub(std::string_view name) const {
        std::string folder = Join({YearFolder(), name, L});
        EnsureFolder(folder);
        return folder;
    }
    std::string LocalTabdef() const {
        return EndsWith(s.baseRoot, L[0]) ? Join({s.baseRoot, kTabdef, L})
                                          : Join({s.baseRoot, L, kTabdef, L});
    }
};

std::string Created(std::string folder) {
    EnsureFolder(folder);
    return folder;
}

using Rule = std::string (*)(const Request&);

// One row per path code: its folder in a server installation (Servidor set) and in a local one.
// DA and BA take the number of years back that follows them.
struct PathCode {
    std::string_view code;
    bool prefix;
    Rule server;
    Rule local;
};

constexpr PathCode kPathCodes[] = {
    {"D", false, [](const Request& r) { return r.LocalYear(); },
     [](const Request& r) { return r.YearFolder(); }},
    {"B", false,
     [](const Request& r) {
         return Join({r.OnServer(), kYearFolder, r.s.year, r.S});
     },
     [](const Request& r) { return r.YearFolder(); }},
    {"DA", true,
     [](const Request& r) {
         return Join({r.s.localFolder, kYearFolder, r.YearBack(), r.L});
     },
     [](const Request& r) {
         return Join({r.s.baseFolder, kYearFolder, r.YearBack(), r.L});
     }},
    {"BA", true,
     [](const Request& r) {
         return Join({r.OnServer(), kYearFolder, r.YearBack(), r.S});
     },
     [](const Request& r) {
         return Join({r.s.baseFolder, kYearFolder, r.YearBack(), r.L});
     }},
    {"TD", false,
     [](const Request& r) {
         return EndsWith(r.s.localRoot, r.L[0]) ? Join({r.s.localRoot, kTabdef, r.L})
                                                : Join({r.s.localRoot, r.L, kTabdef, r.L});
     },
     [](const Request& r) { return r.LocalTabdef(); }},
    {"TB", false,
     [](const Request& r) {
         const std::string t = r.s.tabdefServer + ":" + r.s.tabdefParent;
         // The parent may end with either separator; never double it.
         const bool hasSeparator = EndsWith(t, '\\') || EndsWith(t, r.s.serverSeparator);
         return hasSeparator ? Join({t, kTabdef, r.S}) : Join({t, r.S, kTabdef, r.S});
     },
     [](const Request& r) { return r.LocalTabdef(); }},
    {"BK", false,
     [](const Request& r) {
         return Join({r.s.baseFolder, kYearFolder, r.s.year, r.S});
     },
     [](const Request& r) { return r.YearFolder(); }},
    {"BKAD", false, [](const Request& r) { return Created(r.LocalSub(kBackup)); },
     [](const Request& r) { return r.Sub(kBackup); }},
    {"BKAB", false,
     [](const Request& r) {
         EnsureFolder(r.LocalSub(kBackup));
         return r.ServerSub(kBackup);
     },
     [](const Request& r) { return r.Sub(kBackup); }},
    {"AP", false, [](const Request& r) { return r.s.localFolder; },
     [](const Request& r) { return r.s.baseFolder; }},
    {"TPD", false, [](const Request& r) { return Created(r.LocalSub(kTemp)); },
     [](const Request& r) { return r.Sub(kTemp); }},
    {"TPB", false,
     [](const Request& r) {
         EnsureFolder(r.LocalSub(kTemp));
         return r.ServerSub(kTemp);
     },
     [](const Request& r) { return r.Sub(kTemp); }},
    {"DE", false, [](const Request& r) { return Created(r.LocalSub(kExport)); },
     [](const Request& r) { return r.Sub(kExport); }},
    {"DI", false, [](const Request& r) { return Created(r.LocalSub(kImport)); },
     [](const Request& r) { return r.Sub(kImport); }},
    {"RTM", false,
     [](const Request& r) {
         return Created(Join({r.s.localFolder, kRtm, r.L}));
     },
     [](const Request& r) {
         return Created(Join({r.s.baseFolder, kRtm, r.L}));
     }},
    {"EXE", false,
     [](const Request& r) {
         return EndsWith(r.s.localRoot, r.L[0]) ? r.s.localRoot : r.s.localRoot + r.L[0];
     },
     [](const Request& r) { return EndsWith(r.s.baseRoot, r.L[0]) ? r.s.baseRoot : r.s.baseRoot + r.L[0]; }},
};

} // namespace

std::string ResolveSystemPath(const std::string& code) {
    return ResolveSystemPath(code, SettingsFilePath(), kPathSeparator);
}

std::string ResolveSystemPath(const std::string& code, const std::filesystem::path& settingsFile,
                              char localSeparator) {
    const Settings settings = ReadSettings(settingsFile);
    const std::string upper = AsciiUpper(code);
    const Request request{settings, code, upper, std::string_view(&localSeparator, 1),
                          std::string_view(&settings.serverSeparator, 1)};
    const bool server = !settings.server.empty();
    for (const PathCode& row : kPathCodes)
        if (row.prefix ? upper.starts_with(row.code) : upper == row.code)
            return server ? row.server(request) : row.local(request);
    // Any other code: nothing on a server installation, the TABDEF folder on a local one.
    return server ? std::string() : request.LocalTabdef();
}

} // namespace lrf
