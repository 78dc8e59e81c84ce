#pragma once
// The one exception type for database failures; its text is Firebird's own status text.
// Header-only with default visibility, so it crosses the driver module boundary intact.
#include <stdexcept>
#include <string>

namespace lrf {

class DatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace lrf
