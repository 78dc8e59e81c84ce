#pragma once
// The lines of the two health statements: each line's code and the CATEC prefixes it takes, all of
// function 10.
#include <span>
#include <string>
#include <string_view>

namespace lrf::health {

struct StatementLine {
    std::string_view code;
    std::span<const std::string_view> patterns; // each tested with LIKE
};

// In branch order: 1.11, 1.12, 1.13, 1.20, 1.30, 2.10, 2.20, 2.30.
std::span<const StatementLine> StatementLines();

// "              (" + the LIKE terms joined by " OR " (a line break of 15 spaces after the second,
// fourth and sixth) + ")" + tail. `alias` is "", "Z." or "D.".
std::string ElementCondition(const StatementLine& line, std::string_view alias, std::string_view tail);

} // namespace lrf::health
