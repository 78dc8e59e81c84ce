#pragma once
#include <optional>
#include <string>
#include <vector>

namespace lrf::sample {

struct Options {
    std::string dir;
    int year = 2024;
    int scale = 1;
};

// The usage text printed with every option error.
extern const char* const kUsage;

// Reads the command line (without the program name). Throws std::invalid_argument with a message
// that names the offending option; returns nullopt for --help.
std::optional<Options> ParseOptions(const std::vector<std::string>& arguments);

} // namespace lrf::sample
