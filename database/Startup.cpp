#include "database/Startup.h"

#include "database/Connection.h"
#include "database/DatabaseError.h"
#include "database/Probe.h"
#include "settings/AsciiText.h"
#include "settings/Installation.h"
#include "settings/SystemPath.h"

namespace lrf {

const char* const kMissingDriverMessage =
    "Um arquivo DLL necessário para o correto funcionamento do sistema não foi encontrado (DBEXPIDA.dll) !!! "
    "\r"
    "\r"
    "SOLUÇÃO:\r"
    "Faça atualização do sistema utilizando o atualizador automático e marque a opção "
    "\"Biblioteca para Conexão (I)\" .\r"
    "\r"
    "O Sistema será finalizado.";
const char* const kDatabaseNotFoundMessage =
    "Base de Dados do sistema não encontrada !!! O Sistema será finalizado.";
const char* const kStartupErrorCaption = "Erro na Base de Dados";

namespace {

// Every control character and the space, as the settings' blank test counts them.
constexpr char kControlsAndSpace[] = "\x01\x02\x03\x04\x05\x06\x07\x08\t\n\x0B\x0C\r\x0E\x0F\x10\x11\x12"
                                     "\x13\x14\x15\x16\x17\x18\x19\x1A\x1B\x1C\x1D\x1E\x1F ";

bool IsBlankText(const std::string& text) {
    // The array's final NUL is one of the blanks too.
    return Trimmed(text, std::string_view(kControlsAndSpace, sizeof kControlsAndSpace)).empty();
}

} // namespace

StartupResult StartUp(TCRSQLConnection& conexao, const std::string& executableFolder) {
    StartupResult result;
    const auto driver = FindFileNoCase(PathFromUtf8(executableFolder), "DBEXPIDA.dll");
    if (!driver) {
        result.outcome = StartupResult::Outcome::DriverMissing;
        result.reason = "DBEXPIDA.dll não encontrado em " + executableFolder;
        return result;
    }

    const std::string ano = ReadKorvSetting("ano");
    const std::string dll = ReadKorvSetting("DLL");
    result.fiscalYear = ano;
    const std::string databaseFileName = "KORV" + ano + ".FDB";

    if (!ProbeDatabase(databaseFileName, "D", &result.reason)) {
        result.outcome = StartupResult::Outcome::DatabaseNotFound;
        return result;
    }

    conexao.Close();
    // The file the check found: the same as folder + "dbexpida.dll" where names ignore case, and the
    // one that exists where they do not.
    conexao.LibraryName = Utf8FromPath(*driver);
    conexao.VendorLib = IsBlankText(dll) ? std::string("gds32.DLL") : dll;
    conexao.SetParam("DataBase", ResolveSystemPath("B") + databaseFileName);
    try {
        conexao.Open();
    } catch (const std::exception& error) {
        result.outcome = StartupResult::Outcome::OpenFailed;
        result.openError = error.what();
    }
    return result;
}

} // namespace lrf
