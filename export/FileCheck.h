#pragma once
// Conferência: the files in the folder checked against each other and against the database before the
// accountant sends them. The checks are one table (FileCheckTable.cpp); this is what the run, the command
// line and the window see of them.
#include "database/Currency.h"
#include "export/EntityFilter.h"
#include "export/ExportSteps.h"
#include "export/Period.h"
#include "export/Regional.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace lrf {

class TCRSQLConnection;

// What a run knows of a file it wrote: the size and checksum of the bytes it put in place.
struct WrittenFile {
    std::string_view fileName;
    bool created = false;
    qint64 size = 0;
    QByteArray sha256;
};

struct CheckRequest {
    Period period;
    int bimester = 0; // 1..6
    std::vector<EntityItem> entities;
    std::size_t entityCodeLength = 0;
    std::array<bool, kStepCount> wanted{}; // the file boxes to check, in step order
    bool filesNamed = true; // a wanted file missing from the folder is an error, else a warning
    QString folderText;
    std::vector<WrittenFile> written; // from a run; empty when the files come from an earlier one
};

enum class CheckKind { Error, Warning };

struct CheckFinding {
    std::string_view id; // "E01"
    CheckKind kind;
    QString fileName; // empty when the finding concerns no one file
    QString text;
    QStringList rows; // the rows it names, one per line
};

struct FileSummary {
    enum class Status { Ok, Warning, Error };
    QString fileName;
    bool present = false;
    int lines = 0;
    QString checked; // what the two amounts are
    std::optional<Currency> fileAmount, databaseAmount;
    Status status = Status::Ok;
};

struct CheckReport {
    QString title;
    QStringList heading; // folder, entities
    std::vector<FileSummary> files;
    std::vector<CheckFinding> findings;

    int Errors() const;
    int Warnings() const;
    bool CanSend() const { return Errors() == 0; }
    // The summary (one line per file, the counts, whether the files can be sent), then the details.
    QString Text() const;
};

// Reads the wanted files from the folder and the database's figures through `connection`, inside the
// snapshot the caller holds open, and runs every check. A statement the database refuses becomes an
// error finding of the files it concerns; it does not end the check.
CheckReport CheckFiles(const CheckRequest& request, TCRSQLConnection& connection,
                       const RegionalSettings& regional);

} // namespace lrf
