#include "database/ModuleList.h"

#include "database/DynamicLibrary.h"
#include "settings/Installation.h"

#include <algorithm>
#include <mutex>
#include <utility>

namespace lrf {

namespace {

struct Registered {
    std::uint64_t id;
    ModuleEntry entry;
};

struct Registry {
    std::mutex mutex;
    std::uint64_t lastId = 0;
    std::vector<Registered> modules;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

std::string TextOf(const char* text) {
    return text ? std::string(text) : std::string();
}

// The module's table is copied: the entry must not point into a module that may be unloaded.
std::optional<PackageInformation> CopyOf(const LrfPackageInfo* info) {
    if (!info || info->version != kLrfPackageInfoVersion)
        return std::nullopt;
    if ((info->requiredCount && !info->requiredPackages) || (info->unitCount && !info->units))
        return std::nullopt;
    PackageInformation package;
    package.flags = info->flags;
    for (std::size_t i = 0; i < info->requiredCount; ++i)
        package.requiredPackages.push_back(TextOf(info->requiredPackages[i]));
    for (std::size_t i = 0; i < info->unitCount; ++i)
        package.units.push_back({TextOf(info->units[i].name), info->units[i].flags});
    return package;
}

} // namespace

ModuleRegistration::ModuleRegistration(const std::string& path, const LrfPackageInfo* info) {
    ModuleEntry entry;
    entry.path = path;
    entry.package = CopyOf(info);
    if (entry.package)
        entry.description = TextOf(info->description);
    Registry& registry = TheRegistry();
    const std::lock_guard lock(registry.mutex);
    id_ = ++registry.lastId;
    registry.modules.push_back({id_, std::move(entry)});
}

ModuleRegistration::~ModuleRegistration() {
    Release();
}

ModuleRegistration::ModuleRegistration(ModuleRegistration&& other) noexcept
    : id_(std::exchange(other.id_, 0)) {}

ModuleRegistration& ModuleRegistration::operator=(ModuleRegistration&& other) noexcept {
    if (this != &other) {
        Release();
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

void ModuleRegistration::Release() noexcept {
    if (!id_)
        return;
    Registry& registry = TheRegistry();
    const std::lock_guard lock(registry.mutex);
    std::erase_if(registry.modules, [this](const Registered& module) { return module.id == id_; });
    id_ = 0;
}

ModuleRegistration RegisterProgram(const LrfPackageInfo* info) {
    return {ExecutablePath(), info};
}

ModuleRegistration RegisterLoadedModule(const std::string& path, const DynamicLibrary& module) {
    const auto entry = reinterpret_cast<LrfPackageInfoEntry>(module.Symbol(kLrfPackageInfoEntry));
    return {path, entry ? entry() : nullptr};
}

std::vector<ModuleEntry> ProgramModules() {
    Registry& registry = TheRegistry();
    const std::lock_guard lock(registry.mutex);
    std::vector<ModuleEntry> result;
    result.reserve(registry.modules.size());
    for (const Registered& module : registry.modules)
        result.push_back(module.entry);
    return result;
}

} // namespace lrf
