#include "Windows1252.h"

#include <stdexcept>

namespace lrf::sample {

std::string Windows1252FromUtf8(std::string_view utf8) {
    std::string bytes;
    bytes.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            bytes += static_cast<char>(lead);
            continue;
        }
        // Two-byte sequences C2 xx and C3 xx are U+0080..U+00FF; 0x80..0x9F differ in Windows-1252.
        const bool latin1 = (lead == 0xC2 || lead == 0xC3) && i + 1 < utf8.size() &&
                            (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80;
        const unsigned code =
            latin1 ? ((lead & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu) : 0;
        if (code < 0xA0)
            throw std::invalid_argument("text has a character outside Latin-1: " + std::string(utf8));
        bytes += static_cast<char>(code);
        ++i;
    }
    return bytes;
}

} // namespace lrf::sample
