#pragma once
// The file version as the executable carries it outside Windows: a fixed record in its own ELF section,
// holding the same two 32-bit words as a Windows version resource.
#include <cstdint>

namespace lrf {

struct VersionRecord {
    char magic[8];
    std::uint32_t fileVersionMS; // major << 16 | minor
    std::uint32_t fileVersionLS; // release << 16 | build
};

inline constexpr char kVersionRecordMagic[8] = {'L', 'R', 'F', 'V', 'E', 'R', '0', '1'};
inline constexpr const char* kVersionSectionName = ".lrf_version";

} // namespace lrf
