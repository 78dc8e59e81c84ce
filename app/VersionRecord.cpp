// Linked into each executable that shows its version; the build passes the four numbers.
#include "app/VersionRecord.h"

#ifndef _WIN32
namespace {
[[gnu::used, gnu::section(".lrf_version")]] const lrf::VersionRecord kFileVersion = {
    {'L', 'R', 'F', 'V', 'E', 'R', '0', '1'},
    (std::uint32_t{LRF_VERSION_MAJOR} << 16) | std::uint32_t{LRF_VERSION_MINOR},
    (std::uint32_t{LRF_VERSION_RELEASE} << 16) | std::uint32_t{LRF_VERSION_BUILD},
};
} // namespace
#endif
