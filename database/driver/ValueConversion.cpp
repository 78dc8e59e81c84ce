#include "database/driver/ValueConversion.h"

#include "database/DatabaseError.h"
#include "database/driver/Status.h"

#include <cstdint>
#include <cstring>

namespace lrf::driver {

namespace {

constexpr std::int64_t kTimeUnitsPerDay = 864000000; // ISC_TIME counts 1/10000 s

template <typename T> T Read(const unsigned char* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

Value Fixed(std::int64_t unscaled, int scale) {
    Value value;
    value.kind = Value::Kind::Fixed;
    value.fixed = unscaled;
    value.scale = scale;
    return value;
}

Value OfKind(Value::Kind kind, std::int64_t fixed) {
    Value value;
    value.kind = kind;
    value.fixed = fixed;
    return value;
}

Value Described(std::string text) {
    Value value;
    value.kind = Value::Kind::Other;
    value.text = std::move(text);
    return value;
}

Value TextOf(const unsigned char* at, std::size_t length) {
    Value value;
    value.kind = Value::Kind::Text;
    value.text.assign(reinterpret_cast<const char*>(at), length);
    return value;
}

} // namespace

Value ConvertValue(const ColumnLayout& column, const unsigned char* message, BlobReader& blobs) {
    if (column.type == SQL_NULL || Read<std::int16_t>(message + column.nullOffset) != 0)
        return Value{};
    const unsigned char* at = message + column.offset;
    switch (column.type) {
    case SQL_SHORT:
        return Fixed(Read<std::int16_t>(at), column.scale);
    case SQL_LONG:
        return Fixed(Read<std::int32_t>(at), column.scale);
    case SQL_INT64:
        return Fixed(Read<std::int64_t>(at), column.scale);
#ifdef SQL_INT128
    case SQL_INT128: {
        // Little-endian two's complement; kept only when the high half is the sign of the low half.
        const auto low = Read<std::uint64_t>(at);
        const auto high = Read<std::int64_t>(at + 8);
        const auto signedLow = static_cast<std::int64_t>(low);
        if (high != (signedLow < 0 ? -1 : 0))
            throw DatabaseError("A 128-bit number is too large to be read exactly");
        return Fixed(signedLow, column.scale);
    }
#endif
    case SQL_BOOLEAN:
        return Fixed(Read<unsigned char>(at) != 0 ? 1 : 0, 0);
    case SQL_FLOAT: {
        Value value;
        value.kind = Value::Kind::Float;
        value.real = Read<float>(at);
        return value;
    }
    case SQL_DOUBLE:
    case SQL_D_FLOAT: {
        Value value;
        value.kind = Value::Kind::Float;
        value.real = Read<double>(at);
        return value;
    }
    case SQL_TEXT:
        return TextOf(at, column.length);
    case SQL_VARYING: {
        const auto length = Read<std::uint16_t>(at);
        if (length > column.length)
            throw DatabaseError("A text value is longer than its column");
        return TextOf(at + sizeof(std::uint16_t), length);
    }
    case SQL_TYPE_DATE:
        return OfKind(Value::Kind::Date, Read<ISC_DATE>(at));
    case SQL_TYPE_TIME:
        return OfKind(Value::Kind::Time, Read<ISC_TIME>(at));
    case SQL_TIMESTAMP: {
        const auto stamp = Read<ISC_TIMESTAMP>(at);
        return OfKind(Value::Kind::Timestamp,
                      static_cast<std::int64_t>(stamp.timestamp_date) * kTimeUnitsPerDay +
                          stamp.timestamp_time);
    }
    case SQL_BLOB:
        if (column.subType == isc_blob_text)
            return Described(blobs.ReadText(Read<ISC_QUAD>(at)));
        return Described("(BLOB)");
    case SQL_ARRAY:
        return Described("(ARRAY)");
    default:
        return Described("(unsupported type " + std::to_string(column.type) + ")");
    }
}

std::vector<ColumnLayout> LayoutOf(Firebird::IMessageMetadata* metadata, Firebird::IMaster* master,
                                   Firebird::IUtil* util) {
    Status status(master, util);
    const unsigned count = metadata->getCount(&status);
    std::vector<ColumnLayout> layout(count);
    for (unsigned i = 0; i < count; ++i) {
        ColumnLayout& column = layout[i];
        column.type = metadata->getType(&status, i) & ~1u;
        column.subType = metadata->getSubType(&status, i);
        column.scale = metadata->getScale(&status, i);
        column.length = metadata->getLength(&status, i);
        column.offset = metadata->getOffset(&status, i);
        column.nullOffset = metadata->getNullOffset(&status, i);
    }
    return layout;
}

} // namespace lrf::driver
