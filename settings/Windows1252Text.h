#pragma once
// Windows-1252, the code page of the settings file and of the database's texts, to and from Unicode.
// The one table of the program: the export layer and the tools convert through these too.
#include <string>
#include <string_view>

namespace lrf {

// The character of a byte; every byte has one. The five bytes the code page leaves undefined (81, 8D, 8F,
// 90, 9D) keep their C1 code points, as Windows maps them, so every byte survives a round trip.
char16_t Windows1252Character(unsigned char byte);

// The byte of a character, or -1 when the code page lacks it.
int Windows1252Byte(char32_t character);

// UTF-8 of Windows-1252 bytes.
std::string Utf8FromWindows1252(std::string_view bytes);

// Windows-1252 bytes of UTF-16 little-endian code units (two bytes each; an odd last byte is dropped).
// A character the code page lacks becomes '?', a surrogate pair one '?', as the ANSI conversion does.
std::string Windows1252FromUtf16Le(std::string_view bytes);

} // namespace lrf
