#pragma once
// A folder of this fuzzing process's own, for the targets that read files.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace lrf::fuzz {

inline const std::filesystem::path& ScratchFolder() {
    static const std::filesystem::path folder = [] {
        auto path = std::filesystem::temp_directory_path() / ("lrf-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(ScratchFolder(), ignored);
        });
        return path;
    }();
    return folder;
}

inline std::filesystem::path WriteScratchFile(std::string_view name, std::string_view bytes) {
    const auto file = ScratchFolder() / name;
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), std::streamsize(bytes.size()));
    return file;
}

// Stops the run with the input that broke the property.
#define LRF_FUZZ_ASSERT(condition)                                                                           \
    do {                                                                                                     \
        if (!(condition))                                                                                    \
            __builtin_trap();                                                                                \
    } while (false)

} // namespace lrf::fuzz
