#include "Windows1252.h"

#include "settings/Windows1252Text.h"

#include <stdexcept>

namespace lrf::sample {

std::string Windows1252FromUtf8(std::string_view utf8) {
    std::string bytes;
    bytes.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        // Windows-1252 has only characters of the first plane: one to three UTF-8 bytes.
        const std::size_t length = lead < 0x80             ? 1
                                   : (lead & 0xE0) == 0xC0 ? 2
                                   : (lead & 0xF0) == 0xE0 ? 3
                                                           : 0;
        char32_t code = length == 1 ? lead : length == 2 ? lead & 0x1Fu : lead & 0x0Fu;
        bool valid = length > 0 && i + length <= utf8.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = code << 6 | (next & 0x3Fu);
        }
        const int byte = valid ? Windows1252Byte(code) : -1;
        if (byte < 0)
            throw std::invalid_argument("text has a character outside Windows-1252: " + std::string(utf8));
        bytes += static_cast<char>(byte);
        i += length;
    }
    return bytes;
}

} // namespace lrf::sample
