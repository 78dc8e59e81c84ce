#pragma once
// ASCII text helpers that never depend on the process's locale: names Windows compares without regard
// to case, blanks around a text, whole numbers.
#include <charconv>
#include <concepts>
#include <optional>
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

// `text` without the characters of `blanks` at either end.
constexpr std::string_view Trimmed(std::string_view text, std::string_view blanks) {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// A decimal whole number and nothing else: an optional sign, then digits, within the range of T.
// Anything more (blanks included), or a value out of range, gives nullopt.
template <std::integral T> std::optional<T> ParseWholeNumber(std::string_view text) {
    // from_chars takes a minus but no plus: a plus is taken here, and must not be followed by a minus.
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('-'))
            return std::nullopt;
    }
    T value{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

} // namespace lrf
