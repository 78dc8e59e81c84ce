#include "settings/Windows1252Text.h"

#include <array>

namespace lrf {
namespace {

// The characters of bytes 0x80 to 0x9F; the other bytes stand for the Unicode character of their value.
constexpr std::array<char16_t, 32> k80To9F = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                              0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                              0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                              0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

char16_t Windows1252Character(unsigned char byte) {
    return (byte >= 0x80 && byte <= 0x9F) ? k80To9F[static_cast<std::size_t>(byte - 0x80)] : char16_t{byte};
}

int Windows1252Byte(char32_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return static_cast<int>(character);
    for (std::size_t i = 0; i < k80To9F.size(); ++i)
        if (k80To9F[i] == character)
            return static_cast<int>(0x80 + i);
    return -1;
}

std::string Utf8FromWindows1252(std::string_view bytes) {
    std::string utf8;
    utf8.reserve(bytes.size());
    for (const char byte : bytes) {
        const char16_t c = Windows1252Character(static_cast<unsigned char>(byte));
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else if (c < 0x800) {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            utf8 += static_cast<char>(0xE0 | (c >> 12));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

std::string Windows1252FromUtf16Le(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto c = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                             static_cast<unsigned char>(bytes[i + 1]) << 8);
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        if (high && i + 3 < bytes.size()) {
            const auto next = static_cast<char16_t>(static_cast<unsigned char>(bytes[i + 2]) |
                                                    static_cast<unsigned char>(bytes[i + 3]) << 8);
            if (next >= 0xDC00 && next <= 0xDFFF)
                i += 2;
        }
        const int b = (c >= 0xD800 && c <= 0xDFFF) ? -1 : Windows1252Byte(c);
        text += b < 0 ? '?' : static_cast<char>(b);
    }
    return text;
}

} // namespace lrf
