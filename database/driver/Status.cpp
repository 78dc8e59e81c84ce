#include "database/driver/Status.h"

#include "database/DatabaseError.h"

#include <algorithm>
#include <vector>

namespace lrf::driver {

void Status::checkException(Status* status) {
    if (status->dirty && (status->getState() & Firebird::IStatus::STATE_ERRORS))
        throw DatabaseError(status->Text());
}

std::string Status::Text() const {
    // formatStatus cuts the text to the buffer and gives the length it wrote.
    std::vector<char> buffer(2048);
    for (;;) {
        const unsigned length =
            util_->formatStatus(buffer.data(), static_cast<unsigned>(buffer.size()), status);
        if (length + 1 < buffer.size() || buffer.size() >= 65536) {
            std::string text(buffer.data(), std::min<std::size_t>(length, buffer.size()));
            while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '\0'))
                text.pop_back();
            return text.empty() ? std::string("Firebird reported an error without a message") : text;
        }
        buffer.resize(buffer.size() * 4);
    }
}

} // namespace lrf::driver
