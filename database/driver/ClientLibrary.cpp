#include "database/driver/ClientLibrary.h"

#include "database/DatabaseError.h"
#include "database/DynamicLibrary.h"
#include "settings/AsciiText.h"

#include <algorithm>
#include <cctype>

namespace lrf::driver {

namespace {

#ifdef _WIN32
constexpr const char* kPlatformClient = "gds32.DLL";
#else
constexpr const char* kPlatformClient = "libfbclient.so.2";
#endif

} // namespace

std::string ClientLibraryFile(const std::string& vendorLib) {
    if (vendorLib.empty() || EqualNoCase(vendorLib, "gds32.DLL"))
        return kPlatformClient;
    return vendorLib;
}

Client LoadClient(const std::string& vendorLib) {
    const std::string file = ClientLibraryFile(vendorLib);
    std::string reason;
    DynamicLibrary library = DynamicLibrary::Load(file, reason);
    if (!library.Loaded())
        throw DatabaseError("Cannot load the client library \"" + file + "\": " + reason);

    using MasterEntry = Firebird::IMaster* (*)();
    const auto entry = reinterpret_cast<MasterEntry>(library.Symbol("fb_get_master_interface"));
    if (!entry)
        throw DatabaseError("The client library \"" + file +
                            "\" is not a Firebird 3 client: it has no fb_get_master_interface");
    Client client;
    client.master = entry();
    if (!client.master)
        throw DatabaseError("The client library \"" + file + "\" gave no master interface");
    client.util = client.master->getUtilInterface();
    library.Pin();
    return client;
}

} // namespace lrf::driver
