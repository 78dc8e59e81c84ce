#include "database/DynamicLibrary.h"

#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace lrf {

namespace {

#ifdef _WIN32
std::string LastErrorText() {
    const DWORD code = GetLastError();
    char* text = nullptr;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result = length ? std::string(text, length) : "error " + std::to_string(code);
    LocalFree(text);
    while (!result.empty() && (result.back() == '\r' || result.back() == '\n' || result.back() == ' '))
        result.pop_back();
    return result;
}

void* OpenLibrary(const std::string& path, std::string& error) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), wide.data(), size);
    HMODULE module = LoadLibraryW(wide.c_str());
    if (!module)
        error = LastErrorText();
    return reinterpret_cast<void*>(module);
}

void* FindSymbol(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

void CloseLibrary(void* handle) {
    FreeLibrary(static_cast<HMODULE>(handle));
}
#else
void* OpenLibrary(const std::string& path, std::string& error) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* reason = dlerror();
        error = reason ? reason : "unknown error";
    }
    return handle;
}

void* FindSymbol(void* handle, const char* name) {
    return dlsym(handle, name);
}

void CloseLibrary(void* handle) {
    dlclose(handle);
}
#endif

} // namespace

DynamicLibrary DynamicLibrary::Load(const std::string& path, std::string& error) {
    error.clear();
    if (path.empty()) {
        error = "no library name given";
        return DynamicLibrary();
    }
    if (path.find('\0') != std::string::npos) {
        error = "the library name holds a NUL character";
        return DynamicLibrary();
    }
    return DynamicLibrary(OpenLibrary(path, error));
}

DynamicLibrary::~DynamicLibrary() {
    Unload();
}

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)) {}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
    if (this != &other) {
        Unload();
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

void* DynamicLibrary::Symbol(const char* name) const {
    return handle_ ? FindSymbol(handle_, name) : nullptr;
}

void DynamicLibrary::Unload() noexcept {
    if (handle_)
        CloseLibrary(std::exchange(handle_, nullptr));
}

} // namespace lrf
