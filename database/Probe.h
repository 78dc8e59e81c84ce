#pragma once
#include <string>

namespace lrf {

// True when a throw-away connection opens on `fileName` in the folder of `pathCode`; false on any
// failure, silently, leaving nothing open. Errors of the settings file or the resolver reach the caller.
// On failure `reason`, when given, receives the error's text (a database held by another program says so).
bool ProbeDatabase(const std::string& fileName, const std::string& pathCode, std::string* reason = nullptr);

} // namespace lrf
