// The driver module's entry point: attaches Firebird databases through the client library the
// connection names.
#include "database/DatabaseError.h"
#include "database/DriverApi.h"
#include "database/driver/ClientLibrary.h"
#include "database/driver/FirebirdSession.h"
#include "database/driver/Handles.h"

namespace lrf::driver {

namespace {

void RequireNoNul(const std::string& value, const char* what) {
    if (value.find('\0') != std::string::npos)
        throw DatabaseError(std::string("The ") + what + " holds a NUL character");
}

class FirebirdDriver final : public Driver {
public:
    std::unique_ptr<Session> Connect(const ConnectParams& params) override {
        RequireNoNul(params.database, "database name");
        RequireNoNul(params.user, "user name");
        RequireNoNul(params.password, "password");
        RequireNoNul(params.role, "role name");
        RequireNoNul(params.charset, "character set name");
        if (params.dialect < 1 || params.dialect > 3)
            throw DatabaseError("SQL dialect " + std::to_string(params.dialect) + " is not supported");
        if (params.database.empty())
            throw DatabaseError("No database name given");

        const Client client = LoadClient(params.vendorLib);
        Status status(client.master, client.util);
        Owned<Firebird::IXpbBuilder> dpb(
            client.master, client.util->getXpbBuilder(&status, Firebird::IXpbBuilder::DPB, nullptr, 0));
        dpb->insertString(&status, isc_dpb_user_name, params.user.c_str());
        dpb->insertString(&status, isc_dpb_password, params.password.c_str());
        if (!params.role.empty())
            dpb->insertString(&status, isc_dpb_sql_role_name, params.role.c_str());
        // Without lc_ctype the attachment's character set is NONE: text comes back as stored.
        if (!params.charset.empty())
            dpb->insertString(&status, isc_dpb_lc_ctype, params.charset.c_str());
        dpb->insertInt(&status, isc_dpb_sql_dialect, params.dialect);

        Owned<Firebird::IProvider> provider(client.master, client.master->getDispatcher());
        Owned<Firebird::IAttachment> attachment(
            client.master, provider->attachDatabase(&status, params.database.c_str(),
                                                    dpb->getBufferLength(&status), dpb->getBuffer(&status)));
        return std::make_unique<FirebirdSession>(client, std::move(attachment), params.dialect,
                                                 params.waitOnLocks);
    }
};

} // namespace

} // namespace lrf::driver

extern "C" lrf::driver::Driver* getSQLDriverInterBase() {
    static lrf::driver::FirebirdDriver driver;
    return &driver;
}
