#pragma once
// The client dataset: a command text, opened with the whole result fetched, walked record by record.
#include "database/Currency.h"
#include "database/DriverApi.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace lrf {

class TCRSQLConnection;
class TSQLClientDataSet;

// A column of the current record.
class TField {
public:
    TField(const TSQLClientDataSet& owner, std::size_t column) : owner_(&owner), column_(column) {}
    bool IsNull() const;
    // The bytes as stored for text; decimal text for numbers; NULL gives "".
    std::string AsString() const;
    // Whole numbers; NULL gives 0. Throws lrf::DatabaseError for a value that is not an integer.
    std::int64_t AsInteger() const;
    // Exact four-decimal value; NULL gives 0. Throws for values that do not fit.
    Currency AsCurrency() const;

private:
    const driver::Value& Current() const;
    const TSQLClientDataSet* owner_;
    std::size_t column_;
};

class TSQLClientDataSet {
public:
    explicit TSQLClientDataSet(TCRSQLConnection* connection = nullptr) : connection_(connection) {}

    std::string CommandText;

    // Runs CommandText and fetches every row; the first record becomes current.
    void Open();
    void Close() noexcept;
    bool Active() const { return active_; }

    std::size_t RecordCount() const { return result_.RowCount(); }
    // 1 for the first record; 0 when there is none. Past the end it stays on the last record.
    std::size_t RecNo() const { return row_ < RecordCount() ? row_ + 1 : RecordCount(); }
    void First() { row_ = 0; }
    void Next();
    bool Eof() const { return row_ >= RecordCount(); }

    // Column of the current record by name, without regard to case; throws lrf::DatabaseError
    // "Field 'name' not found" when absent.
    TField FieldByName(std::string_view name) const;

private:
    friend class TField;
    TCRSQLConnection* connection_;
    driver::ResultSet result_;
    std::size_t row_ = 0;
    bool active_ = false;
};

} // namespace lrf
