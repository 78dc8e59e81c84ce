#pragma once
// Text helpers for names that Windows compares without regard to case: ASCII folding only, so the
// result never depends on the process's locale.
#include <string>
#include <string_view>

namespace lrf {

constexpr char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string AsciiUpper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        c = AsciiUpper(c);
    return upper;
}

constexpr bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
            return false;
    return true;
}

} // namespace lrf
