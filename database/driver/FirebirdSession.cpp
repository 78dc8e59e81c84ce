#include "database/driver/FirebirdSession.h"

#include "database/DatabaseError.h"
#include "database/driver/ValueConversion.h"

#include <string>
#include <vector>

namespace lrf::driver {

namespace {

using Firebird::IStatement;
using Firebird::IStatus;

// What a refused statement is, in the words of the message.
std::string KindOf(unsigned statementType) {
    switch (statementType) {
    case isc_info_sql_stmt_insert:
        return "an INSERT";
    case isc_info_sql_stmt_update:
        return "an UPDATE";
    case isc_info_sql_stmt_delete:
        return "a DELETE";
    case isc_info_sql_stmt_ddl:
        return "a change of the database's definition";
    case isc_info_sql_stmt_exec_procedure:
        return "an EXECUTE PROCEDURE, an EXECUTE BLOCK without result rows or a change with RETURNING";
    case isc_info_sql_stmt_start_trans:
        return "a SET TRANSACTION";
    case isc_info_sql_stmt_commit:
        return "a COMMIT";
    case isc_info_sql_stmt_rollback:
        return "a ROLLBACK";
    case isc_info_sql_stmt_select_for_upd:
        return "a SELECT ... FOR UPDATE";
    case isc_info_sql_stmt_set_generator:
        return "a SET GENERATOR";
    case isc_info_sql_stmt_savepoint:
        return "a SAVEPOINT";
    default:
        return "a statement of type " + std::to_string(statementType);
    }
}

class TransactionBlobs final : public BlobReader {
public:
    TransactionBlobs(const Client& client, Firebird::IAttachment* attachment,
                     Firebird::ITransaction* transaction)
        : client_(client), attachment_(attachment), transaction_(transaction) {}

    std::string ReadText(ISC_QUAD id) override {
        Status status(client_.master, client_.util);
        Owned<Firebird::IBlob> blob(client_.master,
                                    attachment_->openBlob(&status, transaction_, &id, 0, nullptr));
        std::string text;
        char segment[32768];
        for (;;) {
            unsigned length = 0;
            const int result = blob->getSegment(&status, sizeof segment, segment, &length);
            if (result == IStatus::RESULT_NO_DATA)
                break;
            text.append(segment, length);
        }
        blob->close(&status);
        blob.Disown();
        return text;
    }

private:
    const Client& client_;
    Firebird::IAttachment* attachment_;
    Firebird::ITransaction* transaction_;
};

} // namespace

FirebirdSession::FirebirdSession(Client client, Owned<Firebird::IAttachment> attachment, int dialect,
                                 bool waitOnLocks)
    : client_(client), dialect_(static_cast<unsigned>(dialect)), waitOnLocks_(waitOnLocks),
      attachment_(std::move(attachment)) {}

Owned<Firebird::ITransaction> FirebirdSession::StartTransaction(bool snapshot) {
    Status status(client_.master, client_.util);
    Owned<Firebird::IXpbBuilder> tpb(
        client_.master, client_.util->getXpbBuilder(&status, Firebird::IXpbBuilder::TPB, nullptr, 0));
    tpb->insertTag(&status, isc_tpb_read);
    if (snapshot) {
        tpb->insertTag(&status, isc_tpb_concurrency);
    } else {
        tpb->insertTag(&status, isc_tpb_read_committed);
        tpb->insertTag(&status, isc_tpb_rec_version);
    }
    tpb->insertTag(&status, waitOnLocks_ ? isc_tpb_wait : isc_tpb_nowait);
    return Owned<Firebird::ITransaction>(
        client_.master,
        attachment_->startTransaction(&status, tpb->getBufferLength(&status), tpb->getBuffer(&status)));
}

ResultSet FirebirdSession::Query(const std::string& sql) {
    if (snapshot_)
        return Run(snapshot_.get(), sql);
    Owned<Firebird::ITransaction> transaction = StartTransaction(false);
    ResultSet result = Run(transaction.get(), sql);
    Status status(client_.master, client_.util);
    transaction->commit(&status);
    transaction.Disown();
    return result;
}

ResultSet FirebirdSession::Run(Firebird::ITransaction* transaction, const std::string& sql) {
    Firebird::IMaster* master = client_.master;
    Status status(master, client_.util);
    Owned<IStatement> statement(
        master, attachment_->prepare(&status, transaction, static_cast<unsigned>(sql.size()), sql.data(),
                                     dialect_, IStatement::PREPARE_PREFETCH_METADATA));
    // The program only reads: anything but a plain SELECT is refused before it runs, whatever the
    // read-only transaction would have made of it.
    const unsigned type = statement->getType(&status);
    if (type != isc_info_sql_stmt_select)
        throw DatabaseError("Statement refused before it ran: this program runs only SELECT statements, and "
                            "this one is " +
                            KindOf(type) + ".");

    Owned<Firebird::IMessageMetadata> metadata(master, statement->getOutputMetadata(&status));
    const std::vector<ColumnLayout> layout = LayoutOf(metadata.get(), master, client_.util);
    ResultSet result;
    result.columns.reserve(layout.size());
    for (unsigned i = 0; i < layout.size(); ++i)
        result.columns.push_back(Column{metadata->getAlias(&status, i)});

    std::vector<unsigned char> message(metadata->getMessageLength(&status));
    TransactionBlobs blobs(client_, attachment_.get(), transaction);
    Owned<Firebird::IResultSet> cursor(
        master, statement->openCursor(&status, transaction, nullptr, nullptr, metadata.get(), 0));
    while (cursor->fetchNext(&status, message.data()) == IStatus::RESULT_OK)
        for (const ColumnLayout& column : layout)
            result.values.push_back(ConvertValue(column, message.data(), blobs));
    cursor->close(&status);
    cursor.Disown();
    statement->free(&status);
    statement.Disown();
    return result;
}

void FirebirdSession::BeginSnapshot() {
    if (snapshotDepth_ == 0)
        snapshot_ = StartTransaction(true);
    ++snapshotDepth_;
}

void FirebirdSession::EndSnapshot() noexcept {
    if (snapshotDepth_ == 0 || --snapshotDepth_ > 0)
        return;
    if (!snapshot_)
        return;
    QuietStatus status(client_.master);
    snapshot_->commit(&status);
    if (status.Failed())
        snapshot_.Reset(); // rolls back, or at least releases
    else
        snapshot_.Disown();
}

void FirebirdSession::Cancel() noexcept {
    QuietStatus status(client_.master);
    attachment_->cancelOperation(&status, fb_cancel_raise);
}

} // namespace lrf::driver
