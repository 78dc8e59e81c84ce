#pragma once
// The program's module list: the executable, registered at start, and each package module the
// program loads (the driver), registered by its loader for as long as it stays loaded.
#include "database/PackageInfo.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lrf {

class DynamicLibrary;

struct PackageUnit {
    std::string name;
    unsigned flags = 0;
};

struct PackageInformation {
    unsigned flags = 0;
    std::vector<std::string> requiredPackages; // in stored order
    std::vector<PackageUnit> units;            // in stored order
};

struct ModuleEntry {
    std::string path;                          // UTF-8
    std::string description;                   // empty when the module has none
    std::optional<PackageInformation> package; // nullopt: the module carries no package information
};

// A module's place in the list; the entry goes when its registration does.
class ModuleRegistration {
public:
    ModuleRegistration() = default;
    // `info` may be null or malformed: the module is then listed without package information.
    ModuleRegistration(const std::string& path, const LrfPackageInfo* info);
    ~ModuleRegistration();
    ModuleRegistration(ModuleRegistration&& other) noexcept;
    ModuleRegistration& operator=(ModuleRegistration&& other) noexcept;
    ModuleRegistration(const ModuleRegistration&) = delete;
    ModuleRegistration& operator=(const ModuleRegistration&) = delete;

private:
    void Release() noexcept;
    std::uint64_t id_ = 0;
};

// The running executable, listed with the package information the build wrote into it.
ModuleRegistration RegisterProgram(const LrfPackageInfo* info);
// A module just loaded from `path`: its package information is asked of the module itself.
ModuleRegistration RegisterLoadedModule(const std::string& path, const DynamicLibrary& module);

// The registered modules, in the order they were registered.
std::vector<ModuleEntry> ProgramModules();

} // namespace lrf
