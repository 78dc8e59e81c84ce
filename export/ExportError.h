#pragma once
#include "database/DatabaseError.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace lrf {

// An error of the export run itself (a date or number that cannot be read); its text is UTF-8.
class ExportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file's query that the database refused or could not run: the database's own error, and the file
// whose query it was, which the database's text does not name.
class StatementError : public DatabaseError {
public:
    StatementError(const DatabaseError& error, std::string_view fileName)
        : DatabaseError(error), fileName_(fileName) {}
    const std::string& FileName() const { return fileName_; }
    // "A consulta do arquivo DED_RZDA.TXT falhou." (UTF-8)
    std::string Detail() const { return "A consulta do arquivo " + fileName_ + " falhou."; }

private:
    std::string fileName_;
};

} // namespace lrf
