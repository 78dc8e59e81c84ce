#pragma once
#include <cstdio>

namespace lrf::cli {

// True when `stream` goes to a terminal (progress lines are shown only there).
bool IsTerminal(std::FILE* stream);

} // namespace lrf::cli
