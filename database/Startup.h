#pragma once
// The start-up checks shared by the window and the command line: driver file, fiscal year, probe and
// the opening of the program's connection. Showing the messages is the caller's.
#include <string>

namespace lrf {

class TCRSQLConnection;

// The six-line message (lines joined by a lone carriage return) and the probe's message.
extern const char* const kMissingDriverMessage;
extern const char* const kDatabaseNotFoundMessage;
extern const char* const kStartupErrorCaption; // "Erro na Base de Dados"

struct StartupResult {
    enum class Outcome { Connected, DriverMissing, DatabaseNotFound, OpenFailed };
    Outcome outcome = Outcome::Connected;
    std::string fiscalYear; // set once the driver file was found
    std::string openError;  // OpenFailed: the error's own text
    // DriverMissing and DatabaseNotFound: why, beside the fixed message (the folder searched, or the
    // probe's error as the database or the driver gave it).
    std::string reason;
};

// Runs the checks and, when they pass, sets up and opens `conexao` (which starts with the design-time
// settings). An open that fails after a successful probe gives OpenFailed; the program goes on.
// `executableFolder` (ending with the separator) is where the driver file is looked for; the
// program passes ExecutableFolder(), tests a folder of their own.
StartupResult StartUp(TCRSQLConnection& conexao, const std::string& executableFolder);

} // namespace lrf
