#pragma once
// A shared library loaded at run time (dlopen / LoadLibrary), unloaded when its owner goes.
#include <string>

namespace lrf {

class DynamicLibrary {
public:
    DynamicLibrary() = default;
    ~DynamicLibrary();
    DynamicLibrary(DynamicLibrary&& other) noexcept;
    DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // Loads `path` (a bare name is searched the platform's way). On failure the result is not
    // loaded and `error` holds the system's reason.
    static DynamicLibrary Load(const std::string& path, std::string& error);

    bool Loaded() const { return handle_ != nullptr; }
    // The exported symbol `name`, or nullptr.
    void* Symbol(const char* name) const;
    // Keeps the library in the process after this owner is gone: for libraries that start threads
    // of their own or register exit handlers, which must not outlive their code.
    void Pin() noexcept { handle_ = nullptr; }

private:
    explicit DynamicLibrary(void* handle) : handle_(handle) {}
    void Unload() noexcept;
    void* handle_ = nullptr;
};

} // namespace lrf
