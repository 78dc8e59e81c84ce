#pragma once
// Scratch files, the driver of this build and caught errors: what the database tests share that needs
// no Firebird client.
#include "settings/Installation.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace lrf::test {

inline std::string TmpPath(const std::string& name) {
    return (std::filesystem::path(LRF_TEST_TMP) / name).string();
}

inline std::string DriverPath() {
    return std::string(LRF_BIN_DIR) + "/dbexpida.dll";
}

// `path` is UTF-8.
inline void WriteFile(const std::string& path, const std::string& bytes) {
    const std::filesystem::path file = PathFromUtf8(path);
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// The message the call throws, or "" when it does not throw.
template <typename Call> std::string ErrorOf(Call&& call) {
    try {
        call();
    } catch (const std::exception& error) {
        return error.what();
    }
    return {};
}

} // namespace lrf::test
