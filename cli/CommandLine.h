#pragma once
// The options of lrf-export, read without touching the database or the settings file.
#include "export/ExportSteps.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

namespace lrf::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFileFailed = 1;
inline constexpr int kExitRunError = 2;
inline constexpr int kExitStartupFailed = 3;
inline constexpr int kExitUsage = 64;

struct Options {
    bool help = false;
    bool version = false;
    int bimester = 0;                      // 1..6
    std::vector<std::int64_t> entityCodes; // the entities to tick, in the order given
    std::array<bool, kStepCount> ticked{}; // the file boxes, in step order
    std::optional<QString> folderText;     // as given; normalised as the folder box does
    std::optional<QString> settingsFile;
};

struct UsageError {
    QString message; // one line, without the program name
};

// `arguments` without the program name.
std::variant<Options, UsageError> ParseCommandLine(const QStringList& arguments);

// The line shown after a usage error.
QString UsageLine();
// --help: the usage line, every option with its line of help, the exit codes and an example.
QString HelpText();
// --version: the program's name and file version.
QString VersionText();

} // namespace lrf::cli
