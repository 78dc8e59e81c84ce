#pragma once
// Scratch files and folders for the settings tests, under the build's test folder.
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace lrf::test {

// An empty folder LRF_TEST_TMP/<name>, emptied first if an earlier run left it.
inline std::filesystem::path FreshFolder(const std::string& name) {
    const std::filesystem::path folder = std::filesystem::path(LRF_TEST_TMP) / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

inline void WriteBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace lrf::test
