#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

namespace lrf {

// The pieces joined with nothing between them: how the SQL texts and paths are put together.
inline std::string Join(std::initializer_list<std::string_view> pieces) {
    std::string text;
    for (std::string_view piece : pieces)
        text.append(piece);
    return text;
}

} // namespace lrf
