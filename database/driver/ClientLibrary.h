#pragma once
// The Firebird client library a connection goes through, loaded by the name the settings give.
#include <firebird/Interface.h>

#include <string>

namespace lrf::driver {

struct Client {
    Firebird::IMaster* master = nullptr;
    Firebird::IUtil* util = nullptr;
};

// The file to load for `vendorLib`: "gds32.DLL" (any case) or nothing names this platform's Firebird
// client; any other name is loaded as given.
std::string ClientLibraryFile(const std::string& vendorLib);

// Loads the client library and takes its master interface. The library then stays in the process:
// it starts threads and exit handlers of its own. Throws lrf::DatabaseError naming the library.
Client LoadClient(const std::string& vendorLib);

} // namespace lrf::driver
