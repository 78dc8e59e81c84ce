#include "settings/Installation.h"

#include "settings/AsciiText.h"
#include "settings/ProfileReader.h"

#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace lrf {

std::filesystem::path PathFromUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string ExecutablePath() {
#ifdef _WIN32
    std::wstring buffer(MAX_PATH, L'\0');
    while (true) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, buffer.data(), static_cast<int>(buffer.size()), nullptr,
                                          0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, buffer.data(), static_cast<int>(buffer.size()), utf8.data(), bytes,
                        nullptr, nullptr);
    return utf8;
#else
    std::string buffer(4096, '\0');
    while (true) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            return {};
        if (static_cast<std::size_t>(length) < buffer.size()) {
            buffer.resize(static_cast<std::size_t>(length));
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
#endif
}

namespace {

std::filesystem::path& SettingsOverride() {
    static std::filesystem::path file;
    return file;
}

constexpr std::string_view kSettingsFileName = "Korv.ini";

} // namespace

std::string ExecutableFolder() {
    const std::string path = ExecutablePath();
    const auto cut = path.find_last_of(kPathSeparator);
    if (cut == std::string::npos)
        return {};
    return path.substr(0, cut + 1);
}

std::optional<std::filesystem::path> FindFileNoCase(const std::filesystem::path& folder,
                                                    std::string_view name) {
    if (name.empty())
        return std::nullopt;
    try {
        std::error_code error;
        const auto exact = folder / PathFromUtf8(name);
        if (std::filesystem::exists(exact, error))
            return exact;
        std::filesystem::directory_iterator entry(folder, error);
        for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
            const std::u8string entryName = entry->path().filename().u8string();
            if (EqualNoCase(
                    std::string_view(reinterpret_cast<const char*>(entryName.data()), entryName.size()),
                    name))
                return entry->path();
        }
    } catch (const std::exception&) {
        // A name the system cannot convert, or no memory: treated as not found.
    }
    return std::nullopt;
}

std::filesystem::path SettingsFilePath() {
    if (!SettingsOverride().empty())
        return SettingsOverride();
    const std::string folder = ExecutableFolder();
    if (auto found = FindFileNoCase(PathFromUtf8(folder), kSettingsFileName))
        return *found;
    return PathFromUtf8(folder + std::string(kSettingsFileName));
}

void UseSettingsFile(const std::filesystem::path& file) {
    SettingsOverride() = file;
}

std::string ReadKorvSetting(std::string_view key, std::string_view defaultValue) {
    return ReadProfileString(SettingsFilePath(), "KORV", key, defaultValue);
}

} // namespace lrf
