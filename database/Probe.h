#pragma once
#include <string>

namespace lrf {

// True when a throw-away connection opens on `fileName` in the folder of `pathCode`; false on any
// failure, silently, leaving nothing open. Errors of the settings file or the resolver reach the caller.
// When `reason` is given, a failure leaves there the text of the error that stopped the connection (the
// database's own, or the driver's), for whoever tells the operator more than the start-up message.
bool ProbeDatabase(const std::string& fileName, const std::string& pathCode, std::string* reason = nullptr);

} // namespace lrf
