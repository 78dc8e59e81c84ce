#pragma once
// Windows-1252, the code page of the settings file and of the database's texts, to and from Unicode.
#include <string>
#include <string_view>

namespace lrf {

// UTF-8 of Windows-1252 bytes; every byte has a character.
std::string Utf8FromWindows1252(std::string_view bytes);

// Windows-1252 bytes of UTF-16 little-endian code units (two bytes each; an odd last byte is dropped).
// A character the code page lacks becomes '?', a surrogate pair one '?', as the ANSI conversion does.
std::string Windows1252FromUtf16Le(std::string_view bytes);

} // namespace lrf
