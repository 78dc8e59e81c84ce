#include "settings/SystemPath.h"

#include "settings/Installation.h"

#include "ScratchFiles.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <map>
#include <string>

namespace {

namespace fs = std::filesystem;

// Scratch root of the '/' form: "{T}" in the texts below stands for it.
const fs::path& Root() {
    static const fs::path root = [] {
        const fs::path r = lrf::test::FreshFolder("settings-paths");
        // The year folders exist, so the folders the codes create have their parent.
        fs::create_directories(r / "KORV_8" / "ARQ2024");
        fs::create_directories(r / "mnt" / "KORV_8" / "ARQ2024");
        return r;
    }();
    return root;
}

std::string WithRoot(std::string text) {
    for (auto at = text.find("{T}"); at != std::string::npos; at = text.find("{T}"))
        text.replace(at, 3, Root().string());
    return text;
}

// One installation's [KORV] section, as a Windows machine and as this platform would write it.
struct Installation {
    const char* windows;
    const char* posix;
};

const std::map<std::string, Installation>& Installations() {
    static const std::map<std::string, Installation> all = {
        {"local", {"Ano=2024\nCaminho_Base_Dados=C:\\KORV_8\\", "Ano=2024\nCaminho_Base_Dados={T}/KORV_8/"}},
        // Keys of a server installation play no part in a local one.
        {"local+server keys",
         {"Ano=2024\nCaminho_Base_Dados=C:\\KORV_8\\\nSO_Servidor=LINUX\nServidorTABDEF=tabhost\n"
          "Diretorio_Servidor=K:\\OUTRO\\\nCaminho_Base_Dados_TABDEF=E:\\TAB\\",
          "Ano=2024\nCaminho_Base_Dados={T}/KORV_8/\nSO_Servidor=LINUX\nServidorTABDEF=tabhost\n"
          "Diretorio_Servidor=/outro/\nCaminho_Base_Dados_TABDEF=/tab/"}},
        {"local lower root",
         {"Ano=2024\nCaminho_Base_Dados=C:\\korv_8\\DADOS\\",
          "Ano=2024\nCaminho_Base_Dados=/opt/korv_8/DADOS/"}},
        {"local root twice",
         {"Ano=2024\nCaminho_Base_Dados=C:\\KORV_8\\X\\Korv_8\\",
          "Ano=2024\nCaminho_Base_Dados=/KORV_8/X/Korv_8/"}},
        {"local no root",
         {"Ano=2024\nCaminho_Base_Dados=C:\\SISTEMA\\", "Ano=2024\nCaminho_Base_Dados=/sistema/"}},
        {"local no separator",
         {"Ano=2024\nCaminho_Base_Dados=C:\\KORV_8", "Ano=2024\nCaminho_Base_Dados=/opt/KORV_8"}},
        {"local bad year",
         {"Ano=2O24\nCaminho_Base_Dados=C:\\KORV_8\\", "Ano=2O24\nCaminho_Base_Dados=/opt/KORV_8/"}},
        {"empty section", {"", ""}},
        {"linux server",
         {"Servidor=dbhost\nSO_Servidor=LINUX\nAno=2024\nCaminho_Base_Dados=/srv/KORV_8/\n"
          "Diretorio_Servidor=K:\\KORV_8\\",
          "Servidor=dbhost\nSO_Servidor=LINUX\nAno=2024\nCaminho_Base_Dados=/srv/KORV_8/\n"
          "Diretorio_Servidor={T}/mnt/KORV_8/"}},
        {"windows server",
         {"Servidor=dbhost\nAno=2024\nCaminho_Base_Dados=D:\\KORV_8\\DADOS\\\nDiretorio_Servidor=K:\\KORV_"
          "8\\",
          "Servidor=dbhost\nAno=2024\nCaminho_Base_Dados=D:\\KORV_8\\DADOS\\\nDiretorio_Servidor={T}/mnt/"
          "KORV_8/"}},
        // Only "LINUX" exactly selects "/"; an empty value is the default WINDOWS.
        {"server linux lower",
         {"Servidor=dbhost\nSO_Servidor=linux\nAno=2024\nCaminho_Base_Dados=/srv/KORV_8/",
          "Servidor=dbhost\nSO_Servidor=linux\nAno=2024\nCaminho_Base_Dados=/srv/KORV_8/"}},
        {"server system empty",
         {"Servidor=dbhost\nSO_Servidor=\nAno=2024\nCaminho_Base_Dados=D:\\KORV_8\\",
          "Servidor=dbhost\nSO_Servidor=\nAno=2024\nCaminho_Base_Dados=D:\\KORV_8\\"}},
        {"linux server tabdef",
         {"Servidor=dbhost\nSO_Servidor=LINUX\nAno=2024\nCaminho_Base_Dados=/srv/KORV_8/\n"
          "ServidorTABDEF=tabhost\nCaminho_Base_Dados_TABDEF=/tab/",
          "Servidor=dbhost\nSO_Servidor=LINUX\nAno=2024\nCaminho_Base_Dados=/srv/KORV_8/\n"
          "ServidorTABDEF=tabhost\nCaminho_Base_Dados_TABDEF=/tab/"}},
        {"windows server tabdef",
         {"Servidor=dbhost\nAno=2024\nCaminho_Base_Dados=D:\\KORV_8\\\nServidorTABDEF=tabhost\n"
          "Caminho_Base_Dados_TABDEF=E:\\TAB",
          "Servidor=dbhost\nAno=2024\nCaminho_Base_Dados=D:\\KORV_8\\\nServidorTABDEF=tabhost\n"
          "Caminho_Base_Dados_TABDEF=E:\\TAB"}},
        {"server local no root",
         {"Servidor=dbhost\nAno=2024\nCaminho_Base_Dados=D:\\SIS\\\nDiretorio_Servidor=K:\\SISTEMA\\",
          "Servidor=dbhost\nAno=2024\nCaminho_Base_Dados=D:\\SIS\\\nDiretorio_Servidor=/sistema/"}},
        {"server bad year",
         {"Servidor=dbhost\nAno=\nCaminho_Base_Dados=/srv/KORV_8/\nDiretorio_Servidor=K:\\KORV_8\\",
          "Servidor=dbhost\nAno=\nCaminho_Base_Dados=/srv/KORV_8/\nDiretorio_Servidor=/mnt/KORV_8/"}},
    };
    return all;
}

struct PathCase {
    const char* installation;
    const char* code;
    const char* windows; // with '\\' as this machine's separator
    const char* posix;   // with '/'
};

// clang-format off
const PathCase kPathCases[] = {
    // Local installation, in the order the codes are tested.
    {"local", "B", "C:\\KORV_8\\ARQ2024\\", "{T}/KORV_8/ARQ2024/"},
    {"local", "D", "C:\\KORV_8\\ARQ2024\\", "{T}/KORV_8/ARQ2024/"},
    {"local", "BK", "C:\\KORV_8\\ARQ2024\\", "{T}/KORV_8/ARQ2024/"},
    {"local", "b", "C:\\KORV_8\\ARQ2024\\", "{T}/KORV_8/ARQ2024/"},
    {"local", "DA", "C:\\KORV_8\\ARQ2023\\", "{T}/KORV_8/ARQ2023/"},
    {"local", "DA0", "C:\\KORV_8\\ARQ2024\\", "{T}/KORV_8/ARQ2024/"},
    {"local", "DA3", "C:\\KORV_8\\ARQ2021\\", "{T}/KORV_8/ARQ2021/"},
    {"local", "da12", "C:\\KORV_8\\ARQ2012\\", "{T}/KORV_8/ARQ2012/"},
    {"local", "BA", "C:\\KORV_8\\ARQ2023\\", "{T}/KORV_8/ARQ2023/"},
    {"local", "Ba2", "C:\\KORV_8\\ARQ2022\\", "{T}/KORV_8/ARQ2022/"},
    {"local", "BA-1", "C:\\KORV_8\\ARQ2025\\", "{T}/KORV_8/ARQ2025/"},
    {"local", "DA+2", "C:\\KORV_8\\ARQ2022\\", "{T}/KORV_8/ARQ2022/"},
    {"local", "DA 2", "C:\\KORV_8\\ARQ2022\\", "{T}/KORV_8/ARQ2022/"},
    {"local", "AP", "C:\\KORV_8\\", "{T}/KORV_8/"},
    {"local", "BKAD", "C:\\KORV_8\\ARQ2024\\BCK\\", "{T}/KORV_8/ARQ2024/BCK/"},
    {"local", "BKAB", "C:\\KORV_8\\ARQ2024\\BCK\\", "{T}/KORV_8/ARQ2024/BCK/"},
    {"local", "Bkab", "C:\\KORV_8\\ARQ2024\\BCK\\", "{T}/KORV_8/ARQ2024/BCK/"},
    {"local", "TPB", "C:\\KORV_8\\ARQ2024\\TEMP\\", "{T}/KORV_8/ARQ2024/TEMP/"},
    {"local", "TPD", "C:\\KORV_8\\ARQ2024\\TEMP\\", "{T}/KORV_8/ARQ2024/TEMP/"},
    {"local", "DE", "C:\\KORV_8\\ARQ2024\\EXPORTA\\", "{T}/KORV_8/ARQ2024/EXPORTA/"},
    {"local", "DI", "C:\\KORV_8\\ARQ2024\\IMPORTA\\", "{T}/KORV_8/ARQ2024/IMPORTA/"},
    {"local", "RTM", "C:\\KORV_8\\RTM\\", "{T}/KORV_8/RTM/"},
    {"local", "EXE", "C:\\KORV_8\\", "{T}/KORV_8/"},
    {"local", "TD", "C:\\KORV_8\\TABDEF\\", "{T}/KORV_8/TABDEF/"},
    {"local", "TB", "C:\\KORV_8\\TABDEF\\", "{T}/KORV_8/TABDEF/"},
    {"local", "td", "C:\\KORV_8\\TABDEF\\", "{T}/KORV_8/TABDEF/"},
    {"local", "XYZ", "C:\\KORV_8\\TABDEF\\", "{T}/KORV_8/TABDEF/"},
    {"local", "", "C:\\KORV_8\\TABDEF\\", "{T}/KORV_8/TABDEF/"},
    {"local+server keys", "B", "C:\\KORV_8\\ARQ2024\\", "{T}/KORV_8/ARQ2024/"},
    {"local+server keys", "AP", "C:\\KORV_8\\", "{T}/KORV_8/"},
    {"local+server keys", "TB", "C:\\KORV_8\\TABDEF\\", "{T}/KORV_8/TABDEF/"},
    {"local+server keys", "EXE", "C:\\KORV_8\\", "{T}/KORV_8/"},
    // The root is cut after the first KORV_8 and written in capitals.
    {"local lower root", "B", "C:\\korv_8\\DADOS\\ARQ2024\\", "/opt/korv_8/DADOS/ARQ2024/"},
    {"local lower root", "EXE", "C:\\KORV_8\\", "/opt/KORV_8/"},
    {"local lower root", "TD", "C:\\KORV_8\\TABDEF\\", "/opt/KORV_8/TABDEF/"},
    {"local root twice", "EXE", "C:\\KORV_8\\", "/KORV_8/"},
    {"local root twice", "TB", "C:\\KORV_8\\TABDEF\\", "/KORV_8/TABDEF/"},
    // Without KORV_8 the root is the whole value, separator included: nothing doubled.
    {"local no root", "EXE", "C:\\SISTEMA\\", "/sistema/"},
    {"local no root", "TD", "C:\\SISTEMA\\TABDEF\\", "/sistema/TABDEF/"},
    // A value without its trailing separator is used as written.
    {"local no separator", "B", "C:\\KORV_8ARQ2024\\", "/opt/KORV_8ARQ2024/"},
    {"local no separator", "AP", "C:\\KORV_8", "/opt/KORV_8"},
    {"local no separator", "EXE", "C:\\KORV_8\\", "/opt/KORV_8/"},
    // Only year codes compute a year.
    {"local bad year", "B", "C:\\KORV_8\\ARQ2O24\\", "/opt/KORV_8/ARQ2O24/"},
    {"local bad year", "TD", "C:\\KORV_8\\TABDEF\\", "/opt/KORV_8/TABDEF/"},
    // No settings: a local installation with every key empty.
    {"empty section", "B", "ARQ\\", "ARQ/"},
    {"empty section", "D", "ARQ\\", "ARQ/"},
    {"empty section", "AP", "", ""},

    // Server installation, in the order the codes are tested.
    {"linux server", "D", "K:\\KORV_8\\ARQ2024\\", "{T}/mnt/KORV_8/ARQ2024/"},
    {"linux server", "B", "dbhost:/srv/KORV_8/ARQ2024/", "dbhost:/srv/KORV_8/ARQ2024/"},
    {"linux server", "DA", "K:\\KORV_8\\ARQ2023\\", "{T}/mnt/KORV_8/ARQ2023/"},
    {"linux server", "DA2", "K:\\KORV_8\\ARQ2022\\", "{T}/mnt/KORV_8/ARQ2022/"},
    {"linux server", "BA", "dbhost:/srv/KORV_8/ARQ2023/", "dbhost:/srv/KORV_8/ARQ2023/"},
    {"linux server", "BA0", "dbhost:/srv/KORV_8/ARQ2024/", "dbhost:/srv/KORV_8/ARQ2024/"},
    {"linux server", "TD", "K:\\KORV_8\\TABDEF\\", "{T}/mnt/KORV_8/TABDEF/"},
    {"linux server", "TB", "dbhost:/srv/KORV_8/TABDEF/", "dbhost:/srv/KORV_8/TABDEF/"},
    {"linux server", "BK", "/srv/KORV_8/ARQ2024/", "/srv/KORV_8/ARQ2024/"},
    {"linux server", "BKAD", "K:\\KORV_8\\ARQ2024\\BCK\\", "{T}/mnt/KORV_8/ARQ2024/BCK/"},
    {"linux server", "BKAB", "/srv/KORV_8/ARQ2024/BCK/", "/srv/KORV_8/ARQ2024/BCK/"},
    {"linux server", "AP", "K:\\KORV_8\\", "{T}/mnt/KORV_8/"},
    {"linux server", "TPD", "K:\\KORV_8\\ARQ2024\\TEMP\\", "{T}/mnt/KORV_8/ARQ2024/TEMP/"},
    {"linux server", "TPB", "/srv/KORV_8/ARQ2024/TEMP/", "/srv/KORV_8/ARQ2024/TEMP/"},
    {"linux server", "DE", "K:\\KORV_8\\ARQ2024\\EXPORTA\\", "{T}/mnt/KORV_8/ARQ2024/EXPORTA/"},
    {"linux server", "DI", "K:\\KORV_8\\ARQ2024\\IMPORTA\\", "{T}/mnt/KORV_8/ARQ2024/IMPORTA/"},
    {"linux server", "RTM", "K:\\KORV_8\\RTM\\", "{T}/mnt/KORV_8/RTM/"},
    {"linux server", "EXE", "K:\\KORV_8\\", "{T}/mnt/KORV_8/"},
    {"linux server", "exe", "K:\\KORV_8\\", "{T}/mnt/KORV_8/"},
    {"linux server", "XYZ", "", ""},
    {"linux server", "", "", ""},
    {"windows server", "D", "K:\\KORV_8\\ARQ2024\\", "{T}/mnt/KORV_8/ARQ2024/"},
    {"windows server", "B", "dbhost:D:\\KORV_8\\DADOS\\ARQ2024\\", "dbhost:D:\\KORV_8\\DADOS\\ARQ2024\\"},
    {"windows server", "BA3", "dbhost:D:\\KORV_8\\DADOS\\ARQ2021\\", "dbhost:D:\\KORV_8\\DADOS\\ARQ2021\\"},
    // TABDEF parent falls back to the server's root, which has no trailing separator.
    {"windows server", "TB", "dbhost:D:\\KORV_8\\TABDEF\\", "dbhost:D:\\KORV_8\\TABDEF\\"},
    {"windows server", "BK", "D:\\KORV_8\\DADOS\\ARQ2024\\", "D:\\KORV_8\\DADOS\\ARQ2024\\"},
    {"windows server", "BKAB", "D:\\KORV_8\\DADOS\\ARQ2024\\BCK\\", "D:\\KORV_8\\DADOS\\ARQ2024\\BCK\\"},
    {"windows server", "TPB", "D:\\KORV_8\\DADOS\\ARQ2024\\TEMP\\", "D:\\KORV_8\\DADOS\\ARQ2024\\TEMP\\"},
    {"server linux lower", "B", "dbhost:/srv/KORV_8/ARQ2024\\", "dbhost:/srv/KORV_8/ARQ2024\\"},
    {"server linux lower", "BK", "/srv/KORV_8/ARQ2024\\", "/srv/KORV_8/ARQ2024\\"},
    {"server linux lower", "TB", "dbhost:/srv/KORV_8\\TABDEF\\", "dbhost:/srv/KORV_8\\TABDEF\\"},
    {"server system empty", "B", "dbhost:D:\\KORV_8\\ARQ2024\\", "dbhost:D:\\KORV_8\\ARQ2024\\"},
    // A TABDEF parent that ends with the server's separator gets no second one.
    {"linux server tabdef", "TB", "tabhost:/tab/TABDEF/", "tabhost:/tab/TABDEF/"},
    {"linux server tabdef", "B", "dbhost:/srv/KORV_8/ARQ2024/", "dbhost:/srv/KORV_8/ARQ2024/"},
    {"windows server tabdef", "TB", "tabhost:E:\\TAB\\TABDEF\\", "tabhost:E:\\TAB\\TABDEF\\"},
    {"server local no root", "TD", "K:\\SISTEMA\\TABDEF\\", "/sistema/TABDEF/"},
    {"server local no root", "EXE", "K:\\SISTEMA\\", "/sistema/"},
    {"server local no root", "TB", "dbhost:D:\\SIS\\TABDEF\\", "dbhost:D:\\SIS\\TABDEF\\"},
    {"server bad year", "B", "dbhost:/srv/KORV_8/ARQ\\", "dbhost:/srv/KORV_8/ARQ\\"},
};
// clang-format on

enum class Form { Windows, Posix };

struct FormCase {
    PathCase row;
    Form form;
};

std::vector<FormCase> FormCases() {
    std::vector<FormCase> cases;
    for (const Form form : {Form::Windows, Form::Posix})
        for (const PathCase& row : kPathCases)
            cases.push_back({row, form});
    return cases;
}

fs::path WriteSettings(const std::string& name, const std::string& body) {
    static const fs::path folder = lrf::test::FreshFolder("settings-path-ini");
    const fs::path file = folder / (name + ".ini");
    lrf::test::WriteBytes(file, "[KORV]\r\n" + body + "\r\n");
    return file;
}

// On a platform whose separator is '/', a Windows path is one relative file name: run in a scratch
// folder so that the folders those codes create land there.
class CurrentFolder {
public:
    explicit CurrentFolder(const fs::path& folder) : previous_(fs::current_path()) {
        fs::current_path(folder);
    }
    ~CurrentFolder() { fs::current_path(previous_); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    fs::path previous_;
};

void PrintTo(const FormCase& c, std::ostream* os) {
    *os << c.row.installation << ", code \"" << c.row.code << "\"";
}

// On Windows the Windows rows name real drives: C: for a local installation, K: for the server's folder
// mapped on this machine. The codes that create a folder there need both drives given to the tests as
// scratch drives in LRF_TEST_DRIVES ("CK"; under Wine C: is the prefix's and K: a mapping the root
// script makes). Each gets an empty KORV_8\ARQ2024, the parent of the folders those codes create.
bool ScratchDrivesGiven() {
    static const bool given = [] {
        const char* value = std::getenv("LRF_TEST_DRIVES");
        const std::string letters = value ? value : "";
        for (const char letter : letters) {
            const fs::path root = std::string(1, letter) + ":\\KORV_8";
            fs::remove_all(root);
            fs::create_directories(root / "ARQ2024");
        }
        return letters.find('C') != std::string::npos && letters.find('K') != std::string::npos;
    }();
    return given;
}

bool CreatesAFolder(std::string code) {
    for (char& c : code)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return code == "BKAD" || code == "BKAB" || code == "TPD" || code == "TPB" || code == "DE" ||
           code == "DI" || code == "RTM";
}

class SystemPathCodes : public testing::TestWithParam<FormCase> {};

TEST_P(SystemPathCodes, ResolvesAsTheInstallationLaysOut) {
    const auto& [row, form] = GetParam();
    const Installation& installation = Installations().at(row.installation);
    const bool windows = form == Form::Windows;
    if (windows && lrf::kPathSeparator == '\\' && CreatesAFolder(row.code) && !ScratchDrivesGiven())
        GTEST_SKIP() << "would create folders on this machine's drives C: and K:; map both to scratch "
                        "folders (subst) and set LRF_TEST_DRIVES=CK";

    const fs::path file =
        WriteSettings("case", WithRoot(windows ? installation.windows : installation.posix));
    const CurrentFolder scratch(lrf::test::FreshFolder("settings-path-cwd"));
    EXPECT_EQ(lrf::ResolveSystemPath(row.code, file, windows ? '\\' : '/'),
              WithRoot(windows ? row.windows : row.posix));
}

std::string CaseName(const testing::TestParamInfo<FormCase>& info) {
    const auto& [row, form] = info.param;
    std::string name =
        std::string(form == Form::Windows ? "Windows_" : "Posix_") + row.installation + "_" + row.code;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name + "_" + std::to_string(info.index);
}

INSTANTIATE_TEST_SUITE_P(Table, SystemPathCodes, testing::ValuesIn(FormCases()), CaseName);

std::string Message(const std::string& code, const fs::path& file) {
    try {
        lrf::ResolveSystemPath(code, file, '/');
    } catch (const lrf::PathError& error) {
        return error.what();
    }
    return "(no error)";
}

struct FailureCase {
    const char* name;
    const char* settings;
    const char* code;
    const char* message;
};

// clang-format off
const FailureCase kFailureCases[] = {
    // The parent of the folder to create is missing: parents are not created.
    {"LocalBackup", "Ano=2025\nCaminho_Base_Dados={T}/KORV_8/", "BKAD",
     "Não é possível criar o diretório: {T}/KORV_8/ARQ2025/BCK/"},
    {"LocalBackupServerView", "Ano=2025\nCaminho_Base_Dados={T}/KORV_8/", "bkab",
     "Não é possível criar o diretório: {T}/KORV_8/ARQ2025/BCK/"},
    {"LocalTemp", "Ano=2025\nCaminho_Base_Dados={T}/KORV_8/", "TPD",
     "Não é possível criar o diretório: {T}/KORV_8/ARQ2025/TEMP/"},
    {"LocalExport", "Ano=2025\nCaminho_Base_Dados={T}/KORV_8/", "DE",
     "Não é possível criar o diretório: {T}/KORV_8/ARQ2025/EXPORTA/"},
    {"LocalImport", "Ano=2025\nCaminho_Base_Dados={T}/KORV_8/", "DI",
     "Não é possível criar o diretório: {T}/KORV_8/ARQ2025/IMPORTA/"},
    {"LocalRtm", "Ano=2024\nCaminho_Base_Dados={T}/NADA/", "RTM", "Não é possível criar o diretório: {T}/NADA/RTM/"},
    {"ServerBackup", "Servidor=db\nAno=2025\nCaminho_Base_Dados=/srv/KORV_8/\nDiretorio_Servidor={T}/KORV_8/",
     "BKAD", "Não é possível criar o diretório: {T}/KORV_8/ARQ2025/BCK/"},
    // The folder is created through this machine's view, so the error names that one.
    {"ServerBackupServerView",
     "Servidor=db\nAno=2025\nCaminho_Base_Dados=/srv/KORV_8/\nDiretorio_Servidor={T}/KORV_8/", "BKAB",
     "Não é possível criar o diretório: {T}/KORV_8/ARQ2025/BCK/"},
    {"ServerTemp", "Servidor=db\nAno=2025\nCaminho_Base_Dados=/srv/KORV_8/\nDiretorio_Servidor={T}/KORV_8/",
     "TPB", "Não é possível criar o diretório: {T}/KORV_8/ARQ2025/TEMP/"},
    {"ServerRtm", "Servidor=db\nAno=2024\nCaminho_Base_Dados=/srv/\nDiretorio_Servidor={T}/NADA/", "RTM",
     "Não é possível criar o diretório: {T}/NADA/RTM/"},
    // A file stands where the folder should be.
    {"FileInTheWay", "Ano=2024\nCaminho_Base_Dados={T}/KORV_8/", "TPD",
     "Não é possível criar o diretório: {T}/KORV_8/ARQ2024/TEMP/"},
    // The settings file is Windows-1252; the message is UTF-8.
    {"MessageInUtf8", "Ano=2024\nCaminho_Base_Dados={T}/S\xC3O PAULO\x96MT/", "BKAD",
     "Não é possível criar o diretório: {T}/SÃO PAULO–MT/ARQ2024/BCK/"},
    // Year codes read Ano and what follows the two letters as whole numbers.
    {"YearNotANumber", "Ano=2O24\nCaminho_Base_Dados=C:\\KORV_8\\", "DA", "'2O24' is not a valid integer value"},
    {"YearEmpty", "Caminho_Base_Dados=C:\\KORV_8\\", "BA", "'' is not a valid integer value"},
    {"YearEmptyServer", "Servidor=db\nCaminho_Base_Dados=/srv/", "BA2", "'' is not a valid integer value"},
    {"YearCountNotANumber", "Ano=2024", "DAx", "'x' is not a valid integer value"},
    {"YearCountLowerCase", "Ano=2024", "dA1b", "'1b' is not a valid integer value"},
    {"YearCountTrailingBlank", "Ano=2024", "DA1 ", "'1 ' is not a valid integer value"},
    {"YearCountSignOnly", "Ano=2024", "BA-", "'-' is not a valid integer value"},
    {"YearCountTooLarge", "Ano=2024", "DA2147483648", "'2147483648' is not a valid integer value"},
    {"YearTooLarge", "Ano=99999999999", "BA", "'99999999999' is not a valid integer value"},
    {"YearCountFarTooLarge", "Ano=2024", "DA99999999999", "'99999999999' is not a valid integer value"},
    {"YearCountBlankOnly", "Ano=2024", "BA ", "' ' is not a valid integer value"},
    {"YearBytesInUtf8", "Ano=\xBA" "2024", "DA", "'º2024' is not a valid integer value"},
};
// clang-format on

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class SystemPathFailures : public testing::TestWithParam<FailureCase> {};

TEST_P(SystemPathFailures, EndWithTheirMessage) {
    const FailureCase& c = GetParam();
    const fs::path root = lrf::test::FreshFolder("settings-path-fail");
    fs::create_directories(root / "KORV_8" / "ARQ2024");
    lrf::test::WriteBytes(root / "KORV_8" / "ARQ2024" / "TEMP", "a file, not a folder");
    const auto withRoot = [&](std::string text) {
        for (auto at = text.find("{T}"); at != std::string::npos; at = text.find("{T}"))
            text.replace(at, 3, root.string());
        return text;
    };
    const fs::path file = WriteSettings(c.name, withRoot(c.settings));

    EXPECT_EQ(Message(c.code, file), withRoot(c.message));
    // Nothing was created on the way.
    EXPECT_FALSE(fs::exists(root / "KORV_8" / "ARQ2025"));
    EXPECT_FALSE(fs::exists(root / "NADA"));
}

INSTANTIATE_TEST_SUITE_P(Table, SystemPathFailures, testing::ValuesIn(kFailureCases),
                         [](const testing::TestParamInfo<FailureCase>& test) { return test.param.name; });

TEST(SystemPathFolders, CreatesOnlyTheMissingFolder) {
    const fs::path root = lrf::test::FreshFolder("settings-path-create");
    fs::create_directories(root / "KORV_8" / "ARQ2024");
    const fs::path file =
        WriteSettings("create", "Ano=2024\nCaminho_Base_Dados=" + root.string() + "/KORV_8/");
    const fs::path backup = root / "KORV_8" / "ARQ2024" / "BCK";

    EXPECT_EQ(lrf::ResolveSystemPath("BKAD", file, '/'), root.string() + "/KORV_8/ARQ2024/BCK/");
    EXPECT_TRUE(fs::is_directory(backup));

    // A folder that exists is left as it is, contents and all.
    lrf::test::WriteBytes(backup / "KORV2024.GBK", "backup");
    EXPECT_EQ(lrf::ResolveSystemPath("BKAB", file, '/'), root.string() + "/KORV_8/ARQ2024/BCK/");
    EXPECT_TRUE(fs::exists(backup / "KORV2024.GBK"));

    // Codes that create nothing leave missing folders missing.
    for (const char* code : {"B", "D", "BK", "DA", "AP", "EXE", "TD", "TB"})
        lrf::ResolveSystemPath(code, file, '/');
    EXPECT_FALSE(fs::exists(root / "KORV_8" / "ARQ2023"));
    EXPECT_FALSE(fs::exists(root / "KORV_8" / "TABDEF"));
}

TEST(SystemPathFolders, ServerViewIsCreatedOnThisMachine) {
    const fs::path root = lrf::test::FreshFolder("settings-path-server");
    fs::create_directories(root / "KORV_8" / "ARQ2024");
    const fs::path file = WriteSettings("server", "Servidor=dbhost\nSO_Servidor=LINUX\nAno=2024\n"
                                                  "Caminho_Base_Dados=/srv/KORV_8/\nDiretorio_Servidor=" +
                                                      root.string() + "/KORV_8/");

    EXPECT_EQ(lrf::ResolveSystemPath("BKAB", file, '/'), "/srv/KORV_8/ARQ2024/BCK/");
    EXPECT_TRUE(fs::is_directory(root / "KORV_8" / "ARQ2024" / "BCK"));
    EXPECT_EQ(lrf::ResolveSystemPath("TPB", file, '/'), "/srv/KORV_8/ARQ2024/TEMP/");
    EXPECT_TRUE(fs::is_directory(root / "KORV_8" / "ARQ2024" / "TEMP"));
}

// A NUL is part of the code, as any other character: "B" followed by NUL is not "B".
TEST(SystemPathCodesWithNul, AreOtherCodes) {
    using namespace std::string_literals;
    const fs::path local = WriteSettings("nul-local", "Ano=2024\nCaminho_Base_Dados=/k/KORV_8/");
    const fs::path server = WriteSettings("nul-server", "Servidor=db\nAno=2024\nCaminho_Base_Dados=/s/\n"
                                                        "Diretorio_Servidor=/k/KORV_8/");
    const struct {
        const fs::path& settings;
        std::string code;
        const char* path;
    } cases[] = {
        {local, "B\0"s, "/k/KORV_8/TABDEF/"},
        {local, "\0B"s, "/k/KORV_8/TABDEF/"},
        {server, "D\0"s, ""},
        {server, "B\0"s, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lrf::ResolveSystemPath(c.code, c.settings, '/'), c.path)
            << c.settings << " " << c.code.size();
    EXPECT_THROW(lrf::ResolveSystemPath("DA\0"s, local, '/'), lrf::PathError);
    EXPECT_THROW(lrf::ResolveSystemPath("BA1\0"s, server, '/'), lrf::PathError);
}

TEST(SystemPathSettings, MissingSettingsMeanALocalInstallation) {
    const fs::path folder = lrf::test::FreshFolder("settings-path-missing");
    lrf::test::WriteBytes(folder / "other.ini", "[OUTRA]\r\nServidor=dbhost\r\nCaminho_Base_Dados=/srv/\r\n");
    for (const fs::path& file : {folder / "Korv.ini", folder / "other.ini", folder})
        EXPECT_EQ(lrf::ResolveSystemPath("B", file, '/'), "ARQ/") << file;
}

TEST(SystemPathSettings, ReadAfreshAtEveryCall) {
    const fs::path file = WriteSettings("afresh", "Ano=2024\nCaminho_Base_Dados=/a/");
    EXPECT_EQ(lrf::ResolveSystemPath("B", file, '/'), "/a/ARQ2024/");
    WriteSettings("afresh", "Ano=2025\nServidor=db\nCaminho_Base_Dados=/b/");
    EXPECT_EQ(lrf::ResolveSystemPath("B", file, '/'), "db:/b/ARQ2025\\");
}

} // namespace
