#pragma once
#include <stdexcept>

namespace lrf {

// An error of the export run itself (a date or number that cannot be read); its text is UTF-8.
class ExportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace lrf
