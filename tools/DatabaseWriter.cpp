#include "tools/DatabaseWriter.h"

#include "database/driver/Handles.h"

#include <firebird/Interface.h>

#include <cstring>
#include <stdexcept>
#include <utility>

namespace lrf::tools {
namespace {

using namespace Firebird;

IMaster* Master() {
    static IMaster* master = fb_get_master_interface();
    return master;
}

// One status vector per call; turns a failed call into std::runtime_error with Firebird's own text.
class Status {
public:
    Status() : raw_(Master()->getStatus()), wrapper_(raw_) {}
    ~Status() { raw_->dispose(); }
    Status(const Status&) = delete;
    Status& operator=(const Status&) = delete;

    CheckStatusWrapper* ptr() { return &wrapper_; }
    bool Failed() { return (wrapper_.getState() & IStatus::STATE_ERRORS) != 0; }

    void Check() {
        if (!Failed())
            return;
        char text[2048];
        Master()->getUtilInterface()->formatStatus(text, sizeof text, &wrapper_);
        wrapper_.init();
        throw std::runtime_error(text);
    }

private:
    IStatus* raw_;
    CheckStatusWrapper wrapper_;
};

template <typename T> driver::Owned<T> Own(T* pointer) {
    return driver::Owned<T>(Master(), pointer);
}

// Rolled back unless committed; the destructor never throws.
class Transaction {
public:
    Transaction(IAttachment* attachment, bool readOnly) {
        static const unsigned char writeTpb[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_concurrency,
                                                 isc_tpb_wait};
        static const unsigned char readTpb[] = {isc_tpb_version3, isc_tpb_read, isc_tpb_read_committed,
                                                isc_tpb_rec_version, isc_tpb_nowait};
        Status status;
        handle_ = Own(readOnly ? attachment->startTransaction(status.ptr(), sizeof readTpb, readTpb)
                               : attachment->startTransaction(status.ptr(), sizeof writeTpb, writeTpb));
        status.Check();
    }

    ITransaction* get() const { return handle_.get(); }

    void Commit() {
        Status status;
        handle_->commit(status.ptr());
        status.Check();
        handle_.Disown();
    }

private:
    driver::Owned<ITransaction> handle_;
};

constexpr unsigned kDialect = 3;
constexpr unsigned kMaxVarying = 32765;
constexpr unsigned kNumberTextLength = 64;

std::string BuildDpb(const std::string& user, const std::string& password, bool create) {
    Status status;
    const auto dpb =
        Own(Master()->getUtilInterface()->getXpbBuilder(status.ptr(), IXpbBuilder::DPB, nullptr, 0));
    status.Check();
    dpb->insertString(status.ptr(), isc_dpb_user_name, user.c_str());
    dpb->insertString(status.ptr(), isc_dpb_password, password.c_str());
    // NONE: text passes through as the bytes stored, whatever the column's character set.
    dpb->insertString(status.ptr(), isc_dpb_lc_ctype, "NONE");
    if (create) {
        dpb->insertInt(status.ptr(), isc_dpb_page_size, 16384);
        dpb->insertInt(status.ptr(), isc_dpb_sql_dialect, 3);
        dpb->insertString(status.ptr(), isc_dpb_set_db_charset, "WIN1252");
    }
    status.Check();
    const unsigned length = dpb->getBufferLength(status.ptr());
    const unsigned char* buffer = dpb->getBuffer(status.ptr());
    status.Check();
    return std::string(reinterpret_cast<const char*>(buffer), length);
}

IProvider* Provider() {
    static IProvider* provider = Master()->getDispatcher();
    return provider;
}

// A message whose every field is a nullable VARCHAR, so values travel as text both ways.
struct TextMessage {
    driver::Owned<IMessageMetadata> metadata;
    std::vector<unsigned char> buffer;
    std::vector<unsigned> offsets, nullOffsets, lengths;

    TextMessage(IMessageMetadata* original, const std::vector<unsigned>& fieldLengths, bool keepCharSets) {
        Status status;
        const unsigned count = original->getCount(status.ptr());
        status.Check();
        const auto builder = Own(original->getBuilder(status.ptr()));
        status.Check();
        for (unsigned i = 0; i < count; ++i) {
            const unsigned type = original->getType(status.ptr(), i) & ~1u;
            const bool text = type == SQL_TEXT || type == SQL_VARYING;
            builder->setType(status.ptr(), i, SQL_VARYING | 1);
            builder->setSubType(status.ptr(), i, 0);
            builder->setScale(status.ptr(), i, 0);
            builder->setLength(status.ptr(), i, fieldLengths[i]);
            builder->setCharSet(status.ptr(), i,
                                keepCharSets && text ? original->getCharSet(status.ptr(), i) : 0);
            status.Check();
        }
        metadata = Own(builder->getMetadata(status.ptr()));
        status.Check();
        buffer.assign(metadata->getMessageLength(status.ptr()), 0);
        for (unsigned i = 0; i < count; ++i) {
            offsets.push_back(metadata->getOffset(status.ptr(), i));
            nullOffsets.push_back(metadata->getNullOffset(status.ptr(), i));
            lengths.push_back(metadata->getLength(status.ptr(), i));
        }
        status.Check();
    }

    void Set(unsigned i, const Value& value) {
        ISC_SHORT null = value ? 0 : -1;
        std::memcpy(&buffer[nullOffsets[i]], &null, sizeof null);
        ISC_USHORT length = 0;
        if (value) {
            length = static_cast<ISC_USHORT>(value->size());
            std::memcpy(&buffer[offsets[i] + sizeof length], value->data(), value->size());
        }
        std::memcpy(&buffer[offsets[i]], &length, sizeof length);
    }

    Value Get(unsigned i) const {
        ISC_SHORT null;
        std::memcpy(&null, &buffer[nullOffsets[i]], sizeof null);
        if (null)
            return std::nullopt;
        ISC_USHORT length;
        std::memcpy(&length, &buffer[offsets[i]], sizeof length);
        return std::string(reinterpret_cast<const char*>(&buffer[offsets[i] + sizeof length]), length);
    }
};

driver::Owned<IStatement> Prepare(IAttachment* attachment, Transaction& transaction, const std::string& sql) {
    Status status;
    auto statement = Own(attachment->prepare(status.ptr(), transaction.get(), 0, sql.c_str(), kDialect,
                                             IStatement::PREPARE_PREFETCH_METADATA));
    status.Check();
    return statement;
}

} // namespace

struct DatabaseWriter::Impl {
    driver::Owned<IAttachment> attachment;
};

DatabaseWriter::DatabaseWriter(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
DatabaseWriter::~DatabaseWriter() = default;
DatabaseWriter::DatabaseWriter(DatabaseWriter&&) noexcept = default;
DatabaseWriter& DatabaseWriter::operator=(DatabaseWriter&&) noexcept = default;

DatabaseWriter DatabaseWriter::Create(const std::string& path, const std::string& user,
                                      const std::string& password) {
    const std::string dpb = BuildDpb(user, password, true);
    Status status;
    auto attachment =
        Own(Provider()->createDatabase(status.ptr(), path.c_str(), static_cast<unsigned>(dpb.size()),
                                       reinterpret_cast<const unsigned char*>(dpb.data())));
    status.Check();
    return DatabaseWriter(std::make_unique<Impl>(Impl{std::move(attachment)}));
}

DatabaseWriter DatabaseWriter::Attach(const std::string& path, const std::string& user,
                                      const std::string& password) {
    const std::string dpb = BuildDpb(user, password, false);
    Status status;
    auto attachment =
        Own(Provider()->attachDatabase(status.ptr(), path.c_str(), static_cast<unsigned>(dpb.size()),
                                       reinterpret_cast<const unsigned char*>(dpb.data())));
    status.Check();
    return DatabaseWriter(std::make_unique<Impl>(Impl{std::move(attachment)}));
}

void DatabaseWriter::Execute(const std::string& sql) {
    ExecuteAll({sql});
}

void DatabaseWriter::ExecuteAll(const std::vector<std::string>& statements) {
    Transaction transaction(impl_->attachment.get(), false);
    for (const std::string& sql : statements) {
        Status status;
        impl_->attachment->execute(status.ptr(), transaction.get(), 0, sql.c_str(), kDialect, nullptr,
                                   nullptr, nullptr, nullptr);
        status.Check();
    }
    transaction.Commit();
}

void DatabaseWriter::ExecuteRows(const std::string& sql, const std::vector<Row>& rows) {
    Transaction transaction(impl_->attachment.get(), false);
    auto statement = Prepare(impl_->attachment.get(), transaction, sql);
    Status status;
    const auto input = Own(statement->getInputMetadata(status.ptr()));
    status.Check();
    const unsigned count = input->getCount(status.ptr());
    status.Check();

    // Each field is as wide as the longest value it must carry.
    std::vector<unsigned> widths(count, 1);
    for (const Row& row : rows) {
        if (row.size() != count)
            throw std::runtime_error("ExecuteRows: a row has " + std::to_string(row.size()) + " values for " +
                                     std::to_string(count) + " parameters");
        for (unsigned i = 0; i < count; ++i) {
            if (row[i] && row[i]->size() > kMaxVarying)
                throw std::runtime_error("ExecuteRows: a value is longer than 32765 bytes");
            if (row[i] && row[i]->size() > widths[i])
                widths[i] = static_cast<unsigned>(row[i]->size());
        }
    }
    TextMessage message(input.get(), widths, false);
    for (const Row& row : rows) {
        for (unsigned i = 0; i < count; ++i)
            message.Set(i, row[i]);
        statement->execute(status.ptr(), transaction.get(), message.metadata.get(), message.buffer.data(),
                           nullptr, nullptr);
        status.Check();
    }
    statement.reset();
    transaction.Commit();
}

std::vector<Row> DatabaseWriter::Query(const std::string& sql) {
    Transaction transaction(impl_->attachment.get(), true);
    auto statement = Prepare(impl_->attachment.get(), transaction, sql);
    Status status;
    const auto output = Own(statement->getOutputMetadata(status.ptr()));
    status.Check();
    const unsigned count = output->getCount(status.ptr());
    status.Check();
    std::vector<unsigned> widths;
    for (unsigned i = 0; i < count; ++i) {
        const unsigned type = output->getType(status.ptr(), i) & ~1u;
        status.Check();
        if (type == SQL_BLOB || type == SQL_ARRAY)
            throw std::runtime_error("Query: column " + std::to_string(i + 1) + " is a blob or an array");
        const bool text = type == SQL_TEXT || type == SQL_VARYING;
        widths.push_back(text ? output->getLength(status.ptr(), i) : kNumberTextLength);
    }
    TextMessage message(output.get(), widths, true);

    std::vector<Row> rows;
    {
        const auto cursor = Own(statement->openCursor(status.ptr(), transaction.get(), nullptr, nullptr,
                                                      message.metadata.get(), 0));
        status.Check();
        while (cursor->fetchNext(status.ptr(), message.buffer.data()) == IStatus::RESULT_OK) {
            Row row;
            for (unsigned i = 0; i < count; ++i)
                row.push_back(message.Get(i));
            rows.push_back(std::move(row));
        }
        status.Check();
    }
    statement.reset();
    transaction.Commit();
    return rows;
}

} // namespace lrf::tools
