#pragma once
// What the driver module dbexpida.dll offers the connection class. Both sides are built together by
// this project, so the boundary is a plain C++ interface behind one C entry point.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lrf::driver {

inline constexpr int kApiVersion = 2;

// One fetched value. Fixed-point numbers (NUMERIC, DECIMAL and the integer types) keep their
// unscaled integer and scale, so nothing passes through a float.
struct Value {
    enum class Kind : std::uint8_t { Null, Fixed, Float, Text, Date, Time, Timestamp, Other };
    Kind kind = Kind::Null;
    std::int64_t fixed = 0; // Fixed: unscaled value; Date: days since 1858-11-17; Time: 1/10000 s;
                            // Timestamp: days * 864000000 + time
    int scale = 0;          // Fixed: power of ten (0 or negative)
    double real = 0;        // Float
    std::string text;       // Text: the bytes as stored (no character set conversion); Other: a description
};

struct Column {
    std::string name; // the column's alias as the statement names it
};

// A whole fetched result: row-major values.
struct ResultSet {
    std::vector<Column> columns;
    std::vector<Value> values; // rows * columns.size()
    std::size_t RowCount() const { return columns.empty() ? 0 : values.size() / columns.size(); }
    const Value& At(std::size_t row, std::size_t column) const {
        return values[row * columns.size() + column];
    }
};

struct ConnectParams {
    std::string vendorLib; // client library to load; "gds32.DLL" means the platform's Firebird client
    std::string database;  // local path or host:path
    std::string user;
    std::string password;
    std::string role;
    std::string charset; // empty: no character set conversion
    int dialect = 3;
    bool waitOnLocks = true; // a read-committed read-only transaction never waits in practice
};

// An attachment. Every transaction it starts is read-only: this program never writes to the database.
class Session {
public:
    virtual ~Session() = default;
    // Runs one SELECT and fetches its whole result. Outside a snapshot each query has its own
    // read-committed transaction. Throws lrf::DatabaseError with Firebird's message.
    virtual ResultSet Query(const std::string& sql) = 0;
    // While a snapshot is open every query reads through one read-only snapshot transaction.
    virtual void BeginSnapshot() = 0;
    virtual void EndSnapshot() noexcept = 0;
    // Called from another thread: the statement this session is running fails at once with
    // Firebird's "operation was cancelled", and so does the next one when none is running.
    virtual void Cancel() noexcept = 0;
};

class Driver {
public:
    virtual ~Driver() = default;
    virtual int ApiVersion() const { return kApiVersion; }
    // Throws lrf::DatabaseError (client library missing, database not found, login refused...).
    virtual std::unique_ptr<Session> Connect(const ConnectParams& params) = 0;
};

} // namespace lrf::driver

// The module's entry point (name kept from the original driver).
extern "C" lrf::driver::Driver* getSQLDriverInterBase();
