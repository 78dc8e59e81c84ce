#include "database/driver/FirebirdSession.h"

#include "database/DatabaseError.h"
#include "database/driver/ValueConversion.h"

#include <string>
#include <vector>

namespace lrf::driver {

namespace {

using Firebird::IStatement;
using Firebird::IStatus;

// Statements that would end or replace the program's transaction, and with it its read-only
// guarantee, are refused before they run.
bool ControlsTransactions(unsigned statementType) {
    switch (statementType) {
    case isc_info_sql_stmt_start_trans:
    case isc_info_sql_stmt_commit:
    case isc_info_sql_stmt_rollback:
    case isc_info_sql_stmt_savepoint:
        return true;
    default:
        return false;
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
    const unsigned type = statement->getType(&status);
    if (ControlsTransactions(type))
        throw DatabaseError("Transaction statements are not run: this program's transactions are read-only");

    Owned<Firebird::IMessageMetadata> metadata(master, statement->getOutputMetadata(&status));
    const std::vector<ColumnLayout> layout = LayoutOf(metadata.get(), master, client_.util);
    ResultSet result;
    result.columns.reserve(layout.size());
    for (unsigned i = 0; i < layout.size(); ++i)
        result.columns.push_back(Column{metadata->getAlias(&status, i)});

    std::vector<unsigned char> message(metadata->getMessageLength(&status));
    TransactionBlobs blobs(client_, attachment_.get(), transaction);
    const auto keepRow = [&] {
        for (const ColumnLayout& column : layout)
            result.values.push_back(ConvertValue(column, message.data(), blobs));
    };

    if (type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd) {
        Owned<Firebird::IResultSet> cursor(
            master, statement->openCursor(&status, transaction, nullptr, nullptr, metadata.get(), 0));
        while (cursor->fetchNext(&status, message.data()) == IStatus::RESULT_OK)
            keepRow();
        cursor->close(&status);
        cursor.Disown();
    } else {
        // Anything else runs inside the read-only transaction, where Firebird itself refuses writes.
        const bool hasOutput = !layout.empty();
        statement->execute(&status, transaction, nullptr, nullptr, hasOutput ? metadata.get() : nullptr,
                           hasOutput ? message.data() : nullptr);
        if (hasOutput)
            keepRow();
    }
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
