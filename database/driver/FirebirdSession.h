#pragma once
// One Firebird attachment behind the driver's Session interface. It runs SELECT statements only, and
// every transaction it starts is read-only.
#include "database/DriverApi.h"
#include "database/driver/ClientLibrary.h"
#include "database/driver/Handles.h"

namespace lrf::driver {

class FirebirdSession final : public Session {
public:
    FirebirdSession(Client client, Owned<Firebird::IAttachment> attachment, int dialect, bool waitOnLocks);
    ~FirebirdSession() override = default;

    ResultSet Query(const std::string& sql) override;
    void BeginSnapshot() override;
    void EndSnapshot() noexcept override;
    void Cancel() noexcept override;

private:
    Owned<Firebird::ITransaction> StartTransaction(bool snapshot);
    ResultSet Run(Firebird::ITransaction* transaction, const std::string& sql);

    Client client_;
    unsigned dialect_;
    bool waitOnLocks_;
    Owned<Firebird::IAttachment> attachment_;
    // Declared after the attachment so that it is rolled back before the attachment is detached.
    Owned<Firebird::ITransaction> snapshot_;
    int snapshotDepth_ = 0;
};

} // namespace lrf::driver
