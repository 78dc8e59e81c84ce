#pragma once
// Turns one column of a fetched Firebird message into a driver::Value, exactly: numbers keep their
// unscaled integer and scale, text keeps its bytes.
#include "database/DriverApi.h"

#include <firebird/Interface.h>

#include <string>

namespace lrf::driver {

// Where and how one output column lies in the message buffer.
struct ColumnLayout {
    unsigned type = 0; // SQL type with the nullable bit masked off
    int subType = 0;
    int scale = 0;
    unsigned length = 0;
    unsigned offset = 0;
    unsigned nullOffset = 0;
};

// Reads the text of a text blob; only the caller has the attachment and transaction for it.
class BlobReader {
public:
    virtual std::string ReadText(ISC_QUAD id) = 0;

protected:
    ~BlobReader() = default;
};

// Throws lrf::DatabaseError for a value that cannot be kept exactly (a 128-bit number out of range,
// a malformed varying length).
Value ConvertValue(const ColumnLayout& column, const unsigned char* message, BlobReader& blobs);

// The layout of every column of `metadata`.
std::vector<ColumnLayout> LayoutOf(Firebird::IMessageMetadata* metadata, Firebird::IMaster* master,
                                   Firebird::IUtil* util);

} // namespace lrf::driver
