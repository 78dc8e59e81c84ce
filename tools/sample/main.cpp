// korv-sample: builds a complete local KORV installation (settings file and the fiscal year's
// accounting database) filled with a small municipality's deterministic data.
#include "Installation.h"
#include "MasterData.h"
#include "Options.h"
#include "Postings.h"
#include "Schema.h"

#include "tools/DatabaseWriter.h"

#include <chrono>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <system_error>

namespace fs = std::filesystem;
using namespace lrf::sample;

namespace {

void Fill(lrf::tools::DatabaseWriter& db, int year, int scale) {
    db.ExecuteAll(CreateStatements());
    for (const TableRows& table : BuildMasterData(scale))
        db.ExecuteRows(table.insert, table.rows);
    for (const std::string& block : PostingStatements(year))
        db.Execute(block);
    db.ExecuteAll(KeyStatements());
    db.ExecuteAll(GrantStatements());
}

void BuildDatabase(const Installation& installation, int scale) {
    // Create refuses a file that is there: what it did not make is never removed below.
    std::optional<lrf::tools::DatabaseWriter> db(
        lrf::tools::DatabaseWriter::Create(installation.databaseFile.string()));
    try {
        Fill(*db, installation.year, scale);
    } catch (...) {
        // A half-built database would only make the next run refuse.
        db.reset();
        std::error_code ignored;
        fs::remove(installation.databaseFile, ignored);
        throw;
    }
}

std::string Summary(const Installation& installation) {
    auto db = lrf::tools::DatabaseWriter::Attach(installation.databaseFile.string());
    std::string line = installation.databaseFile.string() + ":";
    for (std::size_t i = 0; i < kTables.size(); ++i) {
        const auto rows = db.Query("SELECT COUNT(*) FROM " + kTables[i]);
        line += (i ? ", " : " ") + kTables[i] + " " + rows.at(0).at(0).value_or("?");
    }
    return line;
}

int Run(const Options& options) {
    const Installation installation = PlanInstallation(options.dir, options.year);
    if (fs::exists(installation.databaseFile)) {
        std::cerr << "korv-sample: " << installation.databaseFile.string()
                  << " already exists; nothing was changed (remove it or choose another --dir)\n";
        return 1;
    }
    if (fs::exists(installation.folder) && !fs::is_directory(installation.folder)) {
        std::cerr << "korv-sample: " << installation.folder.string() << " exists and is not a folder\n";
        return 1;
    }
    fs::create_directories(installation.databaseFile.parent_path());

    const auto start = std::chrono::steady_clock::now();
    BuildDatabase(installation, options.scale);
    const bool settingsWritten = WriteSettingsIfMissing(installation);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::cout << "korv-sample: " << Summary(installation) << std::fixed << std::setprecision(1) << " ("
              << seconds << " s)\n";
    if (!settingsWritten)
        std::cout << "korv-sample: " << installation.settingsFile.string()
                  << " was already there and is left as it is\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::optional<Options> options;
    try {
        options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::invalid_argument& error) {
        std::cerr << "korv-sample: " << error.what() << "\n" << kUsage;
        return 2;
    }
    if (!options) {
        std::cout << kUsage;
        return 0;
    }
    try {
        return Run(*options);
    } catch (const std::exception& error) {
        std::cerr << "korv-sample: " << error.what() << "\n";
        return 1;
    }
}
